#include "support/WidgetXml.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cSizeFractionProperty.h"

#include <QQuickItem>
#include <QtTest>

class tst_cRectangleWidget : public QObject
{
    Q_OBJECT

private slots:
    void attributesRoundTripAfterTheBase();
    void badAttributesKeepSoundValues();
    void valuesArePushedIntoEveryItem();
};

void tst_cRectangleWidget::attributesRoundTripAfterTheBase()
{
    cRectangleWidget original(2, nullptr);
    QCOMPARE(PropertyNames(original), QStringList({"X", "Y", "Width", "Height", "Z", "Radius", "Colour"}));
    QCOMPARE(WriteWidgetXml(original), QString("<Widget id=\"2\" type=\"rect\" x=\"-1\" y=\"-1\" width=\"-1\" "
                                               "height=\"-1\" z=\"0\" colour=\"#000000\" radius=\"0\"/>"));
    original.GetColourProperty()->setStringValue("red");
    original.GetRadiusProperty()->setFloatValue(0.5f);

    cRectangleWidget copy(2, nullptr);
    copy.LoadAttributes(*XmlReaderOn(WriteWidgetXml(original)));
    QCOMPARE(copy.GetColourProperty()->stringValue(), QString("#ff0000"));
    QCOMPARE(copy.GetRadiusProperty()->FloatValue(), 0.5f);
}

void tst_cRectangleWidget::badAttributesKeepSoundValues()
{
    cRectangleWidget widget(1, nullptr);
    widget.GetRadiusProperty()->setFloatValue(0.4f);
    widget.LoadAttributes(*XmlReaderOn("<Widget colour=\"notacolour\" radius=\"x\"/>"));
    QCOMPARE(widget.GetColourProperty()->stringValue(), QString("#000000"));
    QCOMPARE(widget.GetRadiusProperty()->FloatValue(), 0.0f);
}

// An item registered after a change gets the current values, and later changes reach both.
void tst_cRectangleWidget::valuesArePushedIntoEveryItem()
{
    cRectangleWidget widget(1, nullptr);
    QQuickItem first, second;
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
