#include "support/cTraceCapture.h"

#include <QProcess>
#include <QtTest>

#include <cstdio>

// Checks that run in a child process of this program, whose log the test reads.
class cCapturingChecks : public QObject
{
    Q_OBJECT

private slots:
    void failsWhileCapturing()
    {
        cTraceCapture capture;
        std::printf("trace before the check\n");
        QCOMPARE(capture.Lines().size(), 2);
    }
    void failsInsideAnAction()
    {
        cTraceCapture::Of([] {
            std::printf("trace before the check\n");
            QVERIFY2(false, "the action's check");
        });
    }
    void passesWhileCapturing()
    {
        cTraceCapture capture;
        std::printf("trace before the check\n");
        QCOMPARE(capture.Lines().size(), 1);
    }
};

class tst_TraceCapture : public QObject
{
    Q_OBJECT

private slots:
    void aFailedCheckIsLoggedWithWhatWasCaptured_data()
    {
        QTest::addColumn<QString>("check");
        QTest::addColumn<bool>("fails");
        QTest::newRow("compared while capturing") << "failsWhileCapturing" << true;
        QTest::newRow("verified inside an action") << "failsInsideAnAction" << true;
        QTest::newRow("passed") << "passesWhileCapturing" << false;
    }

    // The log is the child's standard output, where QTest reports and traces are written.
    void aFailedCheckIsLoggedWithWhatWasCaptured()
    {
        QFETCH(QString, check);
        QFETCH(bool, fails);
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), {"--child", check});
        QVERIFY(child.waitForFinished(30000));
        const QString log = QString::fromUtf8(child.readAllStandardOutput());
        QCOMPARE(child.exitCode(), fails ? 1 : 0);
        QCOMPARE(log.count("FAIL!  : cCapturingChecks::" + check + "()"), fails ? 1 : 0);
        QCOMPARE(log.count("trace before the check"), fails ? 1 : 0);
        QCOMPARE(log.count("PASS   : cCapturingChecks::" + check + "()"), fails ? 0 : 1);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 2 && qstrcmp(argv[1], "--child") == 0)
    {
        cCapturingChecks checks;
        return QTest::qExec(&checks, {argv[0], argv[2]});
    }
    tst_TraceCapture test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_TraceCapture.moc"
