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
        cWidget* widget = type == "text"            ? new cTextWidget(id, parent)
                          : type == "rect"          ? new cRectangleWidget(id, parent)
                          : type == "tab_container" ? new cTabContainer(id, parent, mConfig)
                                                    : new cWidget(id, type, parent);
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
    // Reads an element through the test factory; the owner stands for the layout page.
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

    cTabContainer* NewContainer(int id = 1) { return new cTabContainer(id, mOwner.get(), mConfig); }
    cWidget* NewRect(int id) { return new cRectangleWidget(id, mOwner.get()); }

    cStandInConfig mConfig;
    std::unique_ptr<QObject> mOwner;

private slots:
    void init() { mOwner = std::make_unique<QObject>(); }
    void cleanup() { mOwner.reset(); }

    void numberOfTabsBuildsTabsWithinTheLimits_data();
    void numberOfTabsBuildsTabsWithinTheLimits();
    void currentTabDecidesChildVisibility();
    void positionsNamingNoTabAreRefused();
    void locationsFollowAddAndRemove();
    void onlineAndOfflineReachEveryChild();
    void pageItemsKeepViewOrder();
    void valuesAndImageSignalsReachQml();

    void attributesAndTabsAreWrittenInOrder();
    void roundTripKeepsEveryChildInItsTab();
    void attributesAreRead_data();
    void attributesAreRead();
    void extraTabElementsRaiseTheNumberOfTabs();
    void tabsPastTheMaximumAreSkipped();
    void failingWidgetIsSkippedWhole();
};

void tst_cTabContainer::numberOfTabsBuildsTabsWithinTheLimits_data()
{
    QTest::addColumn<int>("value");
    QTest::addColumn<int>("tabs");
    QTest::newRow("four by default") << 0 << 4;
    QTest::newRow("six") << 6 << 6;
    QTest::newRow("negative gives one") << -3 << 1;
    QTest::newRow("25 gives ten") << 25 << 10;
}

void tst_cTabContainer::numberOfTabsBuildsTabsWithinTheLimits()
{
    QFETCH(int, value);
    QFETCH(int, tabs);
    cTabContainer* container = NewContainer();
    if (value)
        container->GetNumberOfTabsProperty()->SetIntValue(value);

    QStringList expected;
    for (int k = 1; k <= tabs; ++k)
        expected << QString::number(k);
    QCOMPARE(Names(*container), expected);
    QCOMPARE(container->GetTabNameProperties().size(), 10);
    for (int i = 0; i < 10; ++i)
        QCOMPARE(container->GetTabNameProperties().at(i)->visible(), i < tabs);

    cTab* first = container->GetTabs()->At(0);
    QSignalSpy renamed(first, &cTab::tabNameChanged);
    container->GetTabNameProperties().at(0)->setStringValue("Inputs");
    container->GetTabNameProperties().at(0)->setStringValue("Inputs");
    QCOMPARE(first->tabName(), QString("Inputs"));
    QCOMPARE(renamed.count(), 1);
}

void tst_cTabContainer::currentTabDecidesChildVisibility()
{
    cTabContainer* container = NewContainer();
    cWidget* first = NewRect(2);
    cTabContainer* inner = NewContainer(3);
    cWidget* leaf = NewRect(4);
    cWidget* onFourth = NewRect(5);
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

    container->AddContainerChild(child, 1);
    container->AddContainerChild(child, 3);
    QVERIFY(container->GetTabs()->At(1)->GetWidgets().isEmpty());
    QCOMPARE(container->getContainerLocation(child), 3);
    QCOMPARE(container->GetWidgetChildren()->Items(), QList<cWidget*>({child}));

    container->RemoveContainerChild(NewRect(3));
    container->RemoveContainerChild(nullptr);
    QCOMPARE(container->GetWidgetChildren()->count(), 1);
    container->RemoveContainerChild(child);
    QCOMPARE(container->getContainerLocation(child), -1);
    QVERIFY(container->GetWidgetChildren()->isEmpty() && container->GetTabs()->At(3)->GetWidgets().isEmpty());
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
}

void tst_cTabContainer::valuesAndImageSignalsReachQml()
{
    cTabContainer* container = NewContainer();
    QQuickItem item;
    container->GetFontProperty()->setStringValue("breeserif");
    container->GetImageOnProperty()->setStringValue("5");
    container->GetImageOffProperty()->setStringValue("6");
    container->GetColourOffProperty()->setStringValue("#102030");

    container->setQQuickItem(&item, true);
    QCOMPARE(item.property("textFont").toString(), QString("breeserif"));
    QCOMPARE(item.property("imageOnIdentifier").toString(), QString("5"));
    QCOMPARE(item.property("tabOffColour").value<QColor>(), QColor("#102030"));

    QSignalSpy on(container, &cTabContainer::onImageChanged);
    QSignalSpy off(container, &cTabContainer::offImageChanged);
    emit mConfig.ResourceChanged("5");
    emit mConfig.ResourceRemoved("6");
    emit mConfig.ResourceInserted("7");
    QCOMPARE(on.count(), 1);
    QCOMPARE(off.count(), 1);
}

void tst_cTabContainer::attributesAndTabsAreWrittenInOrder()
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
        tabs << name + ":" + ids.join(',');
    }
    QCOMPARE(tabs, QStringList({"1:", "2:2,3", "3:"}));
}

void tst_cTabContainer::roundTripKeepsEveryChildInItsTab()
{
    cTabContainer* container = NewContainer();
    container->GetNumberOfTabsProperty()->SetIntValue(5);
    container->GetTabNameProperties().at(4)->setStringValue("Outputs & FX");
    container->AddContainerChild(NewRect(2), 4);
    container->AddContainerChild(new cTextWidget(3, mOwner.get()), 0);
    container->AddContainerChild(NewRect(4), 4);
    cTabContainer* inner = NewContainer(5);
    inner->AddContainerChild(NewRect(6), 1);
    container->AddContainerChild(inner, 2);
    const QString written = WriteWidgetXml(*container);

    bool atEnd = false;
    cTabContainer* read = Read(written, &atEnd);

    QVERIFY(read && atEnd);
    QCOMPARE(WriteWidgetXml(*read), written);
    QCOMPARE(Names(*read), QStringList({"1", "2", "3", "4", "Outputs & FX"}));
    QMap<int, int> locations;
    for (cWidget* child : read->GetWidgetChildren()->Items())
        locations.insert(child->GetId(), read->getContainerLocation(child));
    QCOMPARE(locations, (QMap<int, int>{{2, 4}, {3, 0}, {4, 4}, {5, 2}}));
    QCOMPARE(Ids(read->GetTabs()->At(4)->GetWidgets()), QList<int>({2, 4}));
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
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("trace");

    QTest::newRow("all") << "numTabs=\"6\" textFont=\"glegoo\" tabOnColour=\"#ff0000\" tabPosition=\"bottom\""
                         << 6 << 6 << 1 << "";
    QTest::newRow("no number") << "numTabs=\"many\" tabOnColour=\"nocolour\"" << 0 << 1 << 0 << "";
    QTest::newRow("above ten") << "numTabs=\"12\"" << 12 << 10 << 0 << "";
    QTest::newRow("unknown position") << "tabPosition=\"left\"" << 4 << 4 << 0
                                      << "Property 'Tab Position' has unknown code 'left'";
}

void tst_cTabContainer::attributesAreRead()
{
    QFETCH(QString, attributes);
    QFETCH(int, numberOfTabs);
    QFETCH(int, tabs);
    QFETCH(int, position);
    QFETCH(QString, trace);
    cTraceCapture capture;

    cTabContainer* container =
        Read(QStringLiteral("<Widget id=\"9\" type=\"tab_container\" x=\"0\" y=\"0\" width=\"0.4\" height=\"0.4\" %1/>")
                 .arg(attributes));

    QVERIFY(container);
    QCOMPARE(container->GetNumberOfTabsProperty()->IntValue(), numberOfTabs);
    QCOMPARE(container->GetTabs()->count(), tabs);
    QCOMPARE(container->GetTabPositionProperty()->IntValue(), position);
    const bool all = QByteArray(QTest::currentDataTag()) == "all";
    QCOMPARE(container->GetFontProperty()->stringValue(), QString(all ? "glegoo" : "lato"));
    QCOMPARE(container->GetColourOnProperty()->stringValue(), QString(all ? "#ff0000" : "#ffffff"));
    if (!trace.isEmpty())
        QCOMPARE(capture.LinesContaining(trace).size(), 1);
}

void tst_cTabContainer::extraTabElementsRaiseTheNumberOfTabs()
{
    cTraceCapture trace;
    cTabContainer* container = Read("<Widget id=\"1\" type=\"tab_container\" numTabs=\"2\">"
                                    "<Tab/><Note/><Tab tabName=\"Late\"><Widget id=\"2\" type=\"rect\"/></Tab>"
                                    "</Widget>");

    // An unknown element still takes a tab position.
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

QTEST_MAIN(tst_cTabContainer)

#include "tst_cTabContainer.moc"
