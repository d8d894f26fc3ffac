#include "support/WidgetXml.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cZRNetButtonWidget.h"
#include "Kelvari/Common/cZRNetChromaticMeterWidget.h"
#include "Kelvari/Common/cZRNetFaderWidget.h"
#include "Kelvari/Common/cZRNetGRMeterWidget.h"
#include "Kelvari/Common/cZRNetLEDIndicatorWidget.h"
#include "Kelvari/Common/cZRNetMeterWidget.h"
#include "Kelvari/Common/cZRNetRotaryWidget.h"
#include "Kelvari/Common/cZRNetSourceSelectorWidget.h"
#include "Kelvari/Common/cZRNetTextWidget.h"
#include "Kelvari/Common/cZRNetWidget.h"
#include "Kelvari/Editor/cEditorWidgetFactory.h"

#include <QQuickItem>
#include <QtTest>
#include <memory>

namespace
{
// Reads widgets as the editor's factory does, keeping also those it would drop for their geometry.
class cTestFactory : public cWidgetFactoryBase
{
public:
    cWidget* CreateFromXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                           std::shared_ptr<cKelvariConfigClient>& client) const override
    {
        int id = -1;
        QString type;
        if (!cWidget::LoadBaseAttributes(reader, id, type))
            return nullptr;
        cWidget* widget = cEditorWidgetFactory::CreateWidget(type, id, config, parent);
        widget->LoadAttributes(reader);
        widget->LoadSubXml(reader, config, parent, *this, client);
        return widget;
    }
};

QStringList Values(const cWidget& widget, const QStringList& wanted)
{
    QStringList values;
    for (const QString& entry : wanted)
    {
        const QString name = entry.section('=', 0, 0);
        const cProperty* property = widget.GetProperty(name);
        if (name == "tabs")
            values << name + "=" + QString::number(qobject_cast<const cTabContainer*>(&widget)->GetTabs()->count());
        else
            values << (property ? name + "=" + property->stringValue() : name + " missing");
    }
    return values;
}

const QStringList kNetworkTypes = {"zrnet_button", "zrnet_led",   "zrnet_source_sel", "zrnet_text",       "zrnet_fader",
                                   "zrnet_rotary", "zrnet_meter", "zrnet_grmeter",    "zrnet_chrom_meter"};
}

class tst_Widgets : public QObject
{
    Q_OBJECT

    cConfigBase mConfig{nullptr};
    std::unique_ptr<QObject> mOwner;

    // The widget read from the first Widget element of the text, as a file is read; null unless
    // the reader is left on that element's end.
    cWidget* Read(const QString& xml)
    {
        QXmlStreamReader reader(xml);
        while (reader.readNextStartElement() && reader.name() != QLatin1String("Widget"))
            ;
        std::shared_ptr<cKelvariConfigClient> client;
        cWidget* widget = cTestFactory().CreateFromXml(reader, mConfig, mOwner.get(), client);
        return reader.isEndElement() && reader.name() == QLatin1String("Widget") && !reader.hasError() ? widget : nullptr;
    }
    template <class T> T* New(const QString& type, int id)
    {
        return qobject_cast<T*>(cEditorWidgetFactory::CreateWidget(type, id, mConfig, mOwner.get()));
    }

private slots:
    void init() { mOwner = std::make_unique<QObject>(); }
    void cleanup() { mOwner.reset(); }

    // What a new widget writes shows in the round trip's rows that leave attributes out.
    void newWidgetsListTheirPropertiesInOrder()
    {
        const QStringList base = {"X", "Y", "Width", "Height", "Z"};
        const QMap<QString, QStringList> own = {
            {"gizmo", {}}, {"rect", {"Radius", "Colour"}}, {"image", {"Image"}},
            {"text", {"Radius", "Text", "Align", "Font", "Text Colour", "Background Colour"}}};
        for (const QString& type : own.keys() + kNetworkTypes)
        {
            cWidget* widget = New<cWidget>(type, 7);
            QCOMPARE(widget->GetType(), type);
            QVERIFY(!widget->GetZProperty()->visible());
            if (own.contains(type))
                QCOMPARE(PropertyNames(*widget), base + own[type]);
        }
    }
    // Read, written and read again, a widget keeps every attribute and element; what it does not
    // interpret follows what it writes, in the file's order. Bad values read as sound ones.
    void readingAndWritingKeepsEveryAttribute_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("trace");
        const QString at = "id=\"4\" type=\"%1\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"2\"";
        const auto row = [&](const char* name, const QString& xml, const QString& written, const QStringList& values,
                             const QString& trace = QString()) {
            QTest::newRow(name) << xml << (written.isNull() ? xml : written) << values << trace;
        };
        row("text", "<Widget " + at.arg("text") + " text=\"first line&#10;second line&#13;&#10;&#9;third &amp; &lt;last&gt;\" "
            "textColour=\"#80ff0000\" textAlignment=\"center\" textFont=\"exo2\" backgroundColour=\"#a9a9a9\" radius=\"0.25\"/>",
            QString(), {"Text=first line\nsecond line\r\n\tthird & <last>", "Text Colour=#80ff0000", "Align=Center",
                        "Font=exo2", "Radius=25", "Height=40"});
        row("rect", "<Widget " + at.arg("rect") + " colour=\"#ff0000\" radius=\"0.5\"/>", QString(), {"Colour=#ff0000", "Radius=50"});
        row("image", "<Widget " + at.arg("image") + " resourceId=\"default_th_2_rotary_4\"/>", QString(),
            {"Image=default_th_2_rotary_4"});
        row("image without resource", "<Widget id=\"1\" type=\"image\" x=\"0.5\"/>",
            "<Widget id=\"1\" type=\"image\" x=\"0.5\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\" resourceId=\"_default\"/>",
            {"Image=_default"});
        row("image of empty resource", "<Widget " + at.arg("image") + " resourceId=\"\"/>", QString(), {"Image="});
        row("six significant digits", "<Widget " + at.arg("gizmo").replace("0.2", "0.3333333").replace("0.4", "1e-05") + "/>",
            "<Widget " + at.arg("gizmo").replace("0.2", "0.333333").replace("0.4", "1e-05") + "/>", {"Y=33.33", "Height=0"});
        row("network widget keeps what it does not read",
            "<Widget id=\"11\" channel=\"3\" type=\"zrnet_fader\" x=\"0\" law=\"audio\" y=\"0\" width=\"0.1\" height=\"0.5\" z=\"0\">"
            "<Scale><Mark db=\"0\"/></Scale></Widget>",
            "<Widget id=\"11\" type=\"zrnet_fader\" x=\"0\" y=\"0\" width=\"0.1\" height=\"0.5\" z=\"0\" channel=\"3\" law=\"audio\">"
            "<Scale><Mark db=\"0\"/></Scale></Widget>", {});
        // A nested element named Widget must not end the outer one early.
        row("unknown widget", "<Widget " + at.arg("zrnet_future") + " gain=\"-3\" colour=\"red\"><Channel number=\"2\">"
            "<Name>Vox &amp; Gtr</Name><Widget id=\"5\"/></Channel><!-- tuned by hand --><Curve points=\"1 2 3\"/>loose text</Widget>",
            QString(), {"Height=40"});
        row("interpreted attribute written once", "<Widget " + at.arg("text") + " text=\"Hello\" shadow=\"soft\"/>",
            "<Widget " + at.arg("text") + " text=\"Hello\" textColour=\"#000000\" textAlignment=\"left\" textFont=\"lato\" "
            "backgroundColour=\"#00ffffff\" radius=\"0\" shadow=\"soft\"/>", {"Text=Hello"});
        row("namespaced content declared outside",
            "<Layout xmlns:ext=\"urn:kelvari:ext\" xmlns=\"urn:kelvari:default\"><Widget " + at.arg("zrnet_meter")
            + " ext:peak=\"hold\"><ext:Ballistics ext:mode=\"ppm\"><Release ms=\"300\"/></ext:Ballistics></Widget></Layout>",
            "<Widget " + at.arg("zrnet_meter") + " xmlns:n1=\"urn:kelvari:ext\" n1:peak=\"hold\"><n1:Ballistics n1:mode=\"ppm\">"
            "<n2:Release xmlns:n2=\"urn:kelvari:default\" ms=\"300\"/></n1:Ballistics></Widget>", {});
        row("bad values read as sound ones", "<Widget id=\"1\" type=\"text\" x=\"nan\" y=\"abc\" width=\"1e40\" radius=\"round\" "
            "textColour=\"nocolour\" backgroundColour=\"#12\" Text=\"ignored\"/>",
            "<Widget id=\"1\" type=\"text\" x=\"0\" y=\"0\" width=\"0\" height=\"-1\" z=\"0\" text=\"Text...\" textColour=\"#000000\" "
            "textAlignment=\"left\" textFont=\"lato\" backgroundColour=\"#00ffffff\" radius=\"0\" Text=\"ignored\"/>",
            {"X=0", "Y=0", "Width=0", "Radius=0", "Text Colour=#000000", "Background Colour=#00ffffff", "Text=Text..."});
        row("type before id", "<Widget type=\"gizmo\" x=\"1\" id=\"12\"/>",
            "<Widget id=\"12\" type=\"gizmo\" x=\"1\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\"/>", {"X=100"});
        row("code of another case", "<Widget " + at.arg("text") + " textAlignment=\"Center\"/>", "", {"Align=Left"},
            "ERROR: Property 'Align' has unknown code 'Center'\t");
        row("child without a type", "<Widget " + at.arg("tab_container") + "><Tab><Widget id=\"3\" type=\"\"/></Tab></Widget>", "",
            {"rect widgets=0"}, "ERROR: Error loading widget type\t");
        row("id not a number", "<Widget id=\"abc\" type=\"rect\"/>", "<Widget id=\"0\" type=\"rect\" x=\"-1\" y=\"-1\" "
            "width=\"-1\" height=\"-1\" z=\"0\" colour=\"#000000\" radius=\"0\"/>", {});
        const QString tabs = " numTabs=\"%1\" textFont=\"lato\" onImageResourceId=\"_basic\" offImageResourceId=\"_basic\" "
                             "tabOnColour=\"#ffffff\" tabOffColour=\"#a9a9a9\" tabPosition=\"%2\"";
        const QString rect = "<Widget id=\"%1\" type=\"rect\" x=\"-1\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\" "
                             "colour=\"#000000\" radius=\"0\"/>";
        row("tab container", "<Widget " + at.arg("tab_container") + tabs.arg(2).arg("bottom") + " skin=\"glass\">"
            "<Tab tabName=\"Inputs\">" + rect.arg(11) + "</Tab><Tab tabName=\"Buses\"/><Notes author=\"front of house\">keep</Notes>"
            "</Widget>", QString(), {"Tab 2=Buses", "tabs=2", "Tab Position=Bottom"});
        row("nested containers keep each child in its tab", "<Widget " + at.arg("tab_container") + tabs.arg(5).arg("top") + ">"
            "<Tab tabName=\"1\">" + rect.arg(3) + "</Tab><Tab tabName=\"2\"/><Tab tabName=\"3\"><Widget id=\"5\" type=\"tab_container\" "
            "x=\"-1\" y=\"-1\" width=\"-1\" height=\"-1\" z=\"0\"" + tabs.arg(2).arg("top") + "><Tab tabName=\"1\"/><Tab tabName=\"2\">"
            + rect.arg(6) + "</Tab></Widget></Tab><Tab tabName=\"4\"/><Tab tabName=\"Outputs &amp; FX\">" + rect.arg(2) + rect.arg(7)
            + "</Tab></Widget>", QString(), {"Tab 5=Outputs & FX"});
        row("tab container attributes", "<Widget " + at.arg("tab_container")
            + " numTabs=\"6\" textFont=\"glegoo\" tabOnColour=\"#ff0000\" tabPosition=\"bottom\"/>", "",
            {"Number of tabs=6", "tabs=6", "Font=glegoo", "Colour On=#ff0000", "Tab Position=Bottom"});
        row("tabs not a number", "<Widget " + at.arg("tab_container") + " numTabs=\"many\" tabOnColour=\"nocolour\"/>", "",
            {"Number of tabs=0", "tabs=1", "Colour On=#ffffff"});
        row("tabs above ten", "<Widget " + at.arg("tab_container") + " numTabs=\"12\"/>", "", {"Number of tabs=12", "tabs=10"});
        row("unknown tab position", "<Widget " + at.arg("tab_container") + " tabPosition=\"left\"/>", "",
            {"tabs=4", "Tab Position=Top"}, "Property 'Tab Position' has unknown code 'left'");
        row("extra tab elements raise the number of tabs", "<Widget " + at.arg("tab_container") + " numTabs=\"1\">"
            "<Tab/><Note/><Tab tabName=\"Late\">" + rect.arg(2) + "</Tab></Widget>", "<Widget " + at.arg("tab_container")
            + tabs.arg(2).arg("top") + "><Tab tabName=\"1\"/><Tab tabName=\"Late\">" + rect.arg(2) + "</Tab><Note/></Widget>",
            {"Number of tabs=2", "Tab 2=Late"}, "holds more tabs than its number of tabs; raised to 2");
        // Elements of another program take no tab place; they are kept, after the tabs.
        row("unknown elements before and between tabs", "<Widget " + at.arg("tab_container") + tabs.arg(2).arg("top") + ">"
            "<Note>first</Note><Tab tabName=\"A\">" + rect.arg(2) + "</Tab><Group>" + rect.arg(9) + "</Group><Tab tabName=\"B\">"
            + rect.arg(3) + "</Tab></Widget>", "<Widget " + at.arg("tab_container") + tabs.arg(2).arg("top") + "><Tab tabName=\"A\">"
            + rect.arg(2) + "</Tab><Tab tabName=\"B\">" + rect.arg(3) + "</Tab><Note>first</Note><Group>" + rect.arg(9)
            + "</Group></Widget>", {"tabs=2", "Tab 1=A", "Tab 2=B", "rect widgets=2"});
        QString ten = "<Widget " + at.arg("tab_container") + " numTabs=\"10\"><Note/>";
        for (int k = 1; k <= 10; ++k)
            ten += QStringLiteral("<Tab tabName=\"T%1\"><Widget id=\"%2\" type=\"rect\"/></Tab>").arg(k).arg(k + 10);
        row("ten tabs after an unknown element", ten + "</Widget>", "", {"tabs=10", "Tab 1=T1", "Tab 10=T10", "rect widgets=10"});
        QString eleven = "<Widget " + at.arg("tab_container") + " numTabs=\"10\">";
        for (int k = 1; k <= 11; ++k)
            eleven += QStringLiteral("<Tab tabName=\"T%1\"><Widget id=\"%2\" type=\"rect\"/></Tab>").arg(k).arg(k + 10);
        row("tabs past the maximum are skipped", eleven + "<Widget id=\"99\" type=\"rect\"/></Widget>", "",
            {"tabs=10", "Tab 10=T10", "rect widgets=10"}, "Tab 11 of tab container 4 is past the maximum of 10 tabs");
        row("failing widget is skipped whole", "<Widget " + at.arg("tab_container") + "><Tab>" + rect.arg(2) + "<Widget "
            "type=\"tab_container\"><Tab>" + rect.arg(3) + "</Tab></Widget>" + rect.arg(5) + "</Tab><Tab>" + rect.arg(6) + "</Tab></Widget>",
            "<Widget " + at.arg("tab_container") + tabs.arg(4).arg("top") + "><Tab tabName=\"1\">" + rect.arg(2) + rect.arg(5)
            + "</Tab><Tab tabName=\"2\">" + rect.arg(6) + "</Tab><Tab tabName=\"3\"/><Tab tabName=\"4\"/></Widget>",
            {"rect widgets=3"}, "Error loading widget id");
    }
    void readingAndWritingKeepsEveryAttribute()
    {
        QFETCH(QString, xml);
        QFETCH(QString, written);
        QFETCH(QStringList, values);
        QFETCH(QString, trace);
        const cWidget* widget = nullptr;
        const QStringList lines = cTraceCapture::Of([&] { widget = Read(xml); });
        QVERIFY(widget);
        QCOMPARE(lines.size(), trace.isEmpty() ? 0 : 1);
        QVERIFY2(trace.isEmpty() || (trace.startsWith("ERROR") ? lines[0].startsWith(trace) : lines[0].contains(trace)),
                 qPrintable(lines.value(0)));
        const QString rects = "rect widgets=" + QString::number(mOwner->findChildren<cRectangleWidget*>().size());
        QCOMPARE(Values(*widget, values).replaceInStrings("rect widgets missing", rects), values);
        const QString text = WriteWidgetXml(*widget);
        if (!written.isEmpty())
            QCOMPARE(text, written);
        // Indented as the config file is written, and read back, nothing changes.
        const QString indented = WriteWidgetXml(*widget, true);
        const cWidget* again = Read(indented);
        QVERIFY(again);
        QCOMPARE(WriteWidgetXml(*again, true), indented);
        QCOMPARE(WriteWidgetXml(*again), text);
    }
    void editorItemComesFirstAndDestroyedItemsLeave()
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
        const QStringList errors = cTraceCapture::Of([&] { widget.setQQuickItem(nullptr, true); }).filter("ERROR:");
        QCOMPARE(errors.size(), 1);
        QCOMPARE(widget.GetQQuickItems().size(), 1);
        // Fractions are not clamped; their change is announced first for undo, as the layout's tests show.
        widget.setXFraction(5);
        QCOMPARE(widget.xFraction(), 5.0f);
    }
    // Registering an item pushes every value into all items; later changes reach them all.
    void valuesReachEveryItem_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("text") << "text" << QStringList{"Radius=0.25"} << QStringList{"Align=7", "Font=mina"}
                              << QStringList{"text=Text...", "cornerRadius=0.25", "textAlignment=4", "textFont=mina"};
        QTest::newRow("tab container") << "tab_container" << QStringList{"Font=breeserif", "Image On=5"}
                                       << QStringList{"Colour Off=#102030", "Tab Position=1"}
                                       << QStringList{"textFont=breeserif", "imageOnIdentifier=5", "tabOffColour=#102030",
                                                      "tabPosition=bottom"};
    }
    void valuesReachEveryItem()
    {
        QFETCH(QString, type);
        QFETCH(QStringList, before);
        QFETCH(QStringList, after);
        QFETCH(QStringList, shown);
        cWidget* widget = New<cWidget>(type, 1);
        QQuickItem first, second;
        widget->setQQuickItem(&first, true);
        first.setProperty("text", "stale");
        const auto set = [widget](const QStringList& values) {
            for (const QString& value : values)
                widget->GetProperty(value.section('=', 0, 0))->setValue(value.section('=', 1));
        };
        set(before);
        widget->setQQuickItem(&second, false);
        set(after);
        for (QQuickItem* item : {&first, &second})
        {
            QStringList values;
            for (const QString& value : shown)
                values << value.section('=', 0, 0) + "=" + item->property(qPrintable(value.section('=', 0, 0))).toString();
            QCOMPARE(values, shown);
        }
    }
    void networkWidgetsHoldTheClientOnlyWhileOnline()
    {
        // The widgets only hold the client and never use it, so any shared address stands in for one.
        auto holder = std::make_shared<int>(0);
        const std::shared_ptr<cKelvariConfigClient> client(holder, reinterpret_cast<cKelvariConfigClient*>(holder.get()));
        for (const QString& type : kNetworkTypes)
        {
            auto* widget = New<cZRNetWidget>(type, 1);
            QVERIFY2(widget, qPrintable(type));
            QSignalSpy disabled(widget, &cWidget::disabledChanged);
            widget->SetOnline(client);
            QVERIFY(widget->IsOnline());
            QCOMPARE(widget->GetConfigClient(), client);
            QCOMPARE(holder.use_count(), 3L);
            widget->SetDisabled(true);
            widget->SetOffline();
            widget->SetOffline();
            QVERIFY(!widget->IsOnline() && !widget->IsDisabled() && !widget->GetConfigClient());
            QCOMPARE(holder.use_count(), 2L);
            QCOMPARE(disabled.count(), 2);
        }
    }
    // The unit's objects each kind may ask for are named by a function code, the input channel code and a
    // channel counted from 0; the editor keeps every pattern once, in byte order.
    void networkWidgetsAskForTheirFunctionsOnInputChannels_data()
    {
        QTest::addColumn<QList<QByteArray>>("patterns");
        QTest::addColumn<QList<QByteArray>>("expected");
        const QByteArray mute = "^mute/ip/[0-9]+$", pafl = "^pafl/ip/[0-9]+$", level = "^level/ip/[0-9]+$";
        const QByteArray meter = "^meter/(pre|post)/ip/[0-9]+$";
        QTest::newRow("button") << cZRNetButtonWidget::GetAllObjectRequestRegExpsStatic() << QList<QByteArray>{mute, pafl};
        QTest::newRow("LED") << cZRNetLEDIndicatorWidget::GetAllObjectRequestRegExpsStatic() << QList<QByteArray>{mute, pafl};
        QTest::newRow("source selector") << cZRNetSourceSelectorWidget::GetAllObjectRequestRegExpsStatic()
                                         << QList<QByteArray>{"^source/ip/[0-9]+$"};
        QTest::newRow("dynamic label") << cZRNetTextWidget::GetAllObjectRequestRegExpsStatic()
                                       << QList<QByteArray>{"^name/ip/[0-9]+$"};
        QTest::newRow("fader") << cZRNetFaderWidget::GetAllObjectRequestRegExpsStatic() << QList<QByteArray>{level};
        QTest::newRow("rotary") << cZRNetRotaryWidget::GetAllObjectRequestRegExpsStatic()
                                << QList<QByteArray>{level, "^pan/ip/[0-9]+$"};
        QTest::newRow("meter") << cZRNetMeterWidget::GetAllObjectRequestRegExpsStatic() << QList<QByteArray>{meter};
        QTest::newRow("GR meter") << cZRNetGRMeterWidget::GetAllObjectRequestRegExpsStatic()
                                  << QList<QByteArray>{"^gr/ip/[0-9]+$"};
        QTest::newRow("chrom meter") << cZRNetChromaticMeterWidget::GetAllObjectRequestRegExpsStatic()
                                     << QList<QByteArray>{meter};
        cEditorWidgetFactory::AddAllZRNetWidgetObjectRequestRegExps();
        const std::set<QByteArray>& all = cEditorWidgetFactory::mAllObjectRequestRegExps;
        QTest::newRow("every kind") << QList<QByteArray>(all.cbegin(), all.cend())
                                    << QList<QByteArray>{"^gr/ip/[0-9]+$", level, meter, mute, "^name/ip/[0-9]+$", pafl,
                                                         "^pan/ip/[0-9]+$", "^source/ip/[0-9]+$"};
    }
    void networkWidgetsAskForTheirFunctionsOnInputChannels()
    {
        QFETCH(QList<QByteArray>, patterns);
        QTEST(patterns, "expected");
    }
    // Four tabs by default, then six; counts past the limits show in the round trip's rows.
    void numberOfTabsBuildsNamedTabsAndShowsTheirNames()
    {
        auto* container = new cTabContainer(1, mOwner.get(), mConfig);
        for (const int tabs : {4, 6})
        {
            container->GetNumberOfTabsProperty()->SetIntValue(tabs);
            QStringList names, shown;
            for (const cTab* tab : container->GetTabs()->Items())
                names << tab->tabName();
            for (const cProperty* name : container->GetTabNameProperties())
                shown << (name->visible() ? name->stringValue() : "-");
            QCOMPARE(names, QString("1 2 3 4 5 6").left(2 * tabs - 1).split(' '));
            QCOMPARE(shown, (names + QStringList{"-", "-", "-", "-", "-", "-"}).mid(0, 10));
        }
        QSignalSpy renamed(container->GetTabs()->At(0), &cTab::tabNameChanged);
        container->GetTabNameProperties().at(0)->setStringValue("Inputs");
        container->GetTabNameProperties().at(0)->setStringValue("Inputs");
        QCOMPARE(container->GetTabs()->At(0)->tabName(), QString("Inputs"));
        QCOMPARE(renamed.count(), 1);
    }
    void currentTabDecidesChildVisibility()
    {
        auto* container = new cTabContainer(1, mOwner.get(), mConfig);
        auto* first = New<cWidget>("rect", 2);
        auto* inner = new cTabContainer(3, mOwner.get(), mConfig);
        auto* leaf = New<cWidget>("rect", 4);
        auto* onFourth = New<cWidget>("rect", 5);
        inner->AddContainerChild(leaf, 0);
        container->AddContainerChild(first, 0);
        container->AddContainerChild(inner, 2);
        container->AddContainerChild(onFourth, 3);
        QVERIFY(first->IsVisible() && !inner->IsVisible() && !leaf->IsVisible());
        QSignalSpy changed(container, &cTabContainer::currentTabIndexChanged);
        container->setCurrentTabIndex(2);
        container->setCurrentTabIndex(2);
        QVERIFY(leaf->IsVisible() && !first->IsVisible());
        QCOMPARE(changed.count(), 1);
        // Hidden, the container hides every tab; shown again, only the current one.
        container->SetIsVisible(false);
        container->setCurrentTabIndex(0);
        QVERIFY(!first->IsVisible());
        container->SetIsVisible(true);
        QVERIFY(first->IsVisible() && !leaf->IsVisible());
        // Shrinking past the current tab moves to the last tab left.
        container->setCurrentTabIndex(3);
        container->GetNumberOfTabsProperty()->SetIntValue(3);
        QCOMPARE(container->currentTabIndex(), 2);
        QVERIFY(leaf->IsVisible() && !onFourth->IsVisible());
        // Online and offline reach every child, and offline enables them again.
        onFourth->SetDisabled(true);
        container->SetOnline(nullptr);
        QVERIFY(first->IsOnline() && leaf->IsOnline() && onFourth->IsOnline());
        container->SetOffline();
        QVERIFY(!container->IsOnline() && !first->IsOnline() && !leaf->IsOnline() && !onFourth->IsDisabled());
    }
    void childLocationsFollowAddAndRemoveWithinTheTabs()
    {
        auto* container = new cTabContainer(1, mOwner.get(), mConfig);
        auto* child = New<cWidget>("rect", 2);
        const QStringList traces = cTraceCapture::Of([&] {
            container->AddContainerChild(child, 4);
            container->setCurrentTabIndex(-1);
            container->setCurrentTabIndex(7);
            container->SetTabChildrenVisibility(9, false);
        });
        QCOMPARE(container->getContainerLocation(child), -1);
        QCOMPARE(container->GetWidgetChildren()->count(), 0);
        QCOMPARE(container->currentTabIndex(), 0);
        QVERIFY(container->LinkedContainerQuickItems(5).isEmpty());
        QCOMPARE(traces.filter("Tab container 1 has no tab 4 for widget 2").size(), 1);
        QCOMPARE(traces.filter("has no tab 7 to show").size(), 1);
        container->AddContainerChild(child, 1);
        container->AddContainerChild(child, 3);
        QVERIFY(container->GetTabs()->At(1)->GetWidgets().isEmpty());
        QCOMPARE(container->getContainerLocation(child), 3);
        QCOMPARE(container->GetWidgetChildren()->Items(), QList<cWidget*>({child}));
        container->RemoveContainerChild(New<cWidget>("rect", 3));
        container->RemoveContainerChild(nullptr);
        QCOMPARE(container->GetWidgetChildren()->count(), 1);
        container->RemoveContainerChild(child);
        QCOMPARE(container->getContainerLocation(child), -1);
        QVERIFY(container->GetWidgetChildren()->isEmpty() && container->GetTabs()->At(3)->GetWidgets().isEmpty());
        QCOMPARE(child->parent(), mOwner.get());
    }
    void tabPagesKeepViewOrderAndImagesFollowTheirResources()
    {
        auto* container = new cTabContainer(1, mOwner.get(), mConfig);
        cTab* tab = container->GetTabs()->At(1);
        QQuickItem thumbnail, editor;
        auto* runner = new QQuickItem;
        tab->addLinkedContainerQuickItem(&thumbnail, false);
        tab->addLinkedContainerQuickItem(runner, false);
        tab->addLinkedContainerQuickItem(&editor, true);
        QCOMPARE(container->LinkedContainerQuickItems(1), QList<QQuickItem*>({&editor, &thumbnail, runner}));
        delete runner;
        QCOMPARE(container->LinkedContainerQuickItems(1), QList<QQuickItem*>({&editor, &thumbnail}));
        container->GetImageOnProperty()->setStringValue("5");
        container->GetImageOffProperty()->setStringValue("6");
        QSignalSpy on(container, &cTabContainer::onImageChanged);
        QSignalSpy off(container, &cTabContainer::offImageChanged);
        emit mConfig.ResourceChanged("5");
        emit mConfig.ResourceRemoved("6");
        emit mConfig.ResourceInserted("7");
        QCOMPARE(on.count(), 1);
        QCOMPARE(off.count(), 1);
    }
};

QTEST_MAIN(tst_Widgets)
#include "tst_Widgets.moc"
