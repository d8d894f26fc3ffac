#include "ZRNet/Core/DebugTrace.h"
#include "support/cTraceCapture.h"

#include <QRegularExpression>
#include <QtTest>

#include <thread>
#include <vector>

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

enum eKind
{
    eError,
    eNotification,
    eHistory,
    ePlain,
    eDiagnostic,
};

void tst_DebugTrace::eachKindWritesItsExactLine_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QStringList>("lines");
    const QString tail = QStringLiteral("value abc 7\t(file:///src/Unit.cpp:42:)");
    QTest::newRow("error") << int(eError) << QStringList{"ERROR: " + tail};
    QTest::newRow("notification") << int(eNotification) << QStringList{"Notification: " + tail};
    QTest::newRow("history") << int(eHistory) << QStringList{"History: " + tail};
    QTest::newRow("plain") << int(ePlain) << QStringList{tail};
    QTest::newRow("diagnostic is silent") << int(eDiagnostic) << QStringList();
}

void tst_DebugTrace::eachKindWritesItsExactLine()
{
    QFETCH(int, kind);
    QFETCH(QStringList, lines);
    cTraceCapture capture;
    const char* file = "src/Unit.cpp";
    const char* function = "void cUnit::Run(int)";
    switch (kind)
    {
    case eError:
        DebugErrTrace(file, 42, function, "value %s %d", "abc", 7);
        break;
    case eNotification:
        DebugNotifTrace(file, 42, function, "value %s %d", "abc", 7);
        break;
    case eHistory:
        DebugHistoryTrace(file, 42, function, "value %s %d", "abc", 7);
        break;
    case eDiagnostic:
        DebugDiagnosticTrace(file, 42, function, "value %s %d", "abc", 7);
        break;
    default:
        DebugTrace(file, 42, function, "value %s %d", "abc", 7);
        break;
    }
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
    const std::string longText(600, 'y');
    DebugNotifTrace("f.cpp", 1, "f", "%s", longText.c_str());
    // 511 characters and the terminating NUL fill the 512-byte buffer.
    QCOMPARE(capture.Lines(),
             QStringList{"Notification: " + QString(511, 'y') + "\t(file:///f.cpp:1:)"});
}

void tst_DebugTrace::linesFromSeveralThreadsAreNotInterleaved()
{
    constexpr int kThreads = 4;
    constexpr int kLinesEach = 300;
    cTraceCapture capture;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
    {
        threads.emplace_back([t] {
            const std::string filler(200, char('a' + t));
            for (int i = 0; i < kLinesEach; ++i)
                DebugErrTrace("t.cpp", t, "f", "%d %s %d", t, filler.c_str(), i);
        });
    }
    for (std::thread& thread : threads)
        thread.join();

    const QStringList lines = capture.Lines();
    QCOMPARE(lines.size(), kThreads * kLinesEach);
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
