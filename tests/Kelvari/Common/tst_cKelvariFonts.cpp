#include "Kelvari/Common/cKelvariFonts.h"

#include <QFontDatabase>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QRawFont>
#include <QtEndian>
#include <QtTest>
#include <memory>

class tst_cKelvariFonts : public QObject
{
    Q_OBJECT

private slots:
    void tableListsTheCodesInTheOrderTheUserSees()
    {
        QCOMPARE(cKelvariFonts::mFontCodesToNames.keys(),
                 QStringList({"amaticsc", "andada", "anticsans", "belgrano", "blackhansans", "breeserif", "crimsontext",
                              "encodesans", "exo2", "fjordone", "glegoo", "ibmplexmono", "koho", "lato", "martelsans", "mina",
                              "poiretone", "shadowsintolight"}));
        QCOMPARE(cKelvariFonts::mFontCodesToNames.value("koho"), QString("Ko-Ho"));
        QCOMPARE(cKelvariFonts::mFontCodesToNames.value(cKelvariFonts::mDefaultFontCode), QString("Lato"));
        for (const char* unknown : {"lato-bold", "Lato", ""})
            QCOMPARE(cKelvariFonts::mFontCodesToNames.value(unknown), QString());
    }
    // Every code of the table plus the bold Lato used at start-up.
    void everyFontFileLoadsWithItsWeight_data()
    {
        QTest::addColumn<QString>("code");
        QTest::addColumn<int>("weight");
        const QMap<QString, int> weights = {{"exo2", 700}, {"lato-bold", 700}, {"crimsontext", 600}, {"martelsans", 600}};
        const QStringList codes = cKelvariFonts::mFontCodesToNames.keys() << QStringLiteral("lato-bold");
        for (const QString& code : codes)
            QTest::newRow(qPrintable(code)) << code << weights.value(code, 400);
    }
    void everyFontFileLoadsWithItsWeight()
    {
        QFETCH(QString, code);
        const int id = QFontDatabase::addApplicationFont(":/" + code);
        QVERIFY2(id >= 0 && !QFontDatabase::applicationFontFamilies(id).isEmpty(), qPrintable(code));
        const QRawFont font(":/" + code, 12);
        QVERIFY(font.isValid());
        QCOMPARE(font.style(), QFont::StyleNormal);
        // The weight class of the file's OS/2 table (a big-endian word at offset 4) tells semi-bold from bold.
        const QByteArray os2 = font.fontTable("OS/2");
        QVERIFY(os2.size() >= 6);
        QTEST(int(qFromBigEndian<quint16>(os2.constData() + 4)), "weight");
        // Widget items load their font by "qrc:/" and the code, and use the name the loader reports.
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick 2.12\nFontLoader { source: \"qrc:/" + code.toUtf8() + "\" }", QUrl());
        std::unique_ptr<QObject> loader(component.create());
        QVERIFY2(loader, qPrintable(component.errorString()));
        QTRY_COMPARE(loader->property("status").toInt(), 1);
        QVERIFY(!loader->property("name").toString().isEmpty());
    }
};

QTEST_MAIN(tst_cKelvariFonts)
#include "tst_cKelvariFonts.moc"
