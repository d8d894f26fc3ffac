#include "cFakeLayoutConfig.h"
#include "support/cTraceCapture.h"

#include "Kelvari/Common/cImageWidget.h"
#include "Kelvari/Common/cTabContainer.h"
#include "Kelvari/Editor/cLayout.h"

#include <QSignalSpy>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <QtTest>
#include <memory>

namespace
{
std::unique_ptr<cLayout> ReadLayout(const QString& xml, cFakeLayoutConfig& config)
{
    QXmlStreamReader reader(xml);
    reader.readNextStartElement();
    std::unique_ptr<cLayout> layout(cLayout::CreateFromXml(reader, config));
    // The whole element is consumed.
    reader.readNext();
    if (!reader.isEndDocument())
        qWarning("Layout element not consumed: %s", qPrintable(reader.tokenString()));
    return layout;
}

QString WriteLayout(const cLayout& layout)
{
    QString xml;
    QXmlStreamWriter writer(&xml);
    layout.WriteXml(writer);
    return xml;
}
}

class tst_cLayout : public QObject
{
    Q_OBJECT

private slots:
    void attributeValuesAreReadAsIntegers_data();
    void attributeValuesAreReadAsIntegers();
    void defaultDetailsAreWrittenInOrder();
    void layoutRoundTripKeepsDetailsWidgetsAndNesting();
    void widgetsThatFailToLoadAreSkippedWhole();
    void detailsFromQmlAreRecordedAndUndoneThroughTheConfig();
    void resourceIdsInUseAreSortedAndUnique();
};

void tst_cLayout::attributeValuesAreReadAsIntegers_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<bool>("allUsers");
    QTest::addColumn<int>("aspectRatio1");
    QTest::newRow("two is true, true is not") << "allUsers=\"2\" phone=\"true\"" << true << 4;
    QTest::newRow("unreadable number") << "aspectRatio1=\"x\"" << true << 0;
    QTest::newRow("last of a repeat wins") << "allUsers=\"0\" unknown=\"1\" allUsers=\"1\"" << true << 4;
}

void tst_cLayout::attributeValuesAreReadAsIntegers()
{
    QFETCH(QString, attributes);
    QFETCH(bool, allUsers);
    QFETCH(int, aspectRatio1);
    cFakeLayoutConfig config;
    QXmlStreamReader reader("<Layout " + attributes + "/>");
    reader.readNextStartElement();
    // A repeated attribute is an XML error only once the reader moves on.
    std::unique_ptr<cLayout> layout(cLayout::CreateFromXml(reader, config));
    QCOMPARE(layout->allUsers(), allUsers);
    QCOMPARE(layout->aspectRatio1(), aspectRatio1);
    QCOMPARE(layout->phone(), !attributes.contains("phone"));
}

void tst_cLayout::defaultDetailsAreWrittenInOrder()
{
    cFakeLayoutConfig config;
    const auto layout = ReadLayout("<Layout/>", config);
    QCOMPARE(layout->LayoutDetails(), sLayoutDetails());
    QCOMPARE(WriteLayout(*layout),
             QString("<Layout name=\"\" allUsers=\"1\" users=\"\" desktop=\"1\" phone=\"1\" tablet=\"1\" "
                     "orientation=\"0\" allScenes=\"1\" scenes=\"\" fixedAspectRatio=\"0\" aspectRatio1=\"4\" "
                     "aspectRatio2=\"3\"/>"));
}

// Widgets of unknown types and their content are kept in the document's own round trip.
void tst_cLayout::layoutRoundTripKeepsDetailsWidgetsAndNesting()
{
    const QString details =
        "<Layout name=\"Main &amp; more\" allUsers=\"0\" users=\"ann,bob\" desktop=\"0\" phone=\"1\" tablet=\"0\" "
        "orientation=\"2\" allScenes=\"0\" scenes=\"Live\" fixedAspectRatio=\"1\" aspectRatio1=\"16\" "
        "aspectRatio2=\"9\">";
    const QString xml =
        details + "<Widget id=\"9\" type=\"rect\" x=\"0.1\" y=\"0.2\" width=\"0.3\" height=\"0.4\" z=\"1\"/>"
                  "<Widget id=\"2\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" numTabs=\"3\">"
                  "<Tab tabName=\"A\"/><Tab tabName=\"B\"/>"
                  "<Tab tabName=\"C\"><Widget id=\"5\" type=\"tab_container\" width=\"0.5\" height=\"0.5\">"
                  "<Tab tabName=\"inner\"><Widget id=\"57\" type=\"text\" width=\"0.1\" height=\"0.1\"/>"
                  "</Tab></Widget></Tab></Widget>"
                  "</Layout>";
    cFakeLayoutConfig config;
    const auto layout = ReadLayout(xml, config);
    QCOMPARE(layout->name(), QString("Main & more"));
    QCOMPARE(Ids(layout->GetWidgets()->Items()), QList<int>({9, 2}));
    auto* outer = qobject_cast<cTabContainer*>(layout->GetWidgets()->At(1));
    auto* inner = qobject_cast<cTabContainer*>(outer->GetTabs()->At(2)->GetWidgets().value(0));
    QVERIFY(inner);
    QCOMPARE(layout->GetNestingLevel(inner->GetWidgetChildren()->At(0)), 2);
    QCOMPARE(config.mNextId, 58);
    // Loading records nothing.
    QVERIFY(!layout->hasUndo());

    const QString written = WriteLayout(*layout);
    QVERIFY2(written.startsWith(details), qPrintable(written));
    cFakeLayoutConfig again;
    QCOMPARE(WriteLayout(*ReadLayout(written, again)), written);
}

void tst_cLayout::widgetsThatFailToLoadAreSkippedWhole()
{
    cFakeLayoutConfig config;
    cTraceCapture trace;
    const auto layout = ReadLayout(
        "<Layout>"
        "<Widget type=\"rect\" width=\"0.1\" height=\"0.1\"><Extra/></Widget>"
        "<Widget id=\"1\" type=\"rect\" x=\"-0.5\" width=\"0.1\" height=\"0.1\"/>"
        "<Notes><Widget id=\"50\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Notes>"
        "<Widget id=\"2\" type=\"tab_container\" width=\"-0.4\" height=\"0.5\">"
        "<Tab><Widget id=\"60\" type=\"rect\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
        "<Widget id=\"3\" type=\"text\" width=\"0.1\" height=\"0.1\"/>"
        "</Layout>",
        config);
    QCOMPARE(Ids(layout->GetWidgets()->Items()), QList<int>({1, 3}));
    QCOMPARE(trace.LinesContaining("Error loading widget coords").size(), 1);
    QCOMPARE(trace.LinesContaining("Error loading widget id").size(), 1);
    // Only widgets on the page count, not those of skipped elements, which are gone with their children.
    QCOMPARE(config.mNextId, 4);
    QCOMPARE(layout->findChildren<cWidget*>().size(), 2);
}

void tst_cLayout::detailsFromQmlAreRecordedAndUndoneThroughTheConfig()
{
    cFakeLayoutConfig config;
    cLayout layout(config);
    QSignalSpy nameSpy(&layout, &cLayout::nameChanged);
    QSignalSpy usersSpy(&layout, &cLayout::usersChanged);

    layout.setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "");
    QCOMPARE(nameSpy.count() + usersSpy.count(), 0);
    // A pasted layout's name is set without an undo step.
    layout.setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, true, "Pasted");
    QCOMPARE(nameSpy.count(), 1);
    QCOMPARE(config.mNameChanges, 1);
    QVERIFY(config.mDetailsChanges.isEmpty());

    layout.setLayoutDetails(false, "ann", true, false, true, 0, true, "", false, 4, 3, false, "Pasted");
    QCOMPARE(usersSpy.count(), 1);
    QCOMPARE(nameSpy.count(), 1);
    QCOMPARE(config.mDetailsChanges.size(), 1);
    QCOMPARE(config.mDetailsChanges.at(0).layout, &layout);
    QCOMPARE(config.mDetailsChanges.at(0).oldDetails.users, QString());
    QCOMPARE(config.mDetailsChanges.at(0).newDetails, layout.LayoutDetails());

    // Undo restores the details and tells the config, reversed.
    const sLayoutDetails changed = layout.LayoutDetails();
    config.mUndoManager.Undo();
    QCOMPARE(layout.users(), QString());
    QCOMPARE(layout.name(), QString("Pasted"));
    QCOMPARE(config.mDetailsChanges.last().oldDetails, changed);
    QCOMPARE(config.mDetailsChanges.last().newDetails, layout.LayoutDetails());
    config.mUndoManager.Redo();
    QCOMPARE(layout.LayoutDetails(), changed);
}

void tst_cLayout::resourceIdsInUseAreSortedAndUnique()
{
    cFakeLayoutConfig config;
    const auto layout = ReadLayout(
        "<Layout>"
        "<Widget id=\"1\" type=\"image\" width=\"0.1\" height=\"0.1\" resourceId=\"7\"/>"
        "<Widget id=\"2\" type=\"tab_container\" width=\"0.5\" height=\"0.5\" onImageResourceId=\"12\">"
        "<Tab><Widget id=\"3\" type=\"image\" width=\"0.1\" height=\"0.1\" resourceId=\"7\"/></Tab>"
        "</Widget></Layout>",
        config);
    QVERIFY(qobject_cast<cImageWidget*>(layout->GetWidgets()->At(0)));
    auto* tabs = qobject_cast<cTabContainer*>(layout->GetWidgets()->At(1));
    // A container's own pictures belong to the level that holds it.
    QCOMPARE(layout->GetResourceIdsUsed(tabs), QStringList{"7"});
    QCOMPARE(layout->GetResourceIdsUsed(nullptr), QStringList({"12", "7", "_basic"}));
}

QTEST_MAIN(tst_cLayout)
#include "tst_cLayout.moc"
