#include <QProcess>
#include <QtTest>

// The help PDF's text layer can be searched and copied: whole words come
// back out of it, also where the font has ligatures (tt, ft, fi).
class tst_HelpPdfText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wordsComeBackWhole_data();
    void wordsComeBackWhole();

private:
    QString mText;
};

void tst_HelpPdfText::initTestCase()
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral(KELVARI_HELP_PDF), QStringLiteral("-")});
    QVERIFY2(pdftotext.waitForFinished(20000), "pdftotext (poppler-utils) did not run");
    QCOMPARE(pdftotext.exitCode(), 0);
    mText = QString::fromUtf8(pdftotext.readAllStandardOutput());
}

void tst_HelpPdfText::wordsComeBackWhole_data()
{
    QTest::addColumn<QString>("words");
    QTest::newRow("tt") << "button";
    QTest::newRow("ft") << "Shift";
    QTest::newRow("fi") << "fills";
    QTest::newRow("save as") << "Ctrl+Shift+S";
    QTest::newRow("help key") << "F1";
}

void tst_HelpPdfText::wordsComeBackWhole()
{
    QFETCH(QString, words);
    QVERIFY2(mText.contains(words), qPrintable(words));
}

QTEST_MAIN(tst_HelpPdfText)
#include "tst_HelpPdfText.moc"
