#include "cPropertySignalLog.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cSizeFractionProperty.h"
#include "Kelvari/Common/cWidget.h"

#include <QQuickItem>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>
#include <limits>
#include <memory>

class cConfigBase;
class cWidgetFactoryBase;

namespace
{
QString WriteElement(const cWidget& widget)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    widget.WriteXml(writer);
    return xml;
}

// A reader standing on the start of the first element of the text.
std::unique_ptr<QXmlStreamReader> ReaderOn(const QString& xml)
{
    auto reader = std::make_unique<QXmlStreamReader>(xml);
    reader->readNextStartElement();
    return reader;
}

QStringList AttributeNames(const QString& xml)
{
    QStringList names;
    const auto reader = ReaderOn(xml);
    const QXmlStreamAttributes attributes = reader->attributes();
    for (const QXmlStreamAttribute& attribute : attributes)
        names << attribute.name().toString();
    return names;
}

QStringList PropertyNames(const cWidget& widget)
{
    QStringList names;
    for (const cProperty* property : widget.GetProperties())
        names << property->name();
    return names;
}
}

class tst_cWidget : public QObject
{
    Q_OBJECT

private slots:
    void newWidgetHasUnsetGeometryAndHiddenZ();
    void geometryBoundsAreTheEditorsLimits();
    void settingTheCurrentFractionEmitsNothing();
    void fractionSettersRunTheProtocolWithoutClamping();
    void propertiesAreFoundByName();
    void flagsSignalOnlyOnChange();
    void goingOfflineClearsDisabled();

    void editorItemComesFirstAndDestroyedItemsLeave();
    void nullItemIsRefused();

    void freshWidgetWritesItsBaseAttributesInOrder();
    void numbersUseSixSignificantDigits_data();
    void numbersUseSixSignificantDigits();
    void baseAttributesAreRead_data();
    void baseAttributesAreRead();
    void missingIdOrTypeIsReported_data();
    void missingIdOrTypeIsReported();
    void geometryIsReadFromTheElement_data();
    void geometryIsReadFromTheElement();
    void subXmlOfTheBaseSkipsTheWholeElement();
    void writtenElementReadsBack();

    void comboCodesSelectTheirIndex_data();
    void comboCodesSelectTheirIndex();
};

void tst_cWidget::newWidgetHasUnsetGeometryAndHiddenZ()
{
    cWidget widget(7, "rect", nullptr);
    QCOMPARE(widget.GetId(), 7);
    QCOMPARE(widget.GetType(), QString("rect"));
    QCOMPARE(widget.xFraction(), -1.0f);
    QCOMPARE(widget.yFraction(), -1.0f);
    QCOMPARE(widget.widthFraction(), -1.0f);
    QCOMPARE(widget.heightFraction(), -1.0f);
    QCOMPARE(widget.z(), 0.0f);
    QVERIFY(!widget.GetZProperty()->visible());
    QCOMPARE(PropertyNames(widget), QStringList({"X", "Y", "Width", "Height", "Z"}));
    for (const cProperty* property : widget.GetProperties())
        QCOMPARE(property->parent(), &widget);
    QVERIFY(!widget.IsOnline());
    QVERIFY(!widget.IsDisabled());
    QVERIFY(!widget.IsSelected());
    QVERIFY(widget.IsVisible());
    QCOMPARE(cWidget::mMultipleTypeName, QString("multiple"));
}

void tst_cWidget::geometryBoundsAreTheEditorsLimits()
{
    cWidget widget(1, "rect", nullptr);
    QCOMPARE(widget.GetXProperty()->LowBound(), -2.0f);
    QCOMPARE(widget.GetYProperty()->HighBound(), 2.0f);
    QCOMPARE(widget.GetWidthProperty()->LowBound(), 0.000999f);
    QVERIFY(widget.GetHeightProperty()->LowBound() < 0.001f);
    QCOMPARE(widget.GetZProperty()->LowBound(), 0.0f);
    QCOMPARE(widget.GetZProperty()->HighBound(), 2.0f);
}

void tst_cWidget::settingTheCurrentFractionEmitsNothing()
{
    cWidget widget(1, "rect", nullptr);
    cPropertySignalLog log(widget.GetXProperty());
    QSignalSpy changed(&widget, &cWidget::xFractionChanged);

    widget.setXFraction(-1);

    QCOMPARE(log.Signals(), QStringList());
    QCOMPARE(changed.count(), 0);
}

void tst_cWidget::fractionSettersRunTheProtocolWithoutClamping()
{
    cWidget widget(1, "rect", nullptr);
    QStringList order;
    connect(widget.GetXProperty(), &cProperty::ValueAboutToChange, [&] { order << "ValueAboutToChange"; });
    connect(&widget, &cWidget::xFractionChanged,
            [&] { order << QStringLiteral("xFractionChanged(%1)").arg(widget.xFraction()); });
    QSignalSpy y(&widget, &cWidget::yFractionChanged);
    QSignalSpy width(&widget, &cWidget::widthFractionChanged);
    QSignalSpy height(&widget, &cWidget::heightFractionChanged);
    QSignalSpy z(&widget, &cWidget::zChanged);

    widget.setXFraction(5);
    widget.setYFraction(0.5f);
    widget.setWidthFraction(0.25f);
    widget.setHeightFraction(0.125f);
    widget.SetZ(1);

    QCOMPARE(order, QStringList({"ValueAboutToChange", "xFractionChanged(5)"}));
    QCOMPARE(widget.xFraction(), 5.0f);
    QCOMPARE(widget.property("xFraction").toFloat(), 5.0f);
    QCOMPARE(y.count(), 1);
    QCOMPARE(width.count(), 1);
    QCOMPARE(height.count(), 1);
    QCOMPARE(z.count(), 1);
    QCOMPARE(widget.z(), 1.0f);
}

void tst_cWidget::propertiesAreFoundByName()
{
    cWidget widget(1, "rect", nullptr);
    QCOMPARE(widget.GetProperty("Width"), widget.GetWidthProperty());
    QCOMPARE(widget.GetProperty("Z"), widget.GetZProperty());
    QCOMPARE(widget.GetProperty("Colour"), nullptr);
}

void tst_cWidget::flagsSignalOnlyOnChange()
{
    cWidget widget(1, "rect", nullptr);
    QSignalSpy disabled(&widget, &cWidget::disabledChanged);
    QSignalSpy selected(&widget, &cWidget::selectedChanged);
    QSignalSpy visible(&widget, &cWidget::IsVisibleChanged);

    widget.SetDisabled(false);
    widget.SetSelected(false);
    widget.SetIsVisible(true);
    QCOMPARE(disabled.count() + selected.count() + visible.count(), 0);

    widget.SetDisabled(true);
    widget.SetSelected(true);
    widget.SetIsVisible(false);
    QCOMPARE(disabled.count(), 1);
    QCOMPARE(selected.count(), 1);
    QCOMPARE(visible.count(), 1);
    QVERIFY(widget.IsDisabled());
    QVERIFY(widget.property("selected").toBool());
    QVERIFY(!widget.IsVisible());
}

void tst_cWidget::goingOfflineClearsDisabled()
{
    cWidget widget(1, "zrnet_fader", nullptr);
    widget.SetOnline(nullptr);
    QVERIFY(widget.IsOnline());
    widget.SetDisabled(true);
    QSignalSpy disabled(&widget, &cWidget::disabledChanged);

    widget.SetOffline();
    QVERIFY(!widget.IsOnline());
    QVERIFY(!widget.IsDisabled());
    QCOMPARE(disabled.count(), 1);

    widget.SetOffline();
    QCOMPARE(disabled.count(), 1);
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
    QCOMPARE(widget.GetQQuickItems(), QList<QQuickItem*>({first, &preview}));
    delete first;
    QCOMPARE(widget.GetQQuickItems(), QList<QQuickItem*>({&preview}));
}

void tst_cWidget::nullItemIsRefused()
{
    cWidget widget(4, "rect", nullptr);
    cTraceCapture capture;
    widget.setQQuickItem(nullptr, true);
    QCOMPARE(capture.LinesContaining("ERROR:").size(), 1);
    QVERIFY(widget.GetQQuickItems().isEmpty());
}

void tst_cWidget::freshWidgetWritesItsBaseAttributesInOrder()
{
    cWidget widget(7, "rect", nullptr);
    const QString xml = WriteElement(widget);
    QCOMPARE(xml, QString("<Widget id=\"7\" type=\"rect\" x=\"-1\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\"/>"));
    QCOMPARE(AttributeNames(xml), QStringList({"id", "type", "x", "y", "width", "height", "z"}));
}

void tst_cWidget::numbersUseSixSignificantDigits_data()
{
    QTest::addColumn<float>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("quarter") << 0.25f << "0.25";
    QTest::newRow("minus one") << -1.0f << "-1";
    QTest::newRow("third") << 1.0f / 3 << "0.333333";
    QTest::newRow("tiny") << 0.00001f << "1e-05";
    QTest::newRow("float rounding hidden") << 0.1f << "0.1";
    QTest::newRow("whole") << 2.0f << "2";
}

void tst_cWidget::numbersUseSixSignificantDigits()
{
    QFETCH(float, value);
    QFETCH(QString, text);
    QCOMPARE(cWidget::AttributeText(value), text);

    cWidget widget(1, "rect", nullptr);
    widget.setXFraction(value);
    const auto reader = ReaderOn(WriteElement(widget));
    QCOMPARE(reader->attributes().value("x").toString(), text);
}

void tst_cWidget::baseAttributesAreRead_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<int>("id");
    QTest::addColumn<QString>("type");
    QTest::newRow("plain") << "<Widget id=\"3\" type=\"text\"/>" << 3 << "text";
    QTest::newRow("type first") << "<Widget type=\"rect\" x=\"1\" id=\"12\"/>" << 12 << "rect";
    QTest::newRow("id not a number") << "<Widget id=\"abc\" type=\"rect\"/>" << 0 << "rect";
    QTest::newRow("unknown type kept") << "<Widget id=\"5\" type=\"gizmo\"/>" << 5 << "gizmo";
}

void tst_cWidget::baseAttributesAreRead()
{
    QFETCH(QString, xml);
    QFETCH(int, id);
    QFETCH(QString, type);
    const auto reader = ReaderOn(xml);
    int readId = 99;
    QString readType = "x";

    cTraceCapture capture;
    QVERIFY(cWidget::LoadBaseAttributes(*reader, readId, readType));
    QCOMPARE(capture.Lines(), QStringList());
    QCOMPARE(readId, id);
    QCOMPARE(readType, type);
}

void tst_cWidget::missingIdOrTypeIsReported_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("trace");
    QTest::newRow("no id") << "<Widget type=\"text\"/>" << "ERROR: Error loading widget id\t";
    QTest::newRow("id minus one") << "<Widget id=\"-1\" type=\"text\"/>" << "ERROR: Error loading widget id\t";
    QTest::newRow("no type") << "<Widget id=\"3\"/>" << "ERROR: Error loading widget type\t";
    QTest::newRow("empty type") << "<Widget id=\"3\" type=\"\"/>" << "ERROR: Error loading widget type\t";
    QTest::newRow("nothing") << "<Widget/>" << "ERROR: Error loading widget id\t";
}

void tst_cWidget::missingIdOrTypeIsReported()
{
    QFETCH(QString, xml);
    QFETCH(QString, trace);
    const auto reader = ReaderOn(xml);
    int id = 0;
    QString type;

    cTraceCapture capture;
    const bool loaded = cWidget::LoadBaseAttributes(*reader, id, type);
    const QStringList lines = capture.Lines();

    QVERIFY(!loaded);
    QCOMPARE(lines.size(), 1);
    QVERIFY2(lines.first().startsWith(trace), qPrintable(lines.first()));
}

void tst_cWidget::geometryIsReadFromTheElement_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<float>("x");
    QTest::addColumn<float>("y");
    QTest::addColumn<float>("width");
    QTest::addColumn<float>("z");
    QTest::newRow("numbers") << "<Widget x=\"0.5\" y=\"0.25\" width=\"0.1\" z=\"1\"/>" << 0.5f << 0.25f << 0.1f << 1.0f;
    QTest::newRow("y no number") << "<Widget x=\"0.5\" y=\"abc\"/>" << 0.5f << 0.0f << -1.0f << 0.0f;
    QTest::newRow("missing keep defaults") << "<Widget/>" << -1.0f << -1.0f << -1.0f << 0.0f;
    QTest::newRow("empty text") << "<Widget x=\"\"/>" << 0.0f << -1.0f << -1.0f << 0.0f;
    QTest::newRow("not finite") << "<Widget x=\"nan\" y=\"inf\" width=\"1e40\"/>" << 0.0f << 0.0f << 0.0f << 0.0f;
    QTest::newRow("other names ignored") << "<Widget X=\"0.5\" colour=\"red\"/>" << -1.0f << -1.0f << -1.0f << 0.0f;
}

void tst_cWidget::geometryIsReadFromTheElement()
{
    QFETCH(QString, xml);
    QFETCH(float, x);
    QFETCH(float, y);
    QFETCH(float, width);
    QFETCH(float, z);
    const auto reader = ReaderOn(xml);
    cWidget widget(3, "text", nullptr);

    cTraceCapture capture;
    widget.LoadAttributes(*reader);

    QCOMPARE(capture.Lines(), QStringList());
    QCOMPARE(widget.xFraction(), x);
    QCOMPARE(widget.yFraction(), y);
    QCOMPARE(widget.widthFraction(), width);
    QCOMPARE(widget.z(), z);
}

void tst_cWidget::subXmlOfTheBaseSkipsTheWholeElement()
{
    const auto reader = ReaderOn("<Layout><Widget id=\"1\" type=\"odd\"><Tab><Widget id=\"2\"/></Tab></Widget>"
                                 "<Next/></Layout>");
    reader->readNextStartElement();
    cWidget widget(1, "odd", nullptr);
    std::shared_ptr<cKelvariConfigClient> client;

    // The base touches neither the document nor the factory, whose classes are
    // only declared at this level, so any object stands in for them.
    QObject standIn;
    widget.LoadSubXml(*reader, reinterpret_cast<const cConfigBase&>(standIn), nullptr,
                      reinterpret_cast<const cWidgetFactoryBase&>(standIn), client);

    QVERIFY(reader->isEndElement());
    QCOMPARE(reader->name().toString(), QString("Widget"));
    QVERIFY(reader->readNextStartElement());
    QCOMPARE(reader->name().toString(), QString("Next"));
}

void tst_cWidget::writtenElementReadsBack()
{
    cWidget original(9, "gizmo", nullptr);
    original.setXFraction(0.125f);
    original.setYFraction(1.0f / 3);
    original.setWidthFraction(0.5f);
    original.setHeightFraction(0.00001f);
    original.SetZ(2);
    const auto reader = ReaderOn(WriteElement(original));

    int id = 0;
    QString type;
    QVERIFY(cWidget::LoadBaseAttributes(*reader, id, type));
    cWidget copy(id, type, nullptr);
    copy.LoadAttributes(*reader);

    QCOMPARE(copy.GetId(), 9);
    QCOMPARE(copy.GetType(), QString("gizmo"));
    QCOMPARE(copy.xFraction(), 0.125f);
    QVERIFY(qAbs(copy.yFraction() - 1.0f / 3) < 1e-6f);
    QCOMPARE(copy.widthFraction(), 0.5f);
    QCOMPARE(copy.heightFraction(), 0.00001f);
    QCOMPARE(copy.z(), 2.0f);
}

void tst_cWidget::comboCodesSelectTheirIndex_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("trace");
    QTest::newRow("second code") << "bottom" << 1 << "";
    QTest::newRow("first code") << "top" << 0 << "";
    QTest::newRow("unknown code") << "middle" << 0 << "ERROR: Property 'Tab Position' has unknown code 'middle'\t";
    QTest::newRow("case matters") << "Bottom" << 0 << "ERROR: Property 'Tab Position' has unknown code 'Bottom'\t";
}

void tst_cWidget::comboCodesSelectTheirIndex()
{
    QFETCH(QString, code);
    QFETCH(int, index);
    QFETCH(QString, trace);
    const QList<QPair<QString, QString>> table = {{"Top", "top"}, {"Bottom", "bottom"}};

    for (bool fromTable : {false, true})
    {
        QObject owner;
        cComboProperty combo("Tab Position", 1, {"Top", "Bottom"}, &owner);
        cTraceCapture capture;
        if (fromTable)
            cWidget::SetComboPropertyIndex(code, table, &combo);
        else
            cWidget::SetComboPropertyIndex(code, QList<QString>{"top", "bottom"}, &combo);
        const QStringList lines = capture.Lines();

        QCOMPARE(combo.IntValue(), index);
        if (trace.isEmpty())
        {
            QCOMPARE(lines, QStringList());
        }
        else
        {
            QCOMPARE(lines.size(), 1);
            QVERIFY2(lines.first().startsWith(trace), qPrintable(lines.first()));
        }
    }
}

QTEST_MAIN(tst_cWidget)
#include "tst_cWidget.moc"
