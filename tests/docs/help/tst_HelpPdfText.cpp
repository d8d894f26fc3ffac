#include <QProcess>
#include <QtTest>

// The help PDF's text layer can be searched and copied: whole words come back out of it, also where the
// font has ligatures (tt, ft, fi). The guide says what the test window does with network-bound widgets.
class tst_HelpPdfText : public QObject
{
    Q_OBJECT

private slots:
    void wordsComeBackWhole()
    {
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral(KELVARI_HELP_PDF), QStringLiteral("-")});
        QVERIFY2(pdftotext.waitForFinished(20000), "pdftotext (poppler-utils) did not run");
        QCOMPARE(pdftotext.exitCode(), 0);
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        for (const char* words : {"button", "Shift", "fills", "Ctrl+Shift+S", "F1", "disabled"})
            QVERIFY2(text.contains(QLatin1String(words)), words);
    }
};

QTEST_MAIN(tst_HelpPdfText)
#include "tst_HelpPdfText.moc"
