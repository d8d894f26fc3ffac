#include "Kelvari/Common/cKelvariFonts.h"

#include <QFontDatabase>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRawFont>
#include <QScopedPointer>
#include <QtEndian>
#include <QtTest>

class tst_cKelvariFonts : public QObject
{
    Q_OBJECT

private slots:
    void tableListsTheCodesInTheOrderTheUserSees();
    void everyFontFileLoadsWithItsWeight_data();
    void everyFontFileLoadsWithItsWeight();
};

void tst_cKelvariFonts::tableListsTheCodesInTheOrderTheUserSees()
{
    const QStringList expected{"amaticsc", "andada",    "anticsans",   "belgrano",   "blackhansans", "breeserif",
                               "crimsontext", "encodesans", "exo2",     "fjordone",   "glegoo",       "ibmplexmono",
                               "koho",     "lato",       "martelsans", "mina",       "poiretone",    "shadowsintolight"};
    QCOMPARE(cKelvariFonts::mFontCodesToNames.keys(), expected);
    QCOMPARE(cKelvariFonts::mFontCodesToNames.value("koho"), QString("Ko-Ho"));
    QCOMPARE(cKelvariFonts::mFontCodesToNames.value(cKelvariFonts::mDefaultFontCode), QString("Lato"));
    for (const char* unknown : {"lato-bold", "Lato", ""})
        QCOMPARE(cKelvariFonts::mFontCodesToNames.value(unknown), QString());
}

// Every code of the table plus the bold Lato used at start-up.
void tst_cKelvariFonts::everyFontFileLoadsWithItsWeight_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("weight");
    const QStringList codes = cKelvariFonts::mFontCodesToNames.keys() << QStringLiteral("lato-bold");
    for (const QString& code : codes)
    {
        int weight = 400;
        if (code == "exo2" || code == "lato-bold")
            weight = 700;
        else if (code == "crimsontext" || code == "martelsans")
            weight = 600;
        QTest::newRow(qPrintable(code)) << code << weight;
    }
}

void tst_cKelvariFonts::everyFontFileLoadsWithItsWeight()
{
    QFETCH(QString, code);
    QFETCH(int, weight);
    const int id = QFontDatabase::addApplicationFont(":/" + code);
    QVERIFY2(id >= 0, qPrintable(code));
    QVERIFY(!QFontDatabase::applicationFontFamilies(id).isEmpty());

    const QRawFont font(":/" + code, 12);
    QVERIFY(font.isValid());
    QCOMPARE(font.style(), QFont::StyleNormal);
    // The weight class of the file's OS/2 table (a big-endian word at offset 4) tells semi-bold from bold.
    const QByteArray os2 = font.fontTable("OS/2");
    QVERIFY(os2.size() >= 6);
    QCOMPARE(qFromBigEndian<quint16>(os2.constData() + 4), quint16(weight));

    // Widget items load their font by "qrc:/" and the code, and use the name the loader reports.
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
