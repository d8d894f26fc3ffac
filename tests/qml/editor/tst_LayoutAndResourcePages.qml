import QtQuick 2.12
import QtTest 1.12

// The layout manager and the resource editor pages.
EditorPageTestCase {
    id: testCase
    name: "LayoutAndResourcePages"

    property QtObject dialog: null
    property Item popup: null
    property var newIds: []

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

    function details() { return part("layoutDetailsPopup") }

    function openDetails(button, title, name) {
        mouseClick(part(button))
        tryCompare(details(), "visible", true)
        compare(values("text", ["detailsTitle", "nameField"]), [title, name])
    }

    // Sets the details' fields: a text for a string, a tick for a boolean, an index for a number.
    function fill(fields) {
        for (var key in fields)
            part(key)[{ string: "text", boolean: "checked", number: "currentIndex" }[typeof fields[key]]] = fields[key]
    }

    function values(property, names) { return names.map(function(name) { return part(name)[property] }) }

    function test_proposedNameCountsTheLayouts_data() {
        return [{ tag: "none", layouts: [], name: "New layout " }, { tag: "three", name: "New layout 3",
                 layouts: [{ name: "A" }, { name: "B", orientation: 1 }, { name: "C", orientation: 2 }] }]
    }
    function test_proposedNameCountsTheLayouts(data) {
        showManager(data.layouts)
        compare(part("noLayoutsText").visible, data.layouts.length === 0)
        openDetails("newLayoutButton", "Add new layout", data.name)
        verify(!page.shortcutsEnabled)
        mouseClick(part("detailsOkButton"))
        tryCompare(details(), "visible", false)
        compare([config.layouts.count, page.shortcutsEnabled], [data.layouts.length + 1, true])
    }

    function test_aspectFields_data() {
        return [["1", true], ["99", true], ["0"], ["05"], ["100"]].map(function(r) {
            return { tag: r[0], text: r[0], ok: !!r[1] } })
    }
    function test_aspectFields(data) {
        showManager([])
        page.newLayoutClicked()
        fill({ fixedCheckBox: true, aspectRatio2Field: data.text })
        compare([part("detailsOkButton").enabled, part("aspectWarning").visible], [data.ok, !data.ok])
        // Without a fixed ratio the fields do not matter, and a refused one keeps the ratio it had.
        fill({ fixedCheckBox: false })
        mouseClick(part("detailsOkButton"))
        compare(config.layouts.get(0).aspectRatio2, data.ok ? parseInt(data.text, 10) : 3)
    }

    function test_devicesAndOrientation() {
        showManager([])
        page.newLayoutClicked()
        fill({ orientationComboBox: 2, phoneCheckBox: false, tabletCheckBox: false })
        compare(values("enabled", ["orientationComboBox", "detailsOkButton"]).concat(values("currentIndex",
                ["orientationComboBox"])), [false, true, 2])
        fill({ desktopCheckBox: false })
        compare([part("devicesWarning").visible, part("detailsOkButton").enabled], [true, false])
    }

    function test_duplicateDetailsAndNamesAreRefused() {
        var warnings = ["nameWarning", "usersWarning", "devicesWarning", "scenesWarning", "detailsOkButton"]
        showManager([{ name: "A" }])
        page.newLayoutClicked()
        fill({ nameField: "A" })
        compare(values("visible", ["nameWarning"]).concat(part("detailsOkButton").enabled), [true, false])
        // Users "user0", all devices in any orientation, all scenes: the same as A.
        fill({ nameField: "Z", allUsersCheckBox: false, usersField: "user0" })
        compare(values("visible", warnings).concat(details().isDuplicate, part("duplicateMessage").opacity,
                part("detailsOkButton").enabled), [false, true, true, true, true, true, 1, false])
        fill({ allScenesCheckBox: false, scenesField: "1-4,\"Main, show\"" })
        compare(values("visible", warnings).concat(details().isDuplicate, part("detailsOkButton").enabled),
                [false, false, false, false, true, false, true])
        fill({ scenesField: "Main", usersField: "user0," })
        compare(values("visible", ["scenesWarning", "usersWarning"]).concat(part("detailsOkButton").enabled),
                [true, true, false])
    }

    function test_portraitThumbnailShowsItsDetailsAndClicksSelectAndOpen() {
        showManager([{ name: "Tall", orientation: 1, ratio: [9, 16] }, { name: "B" }])
        var [thumbnail, view] = [part("layoutThumbnail"), part("thumbnailLayoutView")]
        fuzzyCompare((view.width + 4) / (view.height + 4), 9 / 16, 0.01)
        compare(values("text", ["orientationValue", "aspectRatioValue", "devicesValue"]),
                ["Portrait only", "Fixed Aspect Ratio: 9:16", "All"])
        var opened = []
        page.layoutClicked.connect(function(index) { opened.push(index) })
        verify(!part("copyButton").buttonEnabled)
        mouseClick(thumbnail, 60, 100)
        compare([config.selectedLayoutIndex, part("copyButton").buttonEnabled, part("cutButton").buttonEnabled],
                [0, true, true])
        mouseDoubleClickSequence(thumbnail, 60, 100)
        compare(opened, [0])
    }

    function test_editDetailsIsOneUndoStep() {
        showManager([{ name: "A" }])
        openDetails("detailsButton", "Edit details", "A")
        fill({ nameField: "Renamed" })
        keyClick(Qt.Key_Return)
        compare(config.layouts.get(0).name, "Renamed")
        mouseClick(part("undoButton"))
        compare([config.layouts.get(0).name, part("redoButton").buttonEnabled], ["A", true])
    }

    function test_pasteWaitsForTheDetails_data() {
        return [ { tag: "cancel", ok: false }, { tag: "ok", ok: true }, { tag: "escape", ok: false, key: true } ]
    }
    function test_pasteWaitsForTheDetails(data) {
        showManager([{ name: "A" }])
        config.selectedLayoutIndex = 0
        mouseClick(part("copyButton"))
        openDetails("pasteButton", "Paste new layout", "A copy")
        fill({ usersField: "ann", allUsersCheckBox: false })
        if (data.key)
            keyClick(Qt.Key_Escape)
        else
            mouseClick(part(data.ok ? "detailsOkButton" : "detailsCancelButton"))
        tryCompare(details(), "visible", false)
        compare([config.layouts.count, config.isPasteAllowed], [data.ok ? 2 : 1, true])
        // The paste is one step of its own; without it the step undone is A's making.
        config.undoPressed()
        compare(config.layouts.count, data.ok ? 1 : 0)
    }

    // Once the details pop-up is gone the window's edit keys act on the layouts again.
    function test_theKeysActOnTheLayoutsAfterTheDetailsPopup_data() {
        return [{ tag: "Delete", keys: ["Del"], counts: [0] },
                { tag: "Backspace, undo", keys: ["Backspace", "Ctrl+Z"], counts: [0, 1] },
                { tag: "cut, redo by Ctrl+Y", keys: ["Ctrl+X", "Ctrl+Z", "Ctrl+Y"], counts: [0, 1, 0] }]
    }
    function test_theKeysActOnTheLayoutsAfterTheDetailsPopup(data) {
        showMainWindow()
        page = findChild(window.contentItem, "layoutManagerPage")
        tryCompare(page, "visible", true)
        openDetails("newLayoutButton", "Add new layout", "New layout 1")
        keyClick(Qt.Key_Escape)
        tryCompare(details(), "visible", false)
        mouseClick(part("layoutThumbnail"), 60, 100)
        compare(data.keys.map(function(keys) { keySequence(keys); return config.layouts.count }), data.counts)
    }

    function test_thumbnailsOutOfSightMakeTheirItemsWhenFirstSeen() {
        showManager(Array.apply(null, Array(20)).map(function(u, i) { return { name: "L" + i } }))
        config.layouts.get(19).createAndAddWidget("text", null, -1, 0.5, 0.5, 0.2, 0.2)
        var views = Array.prototype.map.call(part("layoutGrid").contentItem.children[0].children, function(d) {
            return findChild(d, "thumbnailLayoutView") }).filter(function(view) { return view })
        compare([views.length, views[0].itemsMade, views[19].itemsMade], [20, true, false])
        part("layoutGrid").contentY = part("layoutGrid").contentHeight - part("layoutGrid").height
        tryCompare(views[19], "itemsMade", true)
        compare(views[19].createdItems.length, 1)
    }

    function showResources() {
        _application.createNewConfig()
        dialog = createTemporaryQmlObject("import QtQml 2.12; QtObject { property var files: []; property string"
            + " resourceId; property int fileMode; property url folder; property int openCount: 0; signal accepted();"
            + " function open() { openCount += 1 } }", testCase)
        popup = createTemporaryQmlObject("import QtQuick 2.12; Item { property string headlineText; property string"
            + " failureReasonText; visible: false; signal okClicked() }", testCase)
        page = create("qrc:/ResourceEditorPage.qml", { width: testCase.width, height: testCase.height,
                                                       imageFileDialog: dialog, errorPopupItem: popup })
        newIds = []
        page.newResourceId.connect(function(id) { newIds.push(id) })
    }

    function choose(files) {
        dialog.files = files.map(function(f) { return testImages.write(f[0], f[1], f[2]) })
        dialog.accepted()
        waitForRendering(page)
    }

    function cellOf(resource) {
        return Array.prototype.filter.call(part("resourceGrid").contentItem.children[0].children, function(cell) {
            return cell.resource === resource })[0]
    }

    // A rename left without Return ends with a click on the renamed picture's cell, which gives the keys to the page.
    function test_aClickOnTheRenamedCellGivesTheKeysBack_data() {
        return [{ tag: "Right", keys: "Right", selected: 1, count: 2 },
                { tag: "Delete", keys: "Del", selected: -1, count: 1 }]
    }
    function test_aClickOnTheRenamedCellGivesTheKeysBack(data) {
        showMainWindow()
        for (var name of ["a.png", "b.png"])
            config.addNewImage(testImages.write(name, 20, 20))
        config.resourceCloseUndoBlock()
        openPage("resourceManagerButton", "resourceEditorPage")
        var renamed = config.resources.get(0)
        mouseClick(cellOf(renamed), 50, 50)
        waitForRendering(page)
        mouseClick(part("resourceProperty_Name"))
        keyClick(Qt.Key_End)
        keyClick("x")
        mouseClick(cellOf(renamed), 50, 50)
        keySequence(data.keys)
        compare([renamed.nameProperty.value, config.selectedResourceIndex, config.resources.count],
                ["a.pngx", data.selected, data.count])
    }

    function test_emptyPageOffersOnlyNewImage() {
        showResources()
        page.right()
        compare(["newImageButton", "changeImageButton", "deleteImageButton", "resourceUndoButton", "resourceRedoButton"]
                .map(function(name) { return part(name).buttonEnabled }).concat(part("noResourcesText").visible,
                config.selectedResourceIndex), [true, false, false, false, false, true, -1])
    }

    function test_aBatchIsOneStepAndItsFailuresShareOnePopupOfTheirOwn() {
        showResources()
        mouseClick(part("newImageButton"))
        compare([dialog.openCount, dialog.resourceId], [1, ""])
        choose([["first.png", 40, 30], ["wide.png", 2049, 10], ["third.png", 10, 40]])
        compare([config.resources.count, popup.visible, newIds, popup.headlineText, popup.failureReasonText],
                [2, true, ["0"], "Image load failed", "Image wide.png is too wide.\nMax size is 2048x1080"])
        mouseClick(part("resourceUndoButton"))
        compare(config.resources.count, 0)
        popup.okClicked()
        verify(!popup.visible)
        // A pop-up showing something else is taken over, and every failure of the batch is listed.
        ;[popup.headlineText, popup.failureReasonText, popup.visible, newIds] = ["Save failed", "Disk full", true, []]
        choose([["a.png", 10, 2000], ["b.png", 3000, 10]])
        compare([popup.headlineText, popup.failureReasonText, newIds], ["Image load failed", "Image a.png is too tall."
                 + "\nMax size is 2048x1080\nImage b.png is too wide.\nMax size is 2048x1080", []])
    }

    function test_arrowsMoveTheSelectionWithinTheGrid() {
        showResources()
        choose(Array.apply(null, Array(12)).map(function(u, i) { return ["img" + (100 + i) + ".png", 20, 20] }))
        // On a page one row high, the selection's row is scrolled into view.
        page.height = 300
        waitForRendering(page)
        var grid = part("resourceGrid")
        var moves = [["right", 0], ["left", 0], ["down", page.columns], ["up", 0]].map(function(move) {
            page[move[0]]()
            return [config.selectedResourceIndex, grid.contentY]
        })
        var scrolled = page.resourceItemWidth + 20 + page.resourceItemWidth - grid.height
        compare(moves, [[0, 0], [0, 0], [page.columns, scrolled], [0, 0]])
        config.selectedResourceIndex = 11
        compare(["right", "left"].map(function(key) { page[key](); return config.selectedResourceIndex }), [11, 10])
    }

    function test_changeKeepsNameAndPlaceAndRenameIsUndoable() {
        showResources()
        choose([["b.png", 20, 20], ["a.jpg", 20, 20]])
        mouseClick(Array.prototype.filter.call(part("resourceGrid").contentItem.children[0].children, function(cell) {
            return cell.resource === config.resources.get(0) })[0], 50, 50)
        compare([config.selectedResourceIndex, page.selectedResource.nameProperty.value], [0, "a.jpg"])
        mouseClick(part("changeImageButton"))
        compare(dialog.resourceId, page.selectedResource.resourceId)
        choose([["other.svg", 30, 30]])
        compare([config.selectedResourceIndex, page.selectedResource.nameProperty.value,
                 page.selectedResource.originalWidth], [0, "a.jpg", 0])
        type(part("resourceProperty_Name"), "x")
        part("resourceProperty_Name").focus = false
        compare(page.selectedResource.nameProperty.value, "x")
        page.undoPressed()
        compare(page.selectedResource.nameProperty.value, "a.jpg")
        mouseClick(part("deleteImageButton"))
        compare([config.resources.count, config.selectedResourceIndex], [1, -1])
    }

    // A layout's thumbnail, which caches its pictures, shows a changed picture, the placeholder once it is
    // deleted, and the picture again when the deletion is undone.
    function test_thumbnailFollowsAChangedAndDeletedPicture_data() {
        return [{ tag: "image", type: "image", property: "Image" },
                { tag: "tab off", type: "tab_container", property: "Image Off" },
                { tag: "tab on", type: "tab_container", property: "Image On" }]
    }
    function test_thumbnailFollowsAChangedAndDeletedPicture(data) {
        showResources()
        choose([["first.png", 40, 10]])
        var layout = config.layouts.get(0)
        layout.selectionManager.setSelection(layout.createAndAddWidget(data.type, null, -1, 0.1, 0.1, 0.5, 0.5))
        var rows = layout.selectionManager.currentSelectionProperties
        for (var i = 0; rows.get(i).name !== data.property; ++i) {}
        rows.get(i).value = newIds[0]
        layout.closeUndoBlock()
        var manager = create("qrc:/LayoutManagerPage.qml", { width: testCase.width, height: testCase.height, z: -1 })
        var picture = findChild(manager, "picture")
        // Drawn again at the thumbnail's size a moment after it was made.
        tryVerify(function() { return picture.sourceSize.width !== 100 }, 3000)
        var size = function() { return [picture.implicitWidth, picture.implicitHeight] }
        compare(size(), [40, 10])
        mouseClick(part("resourceCell"), 50, 50)
        mouseClick(part("changeImageButton"))
        choose([["second.png", 30, 24]])
        compare(size(), [30, 24])
        mouseClick(part("deleteImageButton"))
        compare(size(), [20, 20])
        mouseClick(part("resourceUndoButton"))
        compare(size(), [30, 24])
    }
}
