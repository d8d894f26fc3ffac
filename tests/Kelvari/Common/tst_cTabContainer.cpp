#include "support/WidgetXml.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cColourProperty.h"
#include "Kelvari/Common/cComboProperty.h"
#include "Kelvari/Common/cFontProperty.h"
#include "Kelvari/Common/cImageProperty.h"
#include "Kelvari/Common/cNumberOfTabsProperty.h"
#include "Kelvari/Common/cRectangleWidget.h"
#include "Kelvari/Common/cResourceNotifier.h"
#include "Kelvari/Common/cStringProperty.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Common/cTextWidget.h"
#include "Kelvari/Common/cWidgetFactoryBase.h"

#include <QQuickItem>
#include <QtTest>
#include <memory>

namespace
{
class cStandInConfig : public cResourceNotifier
{
public:
    void ImageResourceIdChanged() override {}
};

// Creates text, rectangle and tab container widgets, as the editor's factory does.
class cTestFactory : public cWidgetFactoryBase
{
public:
    explicit cTestFactory(const cResourceNotifier& config) : mConfig(config) {}

    cWidget* CreateFromXml(QXmlStreamReader& reader, const cConfigBase& config, QObject* parent,
                           std::shared_ptr<cKelvariConfigClient>& client) const override
    {
        int id = -1;
        QString type;
        if (!cWidget::LoadBaseAttributes(reader, id, type))
            return nullptr;
        cWidget* widget = nullptr;
        if (type == "text")
            widget = new cTextWidget(id, parent);
        else if (type == "rect")
            widget = new cRectangleWidget(id, parent);
        else if (type == "tab_container")
            widget = new cTabContainer(id, parent, mConfig);
        else
            widget = new cWidget(id, type, parent);
        widget->LoadAttributes(reader);
        widget->LoadSubXml(reader, config, parent, *this, client);
        return widget;
    }

private:
    const cResourceNotifier& mConfig;
};

QStringList Names(const cTabContainer& container)
{
    QStringList names;
    for (const cTab* tab : container.GetTabs()->Items())
        names << tab->tabName();
    return names;
}

QList<int> Ids(const QList<cWidget*>& widgets)
{
    QList<int> ids;
    for (const cWidget* widget : widgets)
        ids << widget->GetId();
    return ids;
}

}

class tst_cTabContainer : public QObject
{
    Q_OBJECT

private:
    // Reads a tab container's element through the test factory; the owner
    // (standing for the layout page) becomes the parent of every widget.
    cTabContainer* Read(const QString& xml, bool* atEnd = nullptr)
    {
        QXmlStreamReader reader(xml);
        reader.readNextStartElement();
        std::shared_ptr<cKelvariConfigClient> client;
        // The test factory never reads the config document it is handed.
        const auto& config = reinterpret_cast<const cConfigBase&>(mConfig);
        cWidget* widget = cTestFactory(mConfig).CreateFromXml(reader, config, mOwner.get(), client);
        if (atEnd)
            *atEnd = reader.isEndElement() && reader.name() == QLatin1String("Widget") && !reader.hasError();
        return qobject_cast<cTabContainer*>(widget);
    }

    cTabContainer* NewContainer() { return new cTabContainer(1, mOwner.get(), mConfig); }
    cWidget* NewRect(int id) { return new cRectangleWidget(id, mOwner.get()); }

    cStandInConfig mConfig;
    std::unique_ptr<QObject> mOwner;

private slots:
    void init() { mOwner = std::make_unique<QObject>(); }
    void cleanup() { mOwner.reset(); }

    void newContainerHasFourTabsAndItsProperties();
    void numberOfTabsBuildsTabsWithinTheLimits_data();
    void numberOfTabsBuildsTabsWithinTheLimits();

    void childrenOfOtherTabsAreHidden();
    void shrinkingPastTheCurrentTabMovesToTheLastTab();
    void positionsNamingNoTabAreRefused();
    void locationsFollowAddAndRemove();
    void onlineAndOfflineReachEveryChild();
    void pageItemsKeepViewOrder();

    void valuesArePushedIntoQmlItems();
    void imageSignalsAreForwarded();

    void attributesAreWrittenInOrder();
    void roundTripKeepsEveryChildInItsTab();
    void attributesAreRead_data();
    void attributesAreRead();
    void extraTabElementsRaiseTheNumberOfTabs();
    void tabsPastTheMaximumAreSkipped();
    void failingWidgetIsSkippedWhole();
    void otherElementsTakeATabPosition();
};

void tst_cTabContainer::newContainerHasFourTabsAndItsProperties()
{
    cTabContainer* container = NewContainer();
    QCOMPARE(Names(*container), QStringList({"1", "2", "3", "4"}));
    QVERIFY(container->property("isContainer").toBool());

    QStringList names;
    QStringList visible;
    for (const cProperty* property : container->GetProperties())
    {
        names << property->name();
        if (property->visible())
            visible << property->name();
    }
    QStringList expected = {"X", "Y", "Width", "Height", "Z", "Tab Position", "Font", "Colour Off", "Image Off",
                            "Colour On", "Image On", "Number of tabs"};
    for (int k = 1; k <= 10; ++k)
        expected << QStringLiteral("Tab %1").arg(k);
    QCOMPARE(names, expected);
    QCOMPARE(visible.mid(visible.indexOf("Tab 1")), QStringList({"Tab 1", "Tab 2", "Tab 3", "Tab 4"}));

    cTab* second = container->GetTabs()->At(1);
    QSignalSpy renamed(second, &cTab::tabNameChanged);
    container->GetTabNameProperties().at(1)->setStringValue("Inputs");
    container->GetTabNameProperties().at(1)->setStringValue("Inputs");
    QCOMPARE(second->tabName(), QString("Inputs"));
    QCOMPARE(renamed.count(), 1);
}

void tst_cTabContainer::numberOfTabsBuildsTabsWithinTheLimits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<QStringList>("tabs");

    QTest::newRow("six") << 6 << QStringList({"1", "2", "3", "4", "5", "6"});
    QTest::newRow("negative gives one") << -3 << QStringList({"1"});
    QTest::newRow("25 gives ten") << 25 << QStringList({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"});
}

void tst_cTabContainer::numberOfTabsBuildsTabsWithinTheLimits()
{
    QFETCH(int, value);
    QFETCH(QStringList, tabs);
    cTabContainer* container = NewContainer();

    container->GetNumberOfTabsProperty()->SetIntValue(value);

    QCOMPARE(Names(*container), tabs);
    QCOMPARE(container->GetNumberOfTabsProperty()->IntValue(), value);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(container->GetTabNameProperties().at(i)->visible(), i < tabs.size());
}

void tst_cTabContainer::childrenOfOtherTabsAreHidden()
{
    cTabContainer* container = NewContainer();
    cWidget* first = NewRect(2);
    auto* inner = new cTabContainer(3, mOwner.get(), mConfig);
    cWidget* leaf = NewRect(4);
    inner->AddContainerChild(leaf, 0);
    container->AddContainerChild(first, 0);
    container->AddContainerChild(inner, 2);
    QVERIFY(first->IsVisible());
    QVERIFY(!inner->IsVisible() && !leaf->IsVisible());
    QSignalSpy changed(container, &cTabContainer::currentTabIndexChanged);

    container->setCurrentTabIndex(2);
    container->setCurrentTabIndex(2);
    QVERIFY(leaf->IsVisible());
    QVERIFY(!first->IsVisible());
    QCOMPARE(changed.count(), 1);

    // Hidden, the container hides every tab; shown again, only the current one.
    container->SetIsVisible(false);
    container->setCurrentTabIndex(0);
    QVERIFY(!first->IsVisible());
    container->SetIsVisible(true);
    QVERIFY(first->IsVisible());
    QVERIFY(!leaf->IsVisible());
}

void tst_cTabContainer::shrinkingPastTheCurrentTabMovesToTheLastTab()
{
    cTabContainer* container = NewContainer();
    cWidget* onSecond = NewRect(2);
    cWidget* onFourth = NewRect(3);
    container->AddContainerChild(onSecond, 1);
    container->AddContainerChild(onFourth, 3);
    container->setCurrentTabIndex(3);
    QSignalSpy changed(container, &cTabContainer::currentTabIndexChanged);

    container->GetNumberOfTabsProperty()->SetIntValue(2);

    QCOMPARE(container->currentTabIndex(), 1);
    QCOMPARE(changed.count(), 1);
    QVERIFY(onSecond->IsVisible());
    QVERIFY(!onFourth->IsVisible());
}

void tst_cTabContainer::positionsNamingNoTabAreRefused()
{
    cTabContainer* container = NewContainer();
    cWidget* child = NewRect(2);
    cTraceCapture trace;

    container->AddContainerChild(child, 4);
    container->setCurrentTabIndex(-1);
    container->setCurrentTabIndex(7);
    container->SetTabChildrenVisibility(9, false);

    QCOMPARE(container->getContainerLocation(child), -1);
    QCOMPARE(container->GetWidgetChildren()->count(), 0);
    QCOMPARE(container->currentTabIndex(), 0);
    QVERIFY(container->LinkedContainerQuickItems(5).isEmpty());
    QCOMPARE(trace.LinesContaining("Tab container 1 has no tab 4 for widget 2").size(), 1);
    QCOMPARE(trace.LinesContaining("has no tab 7 to show").size(), 1);
}

void tst_cTabContainer::locationsFollowAddAndRemove()
{
    cTabContainer* container = NewContainer();
    cWidget* child = NewRect(2);
    cWidget* stranger = NewRect(3);

    container->AddContainerChild(child, 1);
    container->AddContainerChild(child, 3);
    QVERIFY(container->GetTabs()->At(1)->GetWidgets().isEmpty());
    QCOMPARE(container->getContainerLocation(child), 3);
    QCOMPARE(container->GetWidgetChildren()->Items(), QList<cWidget*>({child}));
    QCOMPARE(container->GetTabs()->At(3)->GetWidgets(), QList<cWidget*>({child}));

    container->RemoveContainerChild(stranger);
    container->RemoveContainerChild(nullptr);
    QCOMPARE(container->GetWidgetChildren()->count(), 1);

    container->RemoveContainerChild(child);
    QCOMPARE(container->getContainerLocation(child), -1);
    QVERIFY(container->GetWidgetChildren()->isEmpty());
    QVERIFY(container->GetTabs()->At(3)->GetWidgets().isEmpty());
    QCOMPARE(child->parent(), mOwner.get());
}

void tst_cTabContainer::onlineAndOfflineReachEveryChild()
{
    cTabContainer* container = NewContainer();
    cWidget* first = NewRect(2);
    cWidget* other = NewRect(3);
    container->AddContainerChild(first, 0);
    container->AddContainerChild(other, 2);

    container->SetOnline(nullptr);
    QVERIFY(container->IsOnline() && first->IsOnline() && other->IsOnline());

    other->SetDisabled(true);
    container->SetOffline();
    QVERIFY(!container->IsOnline() && !first->IsOnline() && !other->IsOnline());
    QVERIFY(!other->IsDisabled());
}

void tst_cTabContainer::pageItemsKeepViewOrder()
{
    cTabContainer* container = NewContainer();
    cTab* tab = container->GetTabs()->At(1);
    QQuickItem thumbnail;
    QQuickItem editor;
    auto* runner = new QQuickItem;

    tab->addLinkedContainerQuickItem(&thumbnail, false);
    tab->addLinkedContainerQuickItem(runner, false);
    tab->addLinkedContainerQuickItem(&editor, true);
    QCOMPARE(container->LinkedContainerQuickItems(1), QList<QQuickItem*>({&editor, &thumbnail, runner}));

    delete runner;
    QCOMPARE(container->LinkedContainerQuickItems(1), QList<QQuickItem*>({&editor, &thumbnail}));
    QVERIFY(container->LinkedContainerQuickItems(0).isEmpty());
}

void tst_cTabContainer::valuesArePushedIntoQmlItems()
{
    cTabContainer* container = NewContainer();
    QQuickItem item;
    container->GetFontProperty()->setStringValue("breeserif");
    container->GetImageOnProperty()->setStringValue("12");
    container->GetColourOffProperty()->setStringValue("#102030");

    container->setQQuickItem(&item, true);
    QCOMPARE(item.property("textFont").toString(), QString("breeserif"));
    QCOMPARE(item.property("imageOnIdentifier").toString(), QString("12"));
    QCOMPARE(item.property("imageOffIdentifier").toString(), QString("_basic"));
    QCOMPARE(item.property("tabOnColour").value<QColor>(), QColor("white"));
    QCOMPARE(item.property("tabOffColour").value<QColor>(), QColor("#102030"));
    QCOMPARE(item.property("tabPosition").toString(), QString("top"));

    container->GetTabPositionProperty()->setIntValue(1);
    QCOMPARE(item.property("tabPosition").toString(), QString("bottom"));
}

void tst_cTabContainer::imageSignalsAreForwarded()
{
    cTabContainer* container = NewContainer();
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

void tst_cTabContainer::attributesAreWrittenInOrder()
{
    cTabContainer* container = NewContainer();
    container->GetNumberOfTabsProperty()->SetIntValue(3);
    container->GetTabPositionProperty()->setIntValue(1);
    container->AddContainerChild(NewRect(2), 1);
    container->AddContainerChild(NewRect(3), 1);

    const QString xml = WriteWidgetXml(*container);
    QCOMPARE(XmlAttributes(xml).mid(7), QStringList({"numTabs=3", "textFont=lato", "onImageResourceId=_basic",
                                                     "offImageResourceId=_basic", "tabOnColour=#ffffff",
                                                     "tabOffColour=#a9a9a9", "tabPosition=bottom"}));
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    QStringList tabs;
    while (reader.readNextStartElement())
    {
        QStringList ids;
        const QString name = reader.attributes().value("tabName").toString();
        while (reader.readNextStartElement())
        {
            ids << reader.attributes().value("id").toString();
            reader.skipCurrentElement();
        }
        tabs << QStringLiteral("%1:%2").arg(name, ids.join(','));
    }
    QCOMPARE(tabs, QStringList({"1:", "2:2,3", "3:"}));
}

void tst_cTabContainer::roundTripKeepsEveryChildInItsTab()
{
    cTabContainer* container = NewContainer();
    container->GetNumberOfTabsProperty()->SetIntValue(5);
    container->GetTabNameProperties().at(4)->setStringValue("Outputs & FX");
    container->GetImageOffProperty()->setStringValue("default_th_0_btn_off_0");
    container->AddContainerChild(NewRect(2), 4);
    container->AddContainerChild(new cTextWidget(3, mOwner.get()), 0);
    container->AddContainerChild(NewRect(4), 4);
    auto* inner = new cTabContainer(5, mOwner.get(), mConfig);
    inner->AddContainerChild(NewRect(6), 1);
    container->AddContainerChild(inner, 2);
    const QString written = WriteWidgetXml(*container);

    bool atEnd = false;
    cTabContainer* read = Read(written, &atEnd);

    QVERIFY(read);
    QVERIFY(atEnd);
    QCOMPARE(WriteWidgetXml(*read), written);
    QCOMPARE(Names(*read), QStringList({"1", "2", "3", "4", "Outputs & FX"}));
    QCOMPARE(Ids(read->GetTabs()->At(4)->GetWidgets()), QList<int>({2, 4}));
    QCOMPARE(Ids(read->GetTabs()->At(0)->GetWidgets()), QList<int>({3}));
    QMap<int, int> locations;
    for (cWidget* child : read->GetWidgetChildren()->Items())
        locations.insert(child->GetId(), read->getContainerLocation(child));
    QCOMPARE(locations, (QMap<int, int>{{2, 4}, {3, 0}, {4, 4}, {5, 2}}));
    auto* readInner = qobject_cast<cTabContainer*>(read->GetTabs()->At(2)->GetWidgets().value(0));
    QVERIFY(readInner);
    QCOMPARE(readInner->parent(), mOwner.get());
    QCOMPARE(Ids(readInner->GetTabs()->At(1)->GetWidgets()), QList<int>({6}));
    QVERIFY(!readInner->IsVisible());
}

void tst_cTabContainer::attributesAreRead_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<int>("numberOfTabs");
    QTest::addColumn<int>("tabs");
    QTest::addColumn<QString>("font");
    QTest::addColumn<QString>("onColour");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("trace");

    QTest::newRow("all") << "numTabs=\"6\" textFont=\"glegoo\" tabOnColour=\"#ff0000\" tabPosition=\"bottom\""
                         << 6 << 6 << "glegoo" << "#ff0000" << 1 << "";
    QTest::newRow("no number") << "numTabs=\"many\"" << 0 << 1 << "lato" << "#ffffff" << 0 << "";
    QTest::newRow("above ten") << "numTabs=\"12\"" << 12 << 10 << "lato" << "#ffffff" << 0 << "";
    QTest::newRow("unknown position") << "tabPosition=\"left\"" << 4 << 4 << "lato" << "#ffffff" << 0
                                      << "Property 'Tab Position' has unknown code 'left'";
    QTest::newRow("bad colour kept") << "tabOnColour=\"nocolour\"" << 4 << 4 << "lato" << "#ffffff" << 0 << "";
}

void tst_cTabContainer::attributesAreRead()
{
    QFETCH(QString, attributes);
    QFETCH(int, numberOfTabs);
    QFETCH(int, tabs);
    QFETCH(QString, font);
    QFETCH(QString, onColour);
    QFETCH(int, position);
    QFETCH(QString, trace);
    cTraceCapture capture;

    cTabContainer* container =
        Read(QStringLiteral("<Widget id=\"9\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"0.4\" height=\"0.4\" %1/>")
                 .arg(attributes));

    QVERIFY(container);
    QCOMPARE(container->GetNumberOfTabsProperty()->IntValue(), numberOfTabs);
    QCOMPARE(container->GetTabs()->count(), tabs);
    QCOMPARE(container->GetFontProperty()->stringValue(), font);
    QCOMPARE(container->GetColourOnProperty()->stringValue(), onColour);
    QCOMPARE(container->GetTabPositionProperty()->IntValue(), position);
    if (!trace.isEmpty())
        QCOMPARE(capture.LinesContaining(trace).size(), 1);
}

void tst_cTabContainer::extraTabElementsRaiseTheNumberOfTabs()
{
    cTraceCapture trace;
    cTabContainer* container = Read("<Widget id=\"1\" type=\"tab_container\" numTabs=\"2\">"
                                    "<Tab/><Tab/><Tab tabName=\"Late\"><Widget id=\"2\" type=\"rect\"/></Tab>"
                                    "</Widget>");

    QCOMPARE(container->GetNumberOfTabsProperty()->IntValue(), 3);
    QCOMPARE(Names(*container), QStringList({"1", "2", "Late"}));
    QCOMPARE(Ids(container->GetTabs()->At(2)->GetWidgets()), QList<int>({2}));
    QCOMPARE(trace.LinesContaining("holds more tabs than its number of tabs; raised to 3").size(), 1);
    QVERIFY(WriteWidgetXml(*container).contains("<Widget id=\"2\""));
}

void tst_cTabContainer::tabsPastTheMaximumAreSkipped()
{
    QString xml = "<Widget id=\"1\" type=\"tab_container\" numTabs=\"10\">";
    for (int k = 1; k <= 11; ++k)
        xml += QStringLiteral("<Tab tabName=\"T%1\"><Widget id=\"%2\" type=\"rect\"/></Tab>").arg(k).arg(k + 10);
    xml += "<Widget id=\"99\" type=\"rect\"/></Widget>";
    cTraceCapture trace;
    bool atEnd = false;

    cTabContainer* container = Read(xml, &atEnd);

    QVERIFY(atEnd);
    QCOMPARE(container->GetTabs()->count(), 10);
    QCOMPARE(container->GetWidgetChildren()->count(), 10);
    QCOMPARE(mOwner->findChildren<cRectangleWidget*>().size(), 10);
    QCOMPARE(Names(*container).last(), QString("T10"));
    QCOMPARE(trace.LinesContaining("Tab 11 of tab container 1 is past the maximum of 10 tabs").size(), 1);
}

void tst_cTabContainer::failingWidgetIsSkippedWhole()
{
    cTraceCapture trace;
    bool atEnd = false;
    cTabContainer* container =
        Read("<Widget id=\"1\" type=\"tab_container\"><Tab>"
             "<Widget id=\"2\" type=\"rect\"/>"
             "<Widget type=\"tab_container\"><Tab><Widget id=\"3\" type=\"rect\"/></Tab></Widget>"
             "<Widget id=\"4\" type=\"rect\"/>"
             "</Tab><Tab><Widget id=\"5\" type=\"rect\"/></Tab></Widget>",
             &atEnd);

    QVERIFY(atEnd);
    QCOMPARE(Ids(container->GetTabs()->At(0)->GetWidgets()), QList<int>({2, 4}));
    QCOMPARE(Ids(container->GetTabs()->At(1)->GetWidgets()), QList<int>({5}));
    QCOMPARE(trace.LinesContaining("Error loading widget id").size(), 1);
}

void tst_cTabContainer::otherElementsTakeATabPosition()
{
    cTabContainer* container = Read("<Widget id=\"1\" type=\"tab_container\">"
                                    "<Tab tabName=\"A\"><Note/><Widget id=\"2\" type=\"rect\"/></Tab>"
                                    "<Note/><Tab tabName=\"C\"><Widget id=\"3\" type=\"rect\"/></Tab><Tab/></Widget>");

    QCOMPARE(Names(*container), QStringList({"A", "2", "C", "4"}));
    QCOMPARE(container->getContainerLocation(container->GetWidgetChildren()->At(0)), 0);
    QCOMPARE(container->getContainerLocation(container->GetWidgetChildren()->At(1)), 2);
}

QTEST_MAIN(tst_cTabContainer)

#include "tst_cTabContainer.moc"
