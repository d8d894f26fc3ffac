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
    void alignmentChoicePushesTheQmlFlag_data();
    void alignmentChoicePushesTheQmlFlag();
    void alignmentCodeIsReadFromTheElement_data();
    void alignmentCodeIsReadFromTheElement();
    void everyAttributeRoundTrips();
    void badAttributesKeepSoundValues();
    void valuesReachEveryItem();
};

void tst_cTextWidget::newTextWidgetWritesItsDefaultsInOrder()
{
    cTextWidget widget(4, nullptr);
    QCOMPARE(PropertyNames(widget), QStringList({"X", "Y", "Width", "Height", "Z", "Radius", "Text", "Align", "Font",
                                                 "Text Colour", "Background Colour"}));
    QCOMPARE(widget.GetTextProperty()->type(), cProperty::TextBlock);
    QCOMPARE(XmlAttributes(WriteWidgetXml(widget)),
             QStringList({"id=4", "type=text", "x=-1", "y=-1", "width=-1", "height=-1", "z=0", "text=Text...",
                          "textColour=#000000", "textAlignment=left", "textFont=lato",
                          "backgroundColour=#00ffffff", "radius=0"}));
}

void tst_cTextWidget::alignmentChoicePushesTheQmlFlag_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("flag");
    QTest::newRow("Center") << 1 << 4;
    QTest::newRow("Right") << 2 << 2;
    QTest::newRow("Left") << 0 << 1;
    QTest::newRow("outside the choices") << 7 << 4;
}

void tst_cTextWidget::alignmentChoicePushesTheQmlFlag()
{
    QFETCH(int, index);
    QFETCH(int, flag);
    cTextWidget widget(1, nullptr);
    widget.GetAlignmentProperty()->setIntValue(2 - index % 3);
    QQuickItem item;
    widget.setQQuickItem(&item, true);

    widget.GetAlignmentProperty()->setValue(index);

    QCOMPARE(item.property("textAlignment").toInt(), flag);
}

void tst_cTextWidget::alignmentCodeIsReadFromTheElement_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("traces");
    QTest::newRow("right") << "right" << 2 << 0;
    QTest::newRow("unknown") << "justify" << 0 << 1;
}

void tst_cTextWidget::alignmentCodeIsReadFromTheElement()
{
    QFETCH(QString, code);
    QFETCH(int, index);
    QFETCH(int, traces);
    cTextWidget widget(1, nullptr);
    widget.GetAlignmentProperty()->setIntValue(1);

    cTraceCapture capture;
    widget.LoadAttributes(*XmlReaderOn(QString("<Widget textAlignment=\"%1\"/>").arg(code)));

    QCOMPARE(widget.GetAlignmentProperty()->IntValue(), index);
    QCOMPARE(capture.LinesContaining(QString("ERROR: Property 'Align' has unknown code '%1'").arg(code)).size(),
             traces);
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
    QCOMPARE(original.GetRadiusProperty()->stringValue(), QString("25"));
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

void tst_cTextWidget::valuesReachEveryItem()
{
    cTextWidget widget(1, nullptr);
    QQuickItem first;
    QQuickItem second;
    widget.setQQuickItem(&first, true);
    first.setProperty("text", "stale");
    widget.GetRadiusProperty()->setFloatValue(0.2f);

    // Registering an item pushes every value into all items.
    widget.setQQuickItem(&second, false);
    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("text").toString(), QString("Text..."));
        QCOMPARE(item->property("textAlignment").toInt(), 1);
        QCOMPARE(item->property("textFont").toString(), QString("lato"));
        QCOMPARE(item->property("backgroundColour").value<QColor>(), QColor(255, 255, 255, 0));
        QCOMPARE(item->property("cornerRadius").toFloat(), 0.2f);
    }

    widget.GetTextProperty()->setStringValue("Mix");
    widget.GetFontProperty()->setStringValue("mina");
    widget.GetTextColourProperty()->setStringValue("red");
    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("text").toString(), QString("Mix"));
        QCOMPARE(item->property("textFont").toString(), QString("mina"));
        QCOMPARE(item->property("textColour").value<QColor>(), QColor(Qt::red));
    }
}

QTEST_MAIN(tst_cTextWidget)
#include "tst_cTextWidget.moc"
