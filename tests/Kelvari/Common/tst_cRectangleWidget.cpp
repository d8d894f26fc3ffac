#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cSizeFractionProperty.h"

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
}

class tst_cRectangleWidget : public QObject
{
    Q_OBJECT

private slots:
    void newRectangleListsRadiusThenColour();
    void newRectangleWritesItsDefaultsAfterTheBase();
    void attributesRoundTrip();
    void badAttributesKeepSoundValues();
    void valuesArePushedIntoEveryItem();
};

void tst_cRectangleWidget::newRectangleListsRadiusThenColour()
{
    cRectangleWidget widget(1, nullptr);
    QStringList names;
    for (const cProperty* property : widget.GetProperties())
        names << property->name();
    QCOMPARE(names, QStringList({"X", "Y", "Width", "Height", "Z", "Radius", "Colour"}));
    QCOMPARE(widget.GetType(), QString("rect"));
    QCOMPARE(widget.GetColourProperty()->ColourValue(), QColor(0, 0, 0));
    QCOMPARE(widget.GetRadiusProperty()->LowBound(), 0.0f);
}

void tst_cRectangleWidget::newRectangleWritesItsDefaultsAfterTheBase()
{
    cRectangleWidget widget(2, nullptr);
    QCOMPARE(WriteElement(widget), QString("<Widget id=\"2\" type=\"rect\" x=\"-1\" y=\"-1\" width=\"-1\" "
                                           "height=\"-1\" z=\"0\" colour=\"#000000\" radius=\"0\"/>"));
}

void tst_cRectangleWidget::attributesRoundTrip()
{
    cRectangleWidget original(3, nullptr);
    original.GetColourProperty()->setStringValue("red");
    original.GetRadiusProperty()->setFloatValue(0.5f);
    original.setWidthFraction(0.2f);

    cRectangleWidget copy(3, nullptr);
    copy.LoadAttributes(*ReaderOn(WriteElement(original)));

    QCOMPARE(copy.GetColourProperty()->stringValue(), QString("#ff0000"));
    QCOMPARE(copy.GetRadiusProperty()->FloatValue(), 0.5f);
    QCOMPARE(copy.widthFraction(), 0.2f);
}

void tst_cRectangleWidget::badAttributesKeepSoundValues()
{
    cRectangleWidget widget(1, nullptr);
    widget.GetRadiusProperty()->setFloatValue(0.4f);
    widget.LoadAttributes(*ReaderOn("<Widget colour=\"notacolour\" radius=\"x\"/>"));
    QCOMPARE(widget.GetColourProperty()->stringValue(), QString("#000000"));
    QCOMPARE(widget.GetRadiusProperty()->FloatValue(), 0.0f);
}

void tst_cRectangleWidget::valuesArePushedIntoEveryItem()
{
    cRectangleWidget widget(1, nullptr);
    QQuickItem first;
    QQuickItem second;
    widget.setQQuickItem(&first, true);
    widget.GetColourProperty()->setStringValue("#80336699");
    widget.setQQuickItem(&second, false);
    widget.GetRadiusProperty()->setFloatValue(0.5f);

    for (QQuickItem* item : {&first, &second})
    {
        QCOMPARE(item->property("colour").value<QColor>(), QColor("#80336699"));
        QCOMPARE(item->property("cornerRadius").toFloat(), 0.5f);
    }
}

QTEST_MAIN(tst_cRectangleWidget)
#include "tst_cRectangleWidget.moc"
