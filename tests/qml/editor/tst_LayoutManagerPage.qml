import QtQuick 2.12
import QtTest 1.12

EditorPageTestCase {
    id: testCase
    name: "LayoutManagerPage"

    // The manager over a new config with these layouts, each { name, orientation, ratio: [a, b] }.
    function showManager(layouts) {
        _application.createNewConfig()
        config.deleteLayout(config.layouts.get(0))
        layouts.forEach(function(d, i) {
            config.createNewLayout(false, "user" + i, true, true, true, d.orientation || 0, true, "", !!d.ratio,
                                   d.ratio ? d.ratio[0] : 4, d.ratio ? d.ratio[1] : 3, d.name)
        })
        page = create("qrc:/LayoutManagerPage.qml", { width: testCase.width, height: testCase.height })
        waitForRendering(page)
    }

    function popup() { return part("layoutDetailsPopup") }
    function okEnabled() { return part("detailsOkButton").enabled }

    // How many steps the config can undo; the history is left as it was.
    function undoDepth() {
        var steps = 0
        for (; config.hasUndo; ++steps)
            config.undoPressed()
        for (var i = 0; i < steps; ++i)
            config.redoPressed()
        return steps
    }

    function test_proposedNameCountsTheLayouts_data() {
        return [ { tag: "none", layouts: [], name: "New layout " },
                 { tag: "three", layouts: [{ name: "A" }, { name: "B", orientation: 1 }, { name: "C", orientation: 2 }],
                   name: "New layout 3" } ]
    }

    function test_proposedNameCountsTheLayouts(data) {
        showManager(data.layouts)
        compare(part("noLayoutsText").visible, data.layouts.length === 0)
        mouseClick(part("newLayoutButton"))
        tryCompare(popup(), "visible", true)
        compare([part("detailsTitle").text, part("nameField").text], ["Add new layout", data.name])
        verify(!page.shortcutsEnabled)
        mouseClick(part("detailsOkButton"))
        tryCompare(popup(), "visible", false)
        compare(config.layouts.count, data.layouts.length + 1)
        verify(page.shortcutsEnabled)
    }

    function test_aspectFields_data() {
        return [ { tag: "1", text: "1", ok: true }, { tag: "99", text: "99", ok: true }, { tag: "0", text: "0", ok: false },
                 { tag: "05", text: "05", ok: false }, { tag: "100", text: "100", ok: false } ]
    }

    function test_aspectFields(data) {
        showManager([])
        page.newLayoutClicked()
        part("fixedCheckBox").checked = true
        part("aspectRatio2Field").text = data.text
        compare([okEnabled(), part("aspectWarning").visible], [data.ok, !data.ok])
        // Without a fixed ratio the fields do not matter, and a refused one keeps the ratio it had.
        part("fixedCheckBox").checked = false
        verify(okEnabled())
        mouseClick(part("detailsOkButton"))
        compare(config.layouts.get(0).aspectRatio2, data.ok ? parseInt(data.text, 10) : 3)
    }

    function test_devicesAndOrientation() {
        showManager([])
        page.newLayoutClicked()
        part("orientationComboBox").currentIndex = 2
        part("phoneCheckBox").checked = false
        part("tabletCheckBox").checked = false
        compare([part("orientationComboBox").enabled, part("orientationComboBox").currentIndex, okEnabled()], [false, 2, true])
        part("desktopCheckBox").checked = false
        verify(!okEnabled() && part("devicesWarning").visible)
    }

    function test_duplicateDetailsAndNamesAreRefused() {
        showManager([{ name: "A" }])
        page.newLayoutClicked()
        part("nameField").text = "A"
        verify(part("nameWarning").visible && !okEnabled())
        part("nameField").text = "Z"
        // Users "user0", all devices in any orientation, all scenes: the same as A.
        part("allUsersCheckBox").checked = false
        part("usersField").text = "user0"
        verify(popup().isDuplicate && !okEnabled())
        compare(part("duplicateMessage").opacity, 1)
        verify(part("usersWarning").visible && part("devicesWarning").visible && part("scenesWarning").visible)
        part("allScenesCheckBox").checked = false
        part("scenesField").text = "1-4,\"Main, show\""
        verify(!popup().isDuplicate && !part("usersWarning").visible && okEnabled())
        part("scenesField").text = "Main"
        verify(part("scenesWarning").visible && !okEnabled())
        part("usersField").text = "user0,"
        verify(part("usersWarning").visible)
    }

    function test_portraitThumbnailFitsItsRatioAndClicksSelectAndOpen() {
        showManager([{ name: "Tall", orientation: 1, ratio: [9, 16] }, { name: "B" }])
        var thumbnail = part("layoutThumbnail")
        fuzzyCompare(thumbnail.width, 0.75 * page.layoutWidth, 0.01)
        fuzzyCompare(thumbnail.height, page.layoutWidth, 0.01)
        var view = part("thumbnailLayoutView")
        fuzzyCompare(view.width, Math.min(thumbnail.height * 9 / 16, thumbnail.width) - 4, 0.01)
        fuzzyCompare(view.height, Math.min(thumbnail.width * 16 / 9, thumbnail.height) - 4, 0.01)
        compare([part("orientationValue").text, part("aspectRatioValue").text, part("devicesValue").text],
                ["Portrait only", "Fixed Aspect Ratio: 9:16", "All"])
        var opened = []
        page.layoutClicked.connect(function(index) { opened.push(index) })
        verify(!part("copyButton").buttonEnabled)
        mouseClick(thumbnail, 60, 100)
        compare(config.selectedLayoutIndex, 0)
        verify(part("copyButton").buttonEnabled && part("cutButton").buttonEnabled)
        compare(thumbnail.border.color, "#04ffc5")
        mouseDoubleClickSequence(thumbnail, 60, 100)
        compare(opened, [0])
    }

    function test_editDetailsIsOneUndoStep() {
        showManager([{ name: "A" }])
        mouseClick(part("detailsButton"))
        tryCompare(popup(), "visible", true)
        compare([part("detailsTitle").text, part("nameField").text], ["Edit details", "A"])
        part("nameField").text = "Renamed"
        keyClick(Qt.Key_Return)
        compare(config.layouts.get(0).name, "Renamed")
        mouseClick(part("undoButton"))
        compare(config.layouts.get(0).name, "A")
        verify(part("redoButton").buttonEnabled)
    }

    function test_pasteWaitsForTheDetails_data() {
        return [ { tag: "cancel", ok: false }, { tag: "ok", ok: true }, { tag: "escape", ok: false, key: true } ]
    }

    function test_pasteWaitsForTheDetails(data) {
        showManager([{ name: "A" }])
        config.selectedLayoutIndex = 0
        mouseClick(part("copyButton"))
        verify(part("pasteButton").buttonEnabled)
        var depth = undoDepth()
        mouseClick(part("pasteButton"))
        tryCompare(popup(), "visible", true)
        compare([part("detailsTitle").text, part("nameField").text], ["Paste new layout", "A copy"])
        part("usersField").text = "ann"
        part("allUsersCheckBox").checked = false
        if (data.key)
            keyClick(Qt.Key_Escape)
        else
            mouseClick(part(data.ok ? "detailsOkButton" : "detailsCancelButton"))
        tryCompare(popup(), "visible", false)
        compare(config.layouts.count, data.ok ? 2 : 1)
        verify(config.isPasteAllowed)
        compare(undoDepth(), depth + (data.ok ? 1 : 0))
    }

    function test_thumbnailsOutOfSightMakeTheirItemsWhenFirstSeen() {
        var layouts = []
        for (var i = 0; i < 20; ++i)
            layouts.push({ name: "L" + i })
        showManager(layouts)
        for (var j = 0; j < config.layouts.count; ++j)
            config.layouts.get(j).createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.5, 0.5)
        var grid = part("layoutGrid")
        var views = []
        var delegates = grid.contentItem.children[0].children
        for (var k = 0; k < delegates.length; ++k) {
            if (findChild(delegates[k], "thumbnailLayoutView"))
                views.push(findChild(delegates[k], "thumbnailLayoutView"))
        }
        compare(views.length, 20)
        verify(views[0].itemsMade && !views[19].itemsMade)
        // A widget added meanwhile is there once the thumbnail is seen.
        config.layouts.get(19).createAndAddWidget("text", null, -1, 0.5, 0.5, 0.2, 0.2)
        grid.contentY = grid.contentHeight - grid.height
        tryVerify(function() { return views[19].itemsMade })
        compare(views[19].createdItems.length, 2)
    }
}
