#include "Kelvari/Common/cKelvariFonts.h"

#include <QFontDatabase>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRawFont>
#include <QScopedPointer>
#include <QUrl>
#include <QtEndian>
#include <QtTest>

class tst_cKelvariFonts : public QObject
{
    Q_OBJECT

private slots:
    void everyCodeNamesItsFamily_data();
    void everyCodeNamesItsFamily();
    void codesComeInTheOrderTheUserSees();
    void unknownCodesHaveNoName_data();
    void unknownCodesHaveNoName();
    void theDefaultCodeIsLato();

    void everyFontFileLoads_data();
    void everyFontFileLoads();
    void everyFontFileCarriesItsStyle_data();
    void everyFontFileCarriesItsStyle();
    void everyFontFileLoadsInAQmlFontLoader_data();
    void everyFontFileLoadsInAQmlFontLoader();
};

namespace
{
// Every code of the table plus the bold Lato used at start-up.
QStringList FontFiles()
{
    return cKelvariFonts::mFontCodesToNames.keys() << QStringLiteral("lato-bold");
}
}

void tst_cKelvariFonts::everyCodeNamesItsFamily_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::newRow("lato") << "lato" << "Lato";
    QTest::newRow("andada") << "andada" << "Andada";
    QTest::newRow("belgrano") << "belgrano" << "Belgrano";
    QTest::newRow("breeserif") << "breeserif" << "Bree Serif";
    QTest::newRow("encodesans") << "encodesans" << "Encode Sans";
    QTest::newRow("exo2") << "exo2" << "Exo 2";
    QTest::newRow("fjordone") << "fjordone" << "Fjord One";
    QTest::newRow("glegoo") << "glegoo" << "Glegoo";
    QTest::newRow("martelsans") << "martelsans" << "Martel Sans";
    QTest::newRow("mina") << "mina" << "Mina";
    QTest::newRow("crimsontext") << "crimsontext" << "Crimson Text";
    QTest::newRow("ibmplexmono") << "ibmplexmono" << "IBM Plex Mono";
    QTest::newRow("koho") << "koho" << "Ko-Ho";
    QTest::newRow("shadowsintolight") << "shadowsintolight" << "Shadows Into Light";
    QTest::newRow("poiretone") << "poiretone" << "Poiret One";
    QTest::newRow("blackhansans") << "blackhansans" << "Black Han Sans";
    QTest::newRow("anticsans") << "anticsans" << "Antic Sans";
    QTest::newRow("amaticsc") << "amaticsc" << "Amatic SC";
}

void tst_cKelvariFonts::everyCodeNamesItsFamily()
{
    QFETCH(QString, code);
    QFETCH(QString, name);
    QCOMPARE(cKelvariFonts::mFontCodesToNames.value(code), name);
}

void tst_cKelvariFonts::codesComeInTheOrderTheUserSees()
{
    const QStringList expected{"amaticsc", "andada",    "anticsans",   "belgrano",   "blackhansans", "breeserif",
                               "crimsontext", "encodesans", "exo2",     "fjordone",   "glegoo",       "ibmplexmono",
                               "koho",     "lato",       "martelsans", "mina",       "poiretone",    "shadowsintolight"};
    QCOMPARE(cKelvariFonts::mFontCodesToNames.keys(), expected);
}

void tst_cKelvariFonts::unknownCodesHaveNoName_data()
{
    QTest::addColumn<QString>("code");
    QTest::newRow("bold Lato file") << "lato-bold";
    QTest::newRow("family name") << "Lato";
    QTest::newRow("unknown") << "comicsans";
    QTest::newRow("empty") << "";
}

void tst_cKelvariFonts::unknownCodesHaveNoName()
{
    QFETCH(QString, code);
    QVERIFY(!cKelvariFonts::mFontCodesToNames.contains(code));
    QCOMPARE(cKelvariFonts::mFontCodesToNames.value(code), QString());
}

void tst_cKelvariFonts::theDefaultCodeIsLato()
{
    QCOMPARE(cKelvariFonts::mDefaultFontCode, QString("lato"));
    QVERIFY(cKelvariFonts::mFontCodesToNames.contains(cKelvariFonts::mDefaultFontCode));
}

void tst_cKelvariFonts::everyFontFileLoads_data()
{
    QTest::addColumn<QString>("code");
    for (const QString& code : FontFiles())
        QTest::newRow(qPrintable(code)) << code;
}

void tst_cKelvariFonts::everyFontFileLoads()
{
    QFETCH(QString, code);
    const int id = QFontDatabase::addApplicationFont(":/" + code);
    QVERIFY2(id >= 0, qPrintable(code));
    QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());
}

void tst_cKelvariFonts::everyFontFileCarriesItsStyle_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("weight");
    for (const QString& code : FontFiles())
    {
        int weight = 400;
        if (code == "exo2" || code == "lato-bold")
            weight = 700;
        else if (code == "crimsontext" || code == "martelsans")
            weight = 600;
        QTest::newRow(qPrintable(code)) << code << weight;
    }
}

void tst_cKelvariFonts::everyFontFileCarriesItsStyle()
{
    QFETCH(QString, code);
    QFETCH(int, weight);
    const QRawFont font(":/" + code, 12);
    QVERIFY(font.isValid());
    QCOMPARE(font.style(), QFont::StyleNormal);
    // The weight class of the file's OS/2 table (a big-endian word at offset 4) tells semi-bold from bold.
    const QByteArray os2 = font.fontTable("OS/2");
    QVERIFY(os2.size() >= 6);
    QCOMPARE(qFromBigEndian<quint16>(os2.constData() + 4), quint16(weight));
}

void tst_cKelvariFonts::everyFontFileLoadsInAQmlFontLoader_data()
{
    everyFontFileLoads_data();
}

// Widget items load their font by "qrc:/" and the code, and set their text in the name the loader reports.
void tst_cKelvariFonts::everyFontFileLoadsInAQmlFontLoader()
{
    QFETCH(QString, code);
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.12\nFontLoader { source: \"qrc:/" + code.toUtf8() + "\" }", QUrl());
    QScopedPointer<QObject> loader(component.create());
    QVERIFY2(loader, qPrintable(component.errorString()));
    QTRY_COMPARE(loader->property("status").toInt(), 1);
    QVERIFY(!loader->property("name").toString().isEmpty());
}

QTEST_MAIN(tst_cKelvariFonts)
#include "tst_cKelvariFonts.moc"
