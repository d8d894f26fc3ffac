#include "ConfigTestData.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QtTest>

Q_DECLARE_METATYPE(sLayoutDetails)

using namespace ConfigTestData;

namespace
{
sLayoutDetails Details(const QString& name, int orientation = 0)
{
    sLayoutDetails details;
    details.name = name;
    details.orientation = orientation;
    return details;
}

void Add(cConfig& config, const sLayoutDetails& d)
{
    config.createNewLayout(d.allUsers, d.users, d.desktop, d.phone, d.tablet, d.orientation, d.allScenes, d.scenes,
                           d.fixedAspectRatio, d.aspectRatio1, d.aspectRatio2, d.name);
}
}

class tst_cConfig : public QObject
{
    Q_OBJECT

private slots:
    void resetGivesACleanDocumentAndDirtyFollowsSavePoints();
    void layoutsKeepTheirSortOrder_data();
    void layoutsKeepTheirSortOrder();
    void detailsChangeMovesTheLayoutUndoably();
    void duplicateChecksIgnoreTheGivenLayout();
    void detailsAreDuplicateOnlyWhenOneLayoutMatchesThemAll();
    void pasteRenumbersWidgetsAndWaitsForAcceptance();
    void discardAndCutLeaveTheListAsExpected();
    void selectedIndexFollowsTheFlaggedLayout();
};

void tst_cConfig::resetGivesACleanDocumentAndDirtyFollowsSavePoints()
{
    cConfig config(nullptr);
    Add(config, Details("A"));
    config.SetSavePoint();
    Add(config, Details("B"));
    config.SetNextId(40);
    config.setSelectedLayoutIndex(0);
    QPointer<cLayout> old = config.Layouts().At(0);

    config.Reset(true);

    QVERIFY(!old);
    QCOMPARE(config.Layouts().At(0)->LayoutDetails(), Details("Layout 1"));
    QCOMPARE(config.selectedLayoutIndex(), -1);
    QVERIFY(!config.dirty() && !config.hasUndo());
    QCOMPARE(config.GetNextId(), 0);

    // The emptied history is the saved state of the new document.
    Add(config, Details("C"));
    config.undoPressed();
    QVERIFY(!config.dirty());
    config.redoPressed();
    config.SetSavePoint();
    config.undoPressed();
    QVERIFY(config.dirty());
    config.redoPressed();
    QVERIFY(!config.dirty());
    // Edits inside a layout count as well.
    config.Layouts().At(0)->createAndAddWidget("rect", nullptr, -1, 0, 0, 0.1f, 0.1f);
    config.Layouts().At(0)->closeUndoBlock();
    QVERIFY(config.dirty());
}

void tst_cConfig::layoutsKeepTheirSortOrder_data()
{
    QTest::addColumn<sLayoutDetails>("first");
    QTest::addColumn<sLayoutDetails>("second");
    sLayoutDetails phone = Details("phone");
    phone.desktop = phone.tablet = false;
    sLayoutDetails tablet = Details("tablet");
    tablet.desktop = tablet.phone = false;
    QTest::newRow("phone false first") << tablet << phone;
    QTest::newRow("greater orientation first") << Details("portrait", 1) << Details("landscape");
    sLayoutDetails upper = Details("upper");
    sLayoutDetails lower = Details("lower");
    upper.allUsers = lower.allUsers = false;
    upper.users = "B";
    lower.users = "a";
    QTest::newRow("users by code unit") << upper << lower;
    sLayoutDetails someScenes = Details("scenes");
    someScenes.allScenes = false;
    QTest::newRow("all scenes false first") << someScenes << Details("all");
}

void tst_cConfig::layoutsKeepTheirSortOrder()
{
    QFETCH(sLayoutDetails, first);
    QFETCH(sLayoutDetails, second);
    for (const bool firstAddedFirst : {true, false})
    {
        cConfig config(nullptr);
        Add(config, firstAddedFirst ? first : second);
        Add(config, firstAddedFirst ? second : first);
        QCOMPARE(LayoutNames(config), QStringList({first.name, second.name}));
    }
}

void tst_cConfig::detailsChangeMovesTheLayoutUndoably()
{
    cConfig config(nullptr);
    Add(config, Details("C"));
    Add(config, Details("B", 1));
    Add(config, Details("A", 2));
    // Equal ones stay in the order they came.
    Add(config, Details("C2"));
    QCOMPARE(LayoutNames(config), QStringList({"A", "B", "C", "C2"}));

    cLayout* moved = config.Layouts().At(0);
    moved->setLayoutDetails(true, "", true, true, true, 0, true, "", false, 4, 3, false, "A2");
    QCOMPARE(LayoutNames(config), QStringList({"B", "C", "C2", "A2"}));
    config.undoPressed();
    QCOMPARE(LayoutNames(config), QStringList({"A", "B", "C", "C2"}));
    QCOMPARE(moved->orientation(), 2);
}

void tst_cConfig::duplicateChecksIgnoreTheGivenLayout()
{
    cConfig config(nullptr);
    config.createNewLayout(false, "ann", true, false, true, 0, false, "Live", false, 4, 3, "Main");
    Add(config, Details("Other"));
    cLayout* main = config.Layouts().At(0);

    QVERIFY(config.isLayoutNameDuplicate(nullptr, "Main"));
    QVERIFY(!config.isLayoutNameDuplicate(main, "Main") && !config.isLayoutNameDuplicate(nullptr, "main"));
    QVERIFY(config.isLayoutUsersDuplicate(nullptr, false, "ann") && !config.isLayoutUsersDuplicate(main, false, "ann"));
    // With all users, any other layout for all users matches whatever its text.
    QVERIFY(config.isLayoutUsersDuplicate(main, true, "bob"));
    QVERIFY(config.isLayoutScenesDuplicate(nullptr, false, "Live") && !config.isLayoutScenesDuplicate(nullptr, false, "x"));
    QVERIFY(config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 0));
    QVERIFY(!config.isLayoutDeviceInformationDuplicate(nullptr, true, false, true, 1));
}

void tst_cConfig::detailsAreDuplicateOnlyWhenOneLayoutMatchesThemAll()
{
    cConfig config(nullptr);
    // Each layout shares one of the three with the new details, none shares all.
    config.createNewLayout(false, "ann", true, true, true, 0, true, "", false, 4, 3, "Users");
    config.createNewLayout(true, "", false, true, false, 1, true, "", false, 4, 3, "Devices");
    config.createNewLayout(true, "", true, true, true, 0, false, "Live", false, 4, 3, "Scenes");
    QVERIFY(config.isLayoutUsersDuplicate(nullptr, false, "ann"));
    QVERIFY(config.isLayoutDeviceInformationDuplicate(nullptr, false, true, false, 1));
    QVERIFY(config.isLayoutScenesDuplicate(nullptr, false, "Live"));
    QVERIFY(!config.isLayoutDetailsDuplicate(nullptr, false, "ann", false, true, false, 1, false, "Live"));

    cLayout* scenes = nullptr;
    for (cLayout* layout : config.Layouts().Items())
        scenes = layout->name() == "Scenes" ? layout : scenes;
    QVERIFY(config.isLayoutDetailsDuplicate(nullptr, true, "", true, true, true, 0, false, "Live"));
    QVERIFY(!config.isLayoutDetailsDuplicate(scenes, true, "", true, true, true, 0, false, "Live"));
}

void tst_cConfig::pasteRenumbersWidgetsAndWaitsForAcceptance()
{
    cConfig config(nullptr);
    QVERIFY(config.ReadXml(QByteArray(
        "<KelvariConfig version=\"1.0.0\"><Layouts><Layout name=\"P\">"
        "<Widget id=\"5\" type=\"tab_container\" width=\"0.5\" height=\"0.5\"><Tab tabName=\"A\">"
        "<Widget id=\"12\" type=\"text\" width=\"0.1\" height=\"0.1\"/></Tab></Widget>"
        "</Layout></Layouts></KelvariConfig>")));
    QVERIFY(!config.isPasteAllowed());
    config.setSelectedLayoutIndex(0);
    config.copyPressed();
    QVERIFY(config.isPasteAllowed());
    config.SetNextId(12);
    QSignalSpy dialog(&config, &cConfig::requestDetailsDialog);

    config.pastePressed();
    // A second paste while one waits would lose the first.
    config.pastePressed();

    QCOMPARE(dialog.count(), 1);
    auto* pending = dialog.at(0).at(0).value<cLayout*>();
    QCOMPARE(pending->name(), QString("P copy"));
    QStringList ids;
    auto found = QRegularExpression("<Widget id=\"(\\d+)\"").globalMatch(config.GetLayoutXml(pending));
    while (found.hasNext())
        ids << found.next().captured(1);
    QCOMPARE(ids, QStringList({"12", "13"}));
    QCOMPARE(config.GetNextId(), 14);
    QCOMPARE(config.Layouts().count(), 1);

    config.acceptPendingPaste();
    QCOMPARE(LayoutNames(config), QStringList({"P", "P copy"}));
    QCOMPARE(config.GetSelectedLayout(), pending);
    config.undoPressed();
    QCOMPARE(LayoutNames(config), QStringList{"P"});
}

void tst_cConfig::discardAndCutLeaveTheListAsExpected()
{
    cConfig config(nullptr);
    config.Reset(true);
    Add(config, Details("B"));
    config.cutPressed();
    QCOMPARE(config.Layouts().count(), 2);
    QVERIFY(!config.isPasteAllowed());

    config.setSelectedLayoutIndex(1);
    config.cutPressed();
    QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
    config.pastePressed();
    config.discardPendingPaste();
    QCOMPARE(LayoutNames(config), QStringList{"Layout 1"});
    QVERIFY(config.isPasteAllowed());
    config.undoPressed();
    QCOMPARE(LayoutNames(config), QStringList({"Layout 1", "B"}));
    // The clipboard outlives a reset.
    config.Reset(true);
    QVERIFY(config.isPasteAllowed());
}

void tst_cConfig::selectedIndexFollowsTheFlaggedLayout()
{
    cConfig config(nullptr);
    Add(config, Details("A"));
    Add(config, Details("B"));
    cLayout* a = config.Layouts().At(0);
    cLayout* b = config.Layouts().At(1);
    const auto selected = [&] {
        const int index = config.selectedLayoutIndex();
        return index < 0 ? nullptr : config.Layouts().At(index);
    };

    config.setSelectedLayoutIndex(1);
    config.deletePressed();
    QCOMPARE(config.selectedLayoutIndex(), -1);
    config.undoPressed();
    QCOMPARE(selected(), b);
    config.redoPressed();
    QCOMPARE(config.selectedLayoutIndex(), -1);
    config.undoPressed();

    config.setSelectedLayoutIndex(0);
    config.deletePressed();
    QCOMPARE(config.selectedLayoutIndex(), -1);
    QCOMPARE(config.GetSelectedLayout(), nullptr);
    config.setSelectedLayoutIndex(0);
    config.copyPressed();
    QVERIFY(config.isPasteAllowed());
    // Back by undo while another is selected: the present choice stays the only one.
    config.undoPressed();
    QCOMPARE(selected(), b);
    QVERIFY(!a->selected());

    Add(config, Details("Z", 2));
    QCOMPARE(LayoutNames(config), QStringList({"Z", "B", "A"}));
    QCOMPARE(selected(), b);
    b->setLayoutDetails(true, "", true, true, true, 3, true, "", false, 4, 3, false, "B");
    QCOMPARE(selected(), b);
    config.undoPressed();
    QCOMPARE(LayoutNames(config), QStringList({"Z", "A", "B"}));
    QCOMPARE(selected(), b);
    config.undoPressed();
    QCOMPARE(config.selectedLayoutIndex(), 1);
    QCOMPARE(selected(), b);
}

QTEST_MAIN(tst_cConfig)
#include "tst_cConfig.moc"
