#include "support/WidgetXml.h"

#include "Kelvari/Common/cConfigBase.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cTextBlockProperty.h"
#include "Kelvari/Common/cTextWidget.h"
#include "Kelvari/Common/cWidgetFactoryBase.h"
#include "Kelvari/Common/cZRNetButtonWidget.h"
#include "Kelvari/Common/cZRNetChromaticMeterWidget.h"
#include "Kelvari/Common/cZRNetFaderWidget.h"
#include "Kelvari/Common/cZRNetGRMeterWidget.h"
#include "Kelvari/Common/cZRNetLEDIndicatorWidget.h"
#include "Kelvari/Common/cZRNetMeterWidget.h"
#include "Kelvari/Common/cZRNetRotaryWidget.h"
#include "Kelvari/Common/cZRNetSourceSelectorWidget.h"
#include "Kelvari/Common/cZRNetTextWidget.h"

#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>
#include <algorithm>
#include <memory>

namespace
{
// Creates the widgets of a file as the editor's factory does, for the kinds these tests use.
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
        cWidget* widget = nullptr;
        if (type == QLatin1String("zrnet_fader"))
            widget = new cZRNetFaderWidget(id, parent, client, config);
        else if (type == QLatin1String("text"))
            widget = new cTextWidget(id, parent);
        else if (type == QLatin1String("tab_container"))
            widget = new cTabContainer(id, parent, config);
        else
            widget = new cWidget(id, type, parent);
        widget->LoadAttributes(reader);
        widget->LoadSubXml(reader, config, parent, *this, client);
        return widget;
    }
};
}

class tst_cZRNetWidgets : public QObject
{
    Q_OBJECT

private:
    // The widget read as the factory reads it; null unless the reader ends on the element's end.
    cWidget* Load(const QString& xml)
    {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        cWidget* widget = mFactory.CreateFromXml(reader, mConfig, mOwner.get(), mClient);
        return reader.isEndElement() && reader.name() == QLatin1String("Widget") ? widget : nullptr;
    }

    // Read back from its own text, the widget writes the same text again.
    void CompareReloaded(const cWidget& widget)
    {
        const QString written = WriteWidgetXml(widget);
        const cWidget* reloaded = Load(written);
        QVERIFY(reloaded);
        QCOMPARE(WriteWidgetXml(*reloaded), written);
    }

    cConfigBase mConfig{nullptr};
    cTestFactory mFactory;
    std::shared_ptr<cKelvariConfigClient> mClient;
    std::unique_ptr<QObject> mOwner;

private slots:
    void init() { mOwner = std::make_unique<QObject>(); }
    void cleanup() { mOwner.reset(); }

    void eachKindHoldsTheClientOnlyWhileOnline();
    void requestPatternsMatchWholeObjectNames();
    void unknownWidgetRoundTripsUnchanged();
    void namespacedContentStaysWellFormed();
    void interpretedAttributesAreWrittenOnce();
    void containerAndNetworkWidgetKeepUnknownContent();
};

void tst_cZRNetWidgets::eachKindHoldsTheClientOnlyWhileOnline()
{
    QObject* owner = mOwner.get();
    const QList<cWidget*> widgets = {new cZRNetButtonWidget(1, owner, mClient, mConfig),
                                     new cZRNetLEDIndicatorWidget(2, owner, mClient, mConfig),
                                     new cZRNetSourceSelectorWidget(3, owner, mClient),
                                     new cZRNetTextWidget(4, owner, mClient),
                                     new cZRNetFaderWidget(5, owner, mClient, mConfig),
                                     new cZRNetRotaryWidget(6, owner, mClient, mConfig),
                                     new cZRNetMeterWidget(7, owner, mClient, mConfig),
                                     new cZRNetGRMeterWidget(8, owner, mClient, mConfig),
                                     new cZRNetChromaticMeterWidget(9, owner, mClient, mConfig)};
    const QStringList keys = {"zrnet_button", "zrnet_led",   "zrnet_source_sel", "zrnet_text",       "zrnet_fader",
                              "zrnet_rotary", "zrnet_meter", "zrnet_grmeter",    "zrnet_chrom_meter"};
    // The widgets only hold the client and never use it, so any shared address stands in for one.
    auto holder = std::make_shared<int>(0);
    const std::shared_ptr<cKelvariConfigClient> client(holder, reinterpret_cast<cKelvariConfigClient*>(holder.get()));
    for (int i = 0; i < widgets.size(); ++i)
    {
        cWidget* widget = widgets.at(i);
        auto* networkWidget = qobject_cast<cZRNetWidget*>(widget);
        QVERIFY(networkWidget);
        QCOMPARE(widget->GetType(), keys.at(i));
        QCOMPARE(XmlAttributeNames(WriteWidgetXml(*widget)), QStringList({"id", "type", "x", "y", "width", "height", "z"}));
        QSignalSpy disabled(widget, &cWidget::disabledChanged);

        widget->SetOnline(client);
        QVERIFY(widget->IsOnline());
        QCOMPARE(networkWidget->GetConfigClient(), client);
        QCOMPARE(holder.use_count(), 3L);
        widget->SetDisabled(true);
        widget->SetOffline();
        widget->SetOffline();
        QVERIFY(!widget->IsOnline());
        QVERIFY(!widget->IsDisabled());
        QVERIFY(!networkWidget->GetConfigClient());
        QCOMPARE(holder.use_count(), 2L);
        QCOMPARE(disabled.count(), 2);
    }
}

void tst_cZRNetWidgets::requestPatternsMatchWholeObjectNames()
{
    const QList<QPair<QByteArrayList, QString>> kinds = {
        {cZRNetButtonWidget::GetAllObjectRequestRegExpsStatic(), "pafl/ip/47"},
        {cZRNetLEDIndicatorWidget::GetAllObjectRequestRegExpsStatic(), "mute/ip/0"},
        {cZRNetSourceSelectorWidget::GetAllObjectRequestRegExpsStatic(), "source/ip/11"},
        {cZRNetTextWidget::GetAllObjectRequestRegExpsStatic(), "name/ip/0"},
        {cZRNetFaderWidget::GetAllObjectRequestRegExpsStatic(), "level/ip/15"},
        {cZRNetRotaryWidget::GetAllObjectRequestRegExpsStatic(), "pan/ip/2"},
        {cZRNetMeterWidget::GetAllObjectRequestRegExpsStatic(), "meter/pre/ip/0"},
        {cZRNetGRMeterWidget::GetAllObjectRequestRegExpsStatic(), "gr/ip/4"},
        {cZRNetChromaticMeterWidget::GetAllObjectRequestRegExpsStatic(), "meter/post/ip/7"}};
    for (const auto& kind : kinds)
    {
        const auto matches = [&](const QString& name) {
            return std::any_of(kind.first.begin(), kind.first.end(), [&](const QByteArray& pattern) {
                const QRegularExpression expression(QString::fromLatin1(pattern));
                return expression.isValid() && expression.match(name).hasMatch();
            });
        };
        QVERIFY2(matches(kind.second), qPrintable(kind.second));
        QVERIFY(!matches(kind.second + "/0"));
        QVERIFY(!matches("x" + kind.second));
        QVERIFY(!matches(kind.second.section('/', 0, -2) + "/one"));
    }
}

// A nested element named Widget must not end the outer one early.
void tst_cZRNetWidgets::unknownWidgetRoundTripsUnchanged()
{
    const QString xml = "<Widget id=\"4\" type=\"zrnet_future\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" "
                        "z=\"0.5\" gain=\"-3\" colour=\"red\"><Channel number=\"2\"><Name>Vox &amp; Gtr</Name>"
                        "<Widget id=\"5\"/></Channel><!-- tuned by hand --><Curve points=\"1 2 3\"/>loose text</Widget>";
    const cWidget* widget = Load(xml);
    QVERIFY(widget);
    QCOMPARE(widget->heightFraction(), 0.4f);
    QCOMPARE(WriteWidgetXml(*widget), xml);
    // Indented as the config file is written, and read back, nothing changes.
    const QString indented = WriteWidgetXml(*widget, true);
    const cWidget* reloaded = Load(indented);
    QVERIFY(reloaded);
    QCOMPARE(WriteWidgetXml(*reloaded, true), indented);
    QCOMPARE(WriteWidgetXml(*reloaded), xml);
}

void tst_cZRNetWidgets::namespacedContentStaysWellFormed()
{
    // The namespaces are declared outside the widget, as a newer file might do on its root.
    QXmlStreamReader reader("<Layout xmlns:ext=\"urn:kelvari:ext\" xmlns=\"urn:kelvari:default\">"
                            "<Widget id=\"6\" type=\"zrnet_meter\" x=\"0\" y=\"0\" width=\"0.1\" height=\"0.1\" z=\"0\" "
                            "ext:peak=\"hold\"><ext:Ballistics ext:mode=\"ppm\"><Release ms=\"300\"/></ext:Ballistics>"
                            "</Widget></Layout>");
    reader.readNextStartElement();
    reader.readNextStartElement();
    std::unique_ptr<cWidget> widget(mFactory.CreateFromXml(reader, mConfig, nullptr, mClient));
    QVERIFY(widget);
    QXmlStreamReader check(WriteWidgetXml(*widget));
    check.readNextStartElement();
    QCOMPARE(check.attributes().value("urn:kelvari:ext", "peak").toString(), QString("hold"));
    QStringList elements;
    while (!check.atEnd())
    {
        if (check.readNext() == QXmlStreamReader::StartElement)
            elements << check.namespaceUri() + " " + check.name();
    }
    QVERIFY2(!check.hasError(), qPrintable(check.errorString()));
    QCOMPARE(elements, QStringList({"urn:kelvari:ext Ballistics", "urn:kelvari:default Release"}));
    CompareReloaded(*widget);
}

void tst_cZRNetWidgets::interpretedAttributesAreWrittenOnce()
{
    auto* text = qobject_cast<cTextWidget*>(Load("<Widget id=\"7\" type=\"text\" x=\"0\" y=\"0\" width=\"0.2\" "
                                                 "height=\"0.1\" z=\"0\" text=\"Hello\" shadow=\"soft\"/>"));
    QVERIFY(text);
    text->GetTextProperty()->setStringValue("Changed");
    const QStringList attributes = XmlAttributes(WriteWidgetXml(*text));
    QCOMPARE(XmlAttributeNames(WriteWidgetXml(*text)).count("text"), 1);
    QVERIFY(attributes.contains("text=Changed"));
    QCOMPARE(attributes.last(), QString("shadow=soft"));
}

void tst_cZRNetWidgets::containerAndNetworkWidgetKeepUnknownContent()
{
    const QString xml = "<Widget id=\"10\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"1\" height=\"1\" z=\"0\" "
                        "numTabs=\"2\" skin=\"glass\"><Tab tabName=\"Inputs\"><Widget id=\"11\" channel=\"3\" "
                        "type=\"zrnet_fader\" x=\"0\" law=\"audio\" y=\"0\" width=\"0.1\" height=\"0.5\" z=\"0\">"
                        "<Scale><Mark db=\"0\"/></Scale></Widget></Tab><Tab tabName=\"Buses\"/>"
                        "<Notes author=\"front of house\">keep</Notes></Widget>";
    auto* container = qobject_cast<cTabContainer*>(Load(xml));
    QVERIFY(container);
    QCOMPARE(container->GetTabNameProperties().at(1)->stringValue(), QString("Buses"));
    QVERIFY(qobject_cast<cZRNetFaderWidget*>(container->GetTabs()->At(0)->GetWidgets().value(0)));
    // The attributes the widget writes come first, the kept ones follow in the file's order.
    const QString written = WriteWidgetXml(*container);
    QVERIFY(written.contains("<Widget id=\"11\" type=\"zrnet_fader\" x=\"0\" y=\"0\" width=\"0.1\" height=\"0.5\" "
                             "z=\"0\" channel=\"3\" law=\"audio\"><Scale><Mark db=\"0\"/></Scale></Widget>"));
    QVERIFY(written.endsWith("<Tab tabName=\"Buses\"/><Notes author=\"front of house\">keep</Notes></Widget>"));
    QCOMPARE(XmlAttributeNames(written).count("skin"), 1);
    CompareReloaded(*container);
}

QTEST_GUILESS_MAIN(tst_cZRNetWidgets)
#include "tst_cZRNetWidgets.moc"
