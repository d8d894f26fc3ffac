#include "cPropertySignalLog.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFloatProperty.h"
#include "Kelvari/Common/cFontProperty.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cIntProperty.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cResourceNotifier.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTextBlockProperty.h"

#include <QtTest>
#include <limits>

namespace
{
// Stands in for the config document: it only counts the id-change calls.
class cCountingResourceNotifier : public cResourceNotifier
{
public:
    void ImageResourceIdChanged() override { ++mIdChanges; }
    int mIdChanges = 0;
};

// One property of each kind, with a value different from its initial one.
cProperty* MakeProperty(const QString& kind, const cResourceNotifier& config, QObject* parent)
{
    if (kind == "int")
        return new cIntProperty("I", 3, parent, 0, 10);
    if (kind == "tabs")
        return new cNumberOfTabsProperty("Number of tabs", 4, parent);
    if (kind == "float")
        return new cFloatProperty("F", 1.5f, parent, 0, 2);
    if (kind == "size")
        return new cSizeFractionProperty("S", 0.25f, parent, 0, 1);
    if (kind == "string")
        return new cStringProperty("Str", "abc", parent, true);
    if (kind == "textblock")
        return new cTextBlockProperty("Text", "line", parent, true);
    if (kind == "combo")
        return new cComboProperty("Align", 0, {"Left", "Center", "Right"}, parent);
    if (kind == "image")
        return new cImageProperty("Image", config, parent);
    if (kind == "colour")
        return new cColourProperty("Colour", QColor("white"), parent, true);
    return new cFontProperty("Font", "lato", parent, true);
}
}

class tst_cProperty : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { qDeleteAll(mOwner.children()); }
    void aChangeAnnouncesItselfWhileTheOldValueIsStored_data();
    void aChangeAnnouncesItselfWhileTheOldValueIsStored();
    void numberOfTabsExposesTheComingValueBeforeTheChange();
    void unconvertibleVariantKeepsTheStoredValue_data();
    void unconvertibleVariantKeepsTheStoredValue();
    void nonFiniteFloatIsRefused_data();
    void nonFiniteFloatIsRefused();
    void textForms_data();
    void textForms();
    void colourTexts_data();
    void colourTexts();
    void updateComboValuesSignalOrder_data();
    void updateComboValuesSignalOrder();
    void imagePropertyFollowsItsOwnResourceOnly();
    void visibilityChangeIsSignalledOnce();

private:
    cCountingResourceNotifier mConfig;
    QObject mOwner;
};

void tst_cProperty::aChangeAnnouncesItselfWhileTheOldValueIsStored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("newValue");
    QTest::newRow("int") << "int" << QVariant(7);
    QTest::newRow("tabs") << "tabs" << QVariant(2);
    QTest::newRow("float") << "float" << QVariant(0.75f);
    QTest::newRow("size") << "size" << QVariant(0.5f);
    QTest::newRow("string") << "string" << QVariant("xyz");
    QTest::newRow("textblock") << "textblock" << QVariant("two\nlines");
    QTest::newRow("combo") << "combo" << QVariant(2);
    QTest::newRow("colour") << "colour" << QVariant(QColor(Qt::red));
    QTest::newRow("image") << "image" << QVariant("12");
    QTest::newRow("font") << "font" << QVariant("exo2");
}

void tst_cProperty::aChangeAnnouncesItselfWhileTheOldValueIsStored()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, newValue);
    cProperty* property = MakeProperty(kind, mConfig, &mOwner);
    const QVariant oldValue = property->value();
    QVariant seenDuringAnnouncement;
    connect(property, &cProperty::ValueAboutToChange, [&] { seenDuringAnnouncement = property->value(); });
    cPropertySignalLog log(property);

    property->setValue(oldValue);
    property->setStringValue(property->stringValue());
    QCOMPARE(log.Signals(), QStringList());
    property->setValue(newValue);

    QCOMPARE(log.Signals(), cPropertySignalLog::Change());
    QCOMPARE(seenDuringAnnouncement, oldValue);
    QCOMPARE(property->value(), newValue);
}

void tst_cProperty::numberOfTabsExposesTheComingValueBeforeTheChange()
{
    cNumberOfTabsProperty tabs("Number of tabs", 4, &mOwner);
    int oldSeen = 0;
    int comingSeen = 0;
    connect(&tabs, &cProperty::ValueAboutToChange, [&] {
        oldSeen = tabs.IntValue();
        comingSeen = tabs.ComingValue();
    });
    tabs.setValue(6);
    QCOMPARE(oldSeen, 4);
    QCOMPARE(comingSeen, 6);
}

void tst_cProperty::unconvertibleVariantKeepsTheStoredValue_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("trace");
    QTest::newRow("int") << "int" << "ERROR: Error setting property int\t";
    QTest::newRow("size") << "size" << "ERROR: Error setting property float\t";
    QTest::newRow("combo") << "combo" << "ERROR: Error setting property combo int\t";
}

void tst_cProperty::unconvertibleVariantKeepsTheStoredValue()
{
    QFETCH(QString, kind);
    QFETCH(QString, trace);
    cProperty* property = MakeProperty(kind, mConfig, &mOwner);
    const QVariant before = property->value();
    cPropertySignalLog log(property);

    cTraceCapture capture;
    property->setValue(QVariant("not a number"));
    const QStringList lines = capture.Lines();
    property->setStringValue("1");

    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().startsWith(trace), qPrintable(lines.first()));
    QCOMPARE(property->value(), before);
    QCOMPARE(log.Signals(), QStringList());
}

void tst_cProperty::nonFiniteFloatIsRefused_data()
{
    QTest::addColumn<float>("value");
    QTest::newRow("nan") << std::numeric_limits<float>::quiet_NaN();
    QTest::newRow("-inf") << -std::numeric_limits<float>::infinity();
}

void tst_cProperty::nonFiniteFloatIsRefused()
{
    QFETCH(float, value);
    cFloatProperty property("F", 1.5f, &mOwner, 0, 2);
    cPropertySignalLog log(&property);

    cTraceCapture capture;
    property.setFloatValue(value);
    property.setValue(QVariant(value));
    property.setValue(QVariant(QString::number(value)));

    QCOMPARE(capture.LinesContaining("ERROR: Error setting property float").size(), 3);
    QCOMPARE(property.FloatValue(), 1.5f);
    QCOMPARE(log.Signals(), QStringList());
}

void tst_cProperty::textForms_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("float rounded") << "float" << QVariant(0.12345f) << "0.1235";
    QTest::newRow("float tiny negative") << "float" << QVariant(-0.00001f) << "0";
    QTest::newRow("size third") << "size" << QVariant(0.33333f) << "33.33";
    QTest::newRow("size tiny") << "size" << QVariant(0.0001f) << "0.01";
    QTest::newRow("combo index") << "combo" << QVariant(1) << "Center";
    QTest::newRow("combo outside") << "combo" << QVariant(5) << "";
    QTest::newRow("colour half red") << "colour" << QVariant(QColor(255, 0, 0, 128)) << "#80ff0000";
}

void tst_cProperty::textForms()
{
    QFETCH(QString, kind);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    cProperty* property = MakeProperty(kind, mConfig, &mOwner);
    property->setValue(value);
    QCOMPARE(property->stringValue(), text);
}

void tst_cProperty::colourTexts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("stored");
    QTest::newRow("unknown name is ignored") << "notacolour" << "#ffffff";
    QTest::newRow("same colour by name") << "white" << "#ffffff";
    QTest::newRow("svg keyword") << "darkgrey" << "#a9a9a9";
    QTest::newRow("8 digits") << "#800000ff" << "#800000ff";
    QTest::newRow("12 digits") << "#ffff00000000" << "#ff0000";
}

void tst_cProperty::colourTexts()
{
    QFETCH(QString, text);
    QFETCH(QString, stored);
    cColourProperty colour("Colour", QColor("white"), &mOwner, true);
    cPropertySignalLog log(&colour);
    cTraceCapture capture;

    colour.setStringValue(text);
    colour.setValue(QVariant(text));

    QCOMPARE(colour.stringValue(), stored);
    QCOMPARE(log.Signals(), stored == "#ffffff" ? QStringList() : cPropertySignalLog::Change());
    QCOMPARE(capture.Lines(), QStringList());
}

void tst_cProperty::updateComboValuesSignalOrder_data()
{
    QTest::addColumn<QStringList>("choices");
    QTest::addColumn<int>("index");
    QTest::addColumn<QStringList>("expected");
    const QStringList current = {"Left", "Center", "Right"};
    const QStringList other = {"A", "B", "C", "D"};
    QTest::newRow("same list, same index") << current << 1 << QStringList();
    QTest::newRow("same list, new index") << current << 2 << cPropertySignalLog::Change();
    QTest::newRow("new list, same index")
        << other << 1 << QStringList{"ValueAboutToChange", "comboValuesChanged", "valueChanged"};
    QTest::newRow("new list, new index")
        << other << 3
        << QStringList{"ValueAboutToChange", "comboValuesChanged", "ValueAboutToChange", "valueChanged"};
}

void tst_cProperty::updateComboValuesSignalOrder()
{
    QFETCH(QStringList, choices);
    QFETCH(int, index);
    QFETCH(QStringList, expected);
    cComboProperty combo("Align", 1, {"Left", "Center", "Right"}, &mOwner);
    cPropertySignalLog log(&combo);

    combo.UpdateComboValues(choices, index);

    QCOMPARE(log.Signals(), expected);
    QCOMPARE(combo.comboValues(), choices);
    QCOMPARE(combo.IntValue(), index);
}

void tst_cProperty::imagePropertyFollowsItsOwnResourceOnly()
{
    cImageProperty image("Image", mConfig, &mOwner);
    const int before = mConfig.mIdChanges;
    image.setStringValue("7");
    image.setStringValue("7");
    QCOMPARE(mConfig.mIdChanges, before + 1);
    QSignalSpy imageChanged(&image, &cImageProperty::ImageChanged);

    emit mConfig.ResourceInserted("8");
    emit mConfig.ResourceChanged("8");
    QCOMPARE(imageChanged.count(), 0);
    emit mConfig.ResourceInserted("7");
    emit mConfig.ResourceRemoved("7");
    emit mConfig.ResourceChanged("7");
    QCOMPARE(imageChanged.count(), 3);
}

void tst_cProperty::visibilityChangeIsSignalledOnce()
{
    cIntProperty property("I", 0, &mOwner, 0, 1);
    cPropertySignalLog log(&property);
    property.setVisible(true);
    property.setVisible(false);
    property.setVisible(false);
    QCOMPARE(log.Signals(), QStringList{"visibleChanged(0)"});
}

QTEST_GUILESS_MAIN(tst_cProperty)
#include "tst_cProperty.moc"
