#include "support/WidgetXml.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFontProperty.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"

#include <QQuickItem>
#include <QtTest>

class tst_cTextWidget : public QObject
{
    Q_OBJECT

private slots:
    void newTextWidgetWritesItsDefaultsInOrder();
    void everyAttributeRoundTrips();
    void badAttributesKeepSoundValues();
    void valuesReachEveryItem();
};

void tst_cTextWidget::newTextWidgetWritesItsDefaultsInOrder()
{
    cTextWidget widget(4, nullptr);
    QCOMPARE(PropertyNames(widget), QStringList({"X", "Y", "Width", "Height", "Z", "Radius", "Text", "Align", "Font",
                                                 "Text Colour", "Background Colour"}));
    QCOMPARE(XmlAttributes(WriteWidgetXml(widget)),
             QStringList({"id=4", "type=text", "x=-1", "y=-1", "width=-1", "height=-1", "z=0", "text=Text...",
                          "textColour=#000000", "textAlignment=left", "textFont=lato",
                          "backgroundColour=#00ffffff", "radius=0"}));
}

void tst_cTextWidget::everyAttributeRoundTrips()
{
    const QString text = "first line\nsecond line\r\n\tthird & <last>";
    cTextWidget original(6, nullptr);
    original.GetTextProperty()->setStringValue(text);
    original.GetTextColourProperty()->setStringValue("#80ff0000");
    original.GetAlignmentProperty()->setIntValue(1);
    original.GetFontProperty()->setStringValue("exo2");
    original.GetBackgroundColourProperty()->setStringValue("darkgrey");
    original.GetRadiusProperty()->setFloatValue(0.25f);
    const QString xml = WriteWidgetXml(original);
    QVERIFY(!xml.contains('\n'));
    QVERIFY(XmlAttributes(xml).contains("radius=0.25"));

    cTextWidget copy(6, nullptr);
    copy.LoadAttributes(*XmlReaderOn(xml));
    QCOMPARE(WriteWidgetXml(copy), xml);
    QCOMPARE(copy.GetTextProperty()->stringValue(), text);
    QCOMPARE(copy.GetTextColourProperty()->ColourValue(), QColor(255, 0, 0, 128));
}

void tst_cTextWidget::badAttributesKeepSoundValues()
{
    cTextWidget widget(1, nullptr);
    widget.GetRadiusProperty()->setFloatValue(0.3f);

    cTraceCapture capture;
    widget.LoadAttributes(*XmlReaderOn(
        "<Widget radius=\"round\" textColour=\"nocolour\" backgroundColour=\"#12\" Text=\"ignored\"/>"));

    QCOMPARE(widget.GetRadiusProperty()->FloatValue(), 0.0f);
    QCOMPARE(widget.GetTextColourProperty()->stringValue(), QString("#000000"));
    QCOMPARE(widget.GetBackgroundColourProperty()->stringValue(), QString("#00ffffff"));
    QCOMPARE(widget.GetTextProperty()->stringValue(), QString("Text..."));
    QCOMPARE(capture.Lines(), QStringList());
}

// Registering an item pushes every value into all items; later changes reach them all.
void tst_cTextWidget::valuesReachEveryItem()
{
    cTextWidget widget(1, nullptr);
    QQuickItem first, second;
    widget.setQQuickItem(&first, true);
    first.setProperty("text", "stale");
    widget.GetRadiusProperty()->setFloatValue(0.2f);
    widget.setQQuickItem(&second, false);
    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("text").toString(), QString("Text..."));
        QCOMPARE(item->property("textFont").toString(), QString("lato"));
        QCOMPARE(item->property("cornerRadius").toFloat(), 0.2f);
    }

    widget.GetAlignmentProperty()->setValue(7);
    widget.GetFontProperty()->setStringValue("mina");
    for (QQuickItem* item : {&first, &second})
    {
        // A choice outside the list centres the text.
        QCOMPARE(item->property("textAlignment").toInt(), 4);
        QCOMPARE(item->property("textFont").toString(), QString("mina"));
    }
}

QTEST_MAIN(tst_cTextWidget)
#include "tst_cTextWidget.moc"
