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

    function openDetails(button, title, name) {
        mouseClick(part(button))
        tryCompare(popup(), "visible", true)
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
        tryCompare(popup(), "visible", false)
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
        compare(values("visible", warnings).concat(popup().isDuplicate, part("duplicateMessage").opacity,
                part("detailsOkButton").enabled), [false, true, true, true, true, true, 1, false])
        fill({ allScenesCheckBox: false, scenesField: "1-4,\"Main, show\"" })
        compare(values("visible", warnings).concat(popup().isDuplicate, part("detailsOkButton").enabled),
                [false, false, false, false, true, false, true])
        fill({ scenesField: "Main", usersField: "user0," })
        compare(values("visible", ["scenesWarning", "usersWarning"]).concat(part("detailsOkButton").enabled),
                [true, true, false])
    }

    function test_portraitThumbnailShowsItsDetailsAndClicksSelectAndOpen() {
        showManager([{ name: "Tall", orientation: 1, ratio: [9, 16] }, { name: "B" }])
        var [thumbnail, view] = [part("layoutThumbnail"), part("thumbnailLayoutView")]
        verify(thumbnail.height > thumbnail.width)
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
        tryCompare(popup(), "visible", false)
        compare([config.layouts.count, config.isPasteAllowed], [data.ok ? 2 : 1, true])
        // The paste is one step of its own; without it the step undone is A's making.
        config.undoPressed()
        compare(config.layouts.count, data.ok ? 1 : 0)
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
}
