#include "support/WidgetXml.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cSizeFractionProperty.h"

#include <QQuickItem>
#include <QtTest>

class tst_cWidget : public QObject
{
    Q_OBJECT

private slots:
    void newWidgetIsUnplacedWithAHiddenZ();
    void fractionSettersRunTheProtocolWithoutClamping();
    void editorItemComesFirstAndDestroyedItemsLeave();
    void numbersUseSixSignificantDigits_data();
    void numbersUseSixSignificantDigits();
    void baseAttributesAreRead_data();
    void baseAttributesAreRead();
    void badGeometryReadsAsZero_data();
    void badGeometryReadsAsZero();
    void writtenElementReadsBack();
    void comboCodesSelectTheirIndex_data();
    void comboCodesSelectTheirIndex();
};

namespace
{
// The single trace line expected, or none when empty.
void CompareTrace(const QStringList& lines, const QString& trace)
{
    QCOMPARE(lines.size(), trace.isEmpty() ? 0 : 1);
    if (!trace.isEmpty())
        QVERIFY2(lines.first().startsWith(trace), qPrintable(lines.first()));
}
}

void tst_cWidget::newWidgetIsUnplacedWithAHiddenZ()
{
    cWidget widget(7, "rect", nullptr);
    QVERIFY(!widget.GetZProperty()->visible());
    QCOMPARE(PropertyNames(widget), QStringList({"X", "Y", "Width", "Height", "Z"}));
    QCOMPARE(widget.GetProperty("Colour"), nullptr);
    QCOMPARE(WriteWidgetXml(widget),
             QString("<Widget id=\"7\" type=\"rect\" x=\"-1\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\"/>"));
}

void tst_cWidget::fractionSettersRunTheProtocolWithoutClamping()
{
    cWidget widget(1, "rect", nullptr);
    QStringList order;
    connect(widget.GetXProperty(), &cProperty::ValueAboutToChange, [&] { order << "ValueAboutToChange"; });
    connect(&widget, &cWidget::xFractionChanged,
            [&] { order << QStringLiteral("xFractionChanged(%1)").arg(widget.xFraction()); });
    QSignalSpy z(&widget, &cWidget::zChanged);

    widget.setXFraction(-1);
    QCOMPARE(order, QStringList());
    widget.setXFraction(5);
    widget.SetZ(1);
    QCOMPARE(order, QStringList({"ValueAboutToChange", "xFractionChanged(5)"}));
    QCOMPARE(z.count(), 1);
}

void tst_cWidget::editorItemComesFirstAndDestroyedItemsLeave()
{
    cWidget widget(1, "rect", nullptr);
    QQuickItem preview;
    auto* first = new QQuickItem;
    auto* second = new QQuickItem;
    widget.setQQuickItem(&preview, false);
    widget.setQQuickItem(first, true);
    widget.setQQuickItem(second, true);
    QCOMPARE(widget.GetQQuickItems(), QList<QQuickItem*>({second, first, &preview}));
    delete second;
    delete first;
    QCOMPARE(widget.GetQQuickItems(), QList<QQuickItem*>({&preview}));

    cTraceCapture capture;
    widget.setQQuickItem(nullptr, true);
    QCOMPARE(capture.LinesContaining("ERROR:").size(), 1);
    QCOMPARE(widget.GetQQuickItems().size(), 1);
}

void tst_cWidget::numbersUseSixSignificantDigits_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("third") << 1.0f / 3 << "0.333333";
    QTest::newRow("tiny") << 0.00001f << "1e-05";
    QTest::newRow("float rounding hidden") << 0.1f << "0.1";
}

void tst_cWidget::numbersUseSixSignificantDigits()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    cWidget widget(1, "rect", nullptr);
    widget.setXFraction(value);
    QCOMPARE(XmlReaderOn(WriteWidgetXml(widget))->attributes().value("x").toString(), text);
}

void tst_cWidget::baseAttributesAreRead_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("trace");
    QTest::newRow("type first") << "<Widget type=\"rect\" x=\"1\" id=\"12\"/>" << 12 << "rect" << "";
    QTest::newRow("id not a number") << "<Widget id=\"abc\" type=\"rect\"/>" << 0 << "rect" << "";
    QTest::newRow("no id") << "<Widget type=\"text\"/>" << -1 << "" << "ERROR: Error loading widget id\t";
    QTest::newRow("empty type") << "<Widget id=\"3\" type=\"\"/>" << -1 << "" << "ERROR: Error loading widget type\t";
}

void tst_cWidget::baseAttributesAreRead()
{
    QFETCH(QString, xml);
    QFETCH(int, id);
    QFETCH(QString, type);
    QFETCH(QString, trace);
    int readId = 99;
    QString readType;
    cTraceCapture capture;
    QCOMPARE(cWidget::LoadBaseAttributes(*XmlReaderOn(xml), readId, readType), trace.isEmpty());
    CompareTrace(capture.Lines(), trace);
    if (trace.isEmpty())
    {
        QCOMPARE(readId, id);
        QCOMPARE(readType, type);
    }
}

void tst_cWidget::badGeometryReadsAsZero_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("width");
    QTest::newRow("y no number") << "<Widget x=\"0.5\" y=\"abc\"/>" << 0.5f << 0.0f << -1.0f;
    QTest::newRow("not finite") << "<Widget x=\"nan\" y=\"inf\" width=\"1e40\"/>" << 0.0f << 0.0f << 0.0f;
}

void tst_cWidget::badGeometryReadsAsZero()
{
    QFETCH(QString, xml);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, width);
    cWidget widget(3, "text", nullptr);
    cTraceCapture capture;
    widget.LoadAttributes(*XmlReaderOn(xml));
    QCOMPARE(capture.Lines(), QStringList());
    QCOMPARE(widget.xFraction(), x);
    QCOMPARE(widget.yFraction(), y);
    QCOMPARE(widget.widthFraction(), width);
}

void tst_cWidget::writtenElementReadsBack()
{
    cWidget original(9, "gizmo", nullptr);
    original.setXFraction(0.125f);
    original.setYFraction(1.0f / 3);
    original.setHeightFraction(0.00001f);
    original.SetZ(2);
    const auto reader = XmlReaderOn(WriteWidgetXml(original));
    int id = 0;
    QString type;
    QVERIFY(cWidget::LoadBaseAttributes(*reader, id, type));
    cWidget copy(id, type, nullptr);
    copy.LoadAttributes(*reader);
    QCOMPARE(WriteWidgetXml(copy), WriteWidgetXml(original));
    QCOMPARE(copy.heightFraction(), 0.00001f);
}

void tst_cWidget::comboCodesSelectTheirIndex_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("trace");
    QTest::newRow("second code") << "bottom" << 1 << "";
    QTest::newRow("unknown code") << "middle" << 0 << "ERROR: Property 'Tab Position' has unknown code 'middle'\t";
    QTest::newRow("case matters") << "Bottom" << 0 << "ERROR: Property 'Tab Position' has unknown code 'Bottom'\t";
}

// Both forms of the code list, plain and paired with the display names, behave alike.
void tst_cWidget::comboCodesSelectTheirIndex()
{
    QFETCH(QString, code);
    QFETCH(int, index);
    QFETCH(QString, trace);
    for (bool fromTable : {false, true})
    {
        cComboProperty combo("Tab Position", 1, {"Top", "Bottom"}, nullptr);
        cTraceCapture capture;
        if (fromTable)
            cWidget::SetComboPropertyIndex(code, QList<QPair<QString, QString>>{{"Top", "top"}, {"Bottom", "bottom"}},
                                           &combo);
        else
            cWidget::SetComboPropertyIndex(code, QList<QString>{"top", "bottom"}, &combo);
        QCOMPARE(combo.IntValue(), index);
        CompareTrace(capture.Lines(), trace);
    }
}

QTEST_MAIN(tst_cWidget)
#include "tst_cWidget.moc"
