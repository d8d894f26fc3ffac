#include "ZRNet/Core/DebugTrace.h"
#include "support/cTraceCapture.h"

#include <QRegularExpression>
#include <QtTest>

#include <thread>
#include <vector>

// Wrapped, since clang refuses a bare function pointer as a meta type.
struct sTraceFunction
{
    void (*mTrace)(const char*, int, const char*, const char*, ...);
};
Q_DECLARE_METATYPE(sTraceFunction)

class tst_DebugTrace : public QObject
{
    Q_OBJECT

private slots:
    void eachKindWritesItsExactLine_data();
    void eachKindWritesItsExactLine();
    void macrosGiveTheCallersLocation();
    void textIsCutAt512Bytes();
    void linesFromSeveralThreadsAreNotInterleaved();
};

void tst_DebugTrace::eachKindWritesItsExactLine_data()
{
    QTest::addColumn<sTraceFunction>("trace");
    QTest::addColumn<QStringList>("lines");
    const QString tail = QStringLiteral("value abc 7\t(file:///src/Unit.cpp:42:)");
    QTest::newRow("error") << sTraceFunction{&DebugErrTrace} << QStringList{"ERROR: " + tail};
    QTest::newRow("notification") << sTraceFunction{&DebugNotifTrace} << QStringList{"Notification: " + tail};
    QTest::newRow("history") << sTraceFunction{&DebugHistoryTrace} << QStringList{"History: " + tail};
    QTest::newRow("plain") << sTraceFunction{&DebugTrace} << QStringList{tail};
    QTest::newRow("diagnostic is silent") << sTraceFunction{&DebugDiagnosticTrace} << QStringList();
}

void tst_DebugTrace::eachKindWritesItsExactLine()
{
    QFETCH(sTraceFunction, trace);
    QFETCH(QStringList, lines);
    cTraceCapture capture;
    trace.mTrace("src/Unit.cpp", 42, "void cUnit::Run(int)", "value %s %d", "abc", 7);
    QCOMPARE(capture.Lines(), lines);
}

void tst_DebugTrace::macrosGiveTheCallersLocation()
{
    cTraceCapture capture;
    const int line = __LINE__ + 1;
    ZR_ERROR("Must be called on main thread");
    QCOMPARE(capture.Lines(), QStringList{QStringLiteral("ERROR: Must be called on main thread\t(file:///%1:%2:)")
                                              .arg(QString::fromUtf8(__FILE__))
                                              .arg(line)});
}

void tst_DebugTrace::textIsCutAt512Bytes()
{
    cTraceCapture capture;
    DebugNotifTrace("f.cpp", 1, "f", "%s", std::string(600, 'y').c_str());
    // 511 characters and the terminating NUL fill the 512-byte buffer.
    QCOMPARE(capture.Lines(), QStringList{"Notification: " + QString(511, 'y') + "\t(file:///f.cpp:1:)"});
}

void tst_DebugTrace::linesFromSeveralThreadsAreNotInterleaved()
{
    cTraceCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
    {
        threads.emplace_back([t] {
            const std::string filler(200, char('a' + t));
            for (int i = 0; i < 300; ++i)
                DebugErrTrace("t.cpp", t, "f", "%d %s %d", t, filler.c_str(), i);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const QStringList lines = capture.Lines();
    QCOMPARE(lines.size(), 4 * 300);
    const QRegularExpression pattern("^ERROR: (\\d) ([a-d])\\2{199} \\d+\\t\\(file:///t\\.cpp:\\1:\\)$");
    for (const QString& line : lines)
    {
        const QRegularExpressionMatch match = pattern.match(line);
        QVERIFY2(match.hasMatch(), qPrintable(line));
        QCOMPARE(match.captured(2).at(0).unicode() - 'a', match.captured(1).toInt());
    }
}

QTEST_GUILESS_MAIN(tst_DebugTrace)
#include "tst_DebugTrace.moc"
