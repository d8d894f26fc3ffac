#include "support/cTraceCapture.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFontProperty.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"

#include <QQuickItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>
#include <memory>

namespace
{
QString WriteElement(const cWidget& widget)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    widget.WriteXml(writer);
    return xml;
}

std::unique_ptr<QXmlStreamReader> ReaderOn(const QString& xml)
{
    auto reader = std::make_unique<QXmlStreamReader>(xml);
    reader->readNextStartElement();
    return reader;
}

QList<QPair<QString, QString>> Attributes(const QString& xml)
{
    QList<QPair<QString, QString>> result;
    const auto reader = ReaderOn(xml);
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
        result << qMakePair(attribute.name().toString(), attribute.value().toString());
    return result;
}

void LoadFrom(cWidget& widget, const QString& xml)
{
    const auto reader = ReaderOn(xml);
    widget.LoadAttributes(*reader);
}
}

class tst_cTextWidget : public QObject
{
    Q_OBJECT

private slots:
    void newTextWidgetListsItsPropertiesInEditorOrder();
    void newTextWidgetWritesItsDefaults();
    void textBlockIsAStringOfItsOwnType();
    void alignmentChoicePushesTheQmlFlag_data();
    void alignmentChoicePushesTheQmlFlag();
    void alignmentCodeIsReadFromTheElement_data();
    void alignmentCodeIsReadFromTheElement();
    void radiusRoundTripsAndShowsAsPercentage();
    void multiLineTextRoundTrips();
    void everyAttributeRoundTrips();
    void badAttributesKeepSoundValues();
    void registeringAnItemPushesEveryValueIntoAllItems();
    void propertyChangesReachEveryItem();
};

void tst_cTextWidget::newTextWidgetListsItsPropertiesInEditorOrder()
{
    cTextWidget widget(1, nullptr);
    QStringList names;
    for (const cProperty* property : widget.GetProperties())
        names << property->name();
    QCOMPARE(names, QStringList({"X", "Y", "Width", "Height", "Z", "Radius", "Text", "Align", "Font", "Text Colour",
                                 "Background Colour"}));
    QCOMPARE(widget.GetType(), QString("text"));
    QCOMPARE(widget.GetAlignmentProperty()->comboValues(), QStringList({"Left", "Center", "Right"}));
    QCOMPARE(widget.GetRadiusProperty()->HighBound(), 1.0f);
    QCOMPARE(widget.GetBackgroundColourProperty()->ColourValue(), QColor(255, 255, 255, 0));
    for (const cProperty* property : widget.GetProperties())
        QCOMPARE(property->parent(), &widget);
}

void tst_cTextWidget::newTextWidgetWritesItsDefaults()
{
    cTextWidget widget(4, nullptr);
    const QList<QPair<QString, QString>> expected = {
        {"id", "4"},           {"type", "text"},           {"x", "-1"},
        {"y", "-1"},           {"width", "-1"},            {"height", "-1"},
        {"z", "0"},            {"text", "Text..."},        {"textColour", "#000000"},
        {"textAlignment", "left"}, {"textFont", "lato"},   {"backgroundColour", "#00ffffff"},
        {"radius", "0"}};
    QCOMPARE(Attributes(WriteElement(widget)), expected);
}

void tst_cTextWidget::textBlockIsAStringOfItsOwnType()
{
    cTextWidget widget(1, nullptr);
    cTextBlockProperty* text = widget.GetTextProperty();
    QCOMPARE(text->type(), cProperty::TextBlock);
    QVERIFY(text->editable());
    QSignalSpy changed(text, &cProperty::valueChanged);
    text->setValue(QVariant("Hello"));
    QCOMPARE(text->stringValue(), QString("Hello"));
    QCOMPARE(changed.count(), 1);
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
    QTest::newRow("center") << "center" << 1 << 0;
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
    LoadFrom(widget, QString("<Widget textAlignment=\"%1\"/>").arg(code));

    QCOMPARE(widget.GetAlignmentProperty()->IntValue(), index);
    QCOMPARE(capture.LinesContaining(QString("ERROR: Property 'Align' has unknown code '%1'").arg(code)).size(),
             traces);
}

void tst_cTextWidget::radiusRoundTripsAndShowsAsPercentage()
{
    cTextWidget original(1, nullptr);
    original.GetRadiusProperty()->setFloatValue(0.25f);
    QCOMPARE(original.GetRadiusProperty()->stringValue(), QString("25"));
    const QString xml = WriteElement(original);
    QCOMPARE(ReaderOn(xml)->attributes().value("radius").toString(), QString("0.25"));

    cTextWidget copy(1, nullptr);
    LoadFrom(copy, xml);
    QCOMPARE(copy.GetRadiusProperty()->FloatValue(), 0.25f);
}

void tst_cTextWidget::multiLineTextRoundTrips()
{
    const QString text = "first line\nsecond line\r\n\tthird & <last>";
    cTextWidget original(1, nullptr);
    original.GetTextProperty()->setStringValue(text);
    const QString xml = WriteElement(original);
    QVERIFY(!xml.contains('\n'));

    cTextWidget copy(1, nullptr);
    LoadFrom(copy, xml);
    QCOMPARE(copy.GetTextProperty()->stringValue(), text);
}

void tst_cTextWidget::everyAttributeRoundTrips()
{
    cTextWidget original(6, nullptr);
    original.setXFraction(0.1f);
    original.GetTextProperty()->setStringValue("Level");
    original.GetTextColourProperty()->setStringValue("#80ff0000");
    original.GetAlignmentProperty()->setIntValue(1);
    original.GetFontProperty()->setStringValue("exo2");
    original.GetBackgroundColourProperty()->setStringValue("darkgrey");
    original.GetRadiusProperty()->setFloatValue(0.5f);

    cTextWidget copy(6, nullptr);
    LoadFrom(copy, WriteElement(original));

    QCOMPARE(Attributes(WriteElement(copy)), Attributes(WriteElement(original)));
    QCOMPARE(copy.GetTextColourProperty()->ColourValue(), QColor(255, 0, 0, 128));
    QCOMPARE(copy.GetFontProperty()->stringValue(), QString("exo2"));
}

void tst_cTextWidget::badAttributesKeepSoundValues()
{
    cTextWidget widget(1, nullptr);
    widget.GetRadiusProperty()->setFloatValue(0.3f);

    cTraceCapture capture;
    LoadFrom(widget, "<Widget radius=\"round\" textColour=\"nocolour\" backgroundColour=\"#12\" Text=\"ignored\"/>");

    QCOMPARE(widget.GetRadiusProperty()->FloatValue(), 0.0f);
    QCOMPARE(widget.GetTextColourProperty()->stringValue(), QString("#000000"));
    QCOMPARE(widget.GetBackgroundColourProperty()->stringValue(), QString("#00ffffff"));
    QCOMPARE(widget.GetTextProperty()->stringValue(), QString("Text..."));
    QCOMPARE(capture.Lines(), QStringList());
}

void tst_cTextWidget::registeringAnItemPushesEveryValueIntoAllItems()
{
    cTextWidget widget(1, nullptr);
    QQuickItem first;
    QQuickItem second;
    widget.setQQuickItem(&first, true);
    first.setProperty("text", "stale");
    widget.GetRadiusProperty()->setFloatValue(0.2f);

    widget.setQQuickItem(&second, false);

    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("text").toString(), QString("Text..."));
        QCOMPARE(item->property("textColour").value<QColor>(), QColor("#000000"));
        QCOMPARE(item->property("textAlignment").toInt(), 1);
        QCOMPARE(item->property("textFont").toString(), QString("lato"));
        QCOMPARE(item->property("backgroundColour").value<QColor>(), QColor(255, 255, 255, 0));
        QCOMPARE(item->property("cornerRadius").toFloat(), 0.2f);
    }
}

void tst_cTextWidget::propertyChangesReachEveryItem()
{
    cTextWidget widget(1, nullptr);
    QQuickItem first;
    QQuickItem second;
    widget.setQQuickItem(&first, true);
    widget.setQQuickItem(&second, false);

    widget.GetTextProperty()->setStringValue("Mix");
    widget.GetFontProperty()->setStringValue("mina");
    widget.GetTextColourProperty()->setStringValue("red");
    widget.GetBackgroundColourProperty()->setStringValue("#336699");

    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("text").toString(), QString("Mix"));
        QCOMPARE(item->property("textFont").toString(), QString("mina"));
        QCOMPARE(item->property("textColour").value<QColor>(), QColor(Qt::red));
        QCOMPARE(item->property("backgroundColour").value<QColor>(), QColor("#336699"));
    }
}

QTEST_MAIN(tst_cTextWidget)
#include "tst_cTextWidget.moc"
