// The page's view, zoom, grid and panel, widgets on its canvas, and the layout's other views.
EditorPageTestCase {
    id: testCase
    name: "LayoutEditorPage"

    function manager() { return layout.selectionManager }

    function test_viewChoiceSetsTheCanvasAndIsRemembered_data() {
        return [{ tag: "16:9", choose: 1, stored: 1, width: 819.2, height: 460.8 },
                { tag: "3:4", choose: 2, stored: 2, width: 614.4, height: 819.2 },
                { tag: "portrait tablet layout starts at 3:4", orientation: 1, desktop: false, start: 2, width: 614.4 },
                { tag: "fixed ratio offered first, not counted", ratio: [5, 4], choose: 3, stored: 2, width: 614.4 }]
    }
    function test_viewChoiceSetsTheCanvasAndIsRemembered(data) {
        var ratio = data.ratio || [0, 0]
        showPage(ratio[0], ratio[1], data.orientation, data.desktop)
        var combo = part("viewComboBox")
        compare([page.zoomFactor, combo.currentIndex], [0.8, data.start || 0])
        if (data.ratio)
            compare([combo.count, combo.displayText, page.viewRatio], [5, "5:4", 1.25])
        if (data.choose)
            page.viewChosen(data.choose)
        compare(_application.aspectRatioIndex, data.stored || 0)
        fuzzyCompare(canvas().width, data.width, 0.001)
        fuzzyCompare(canvas().height, data.height || canvas().height, 0.001)
    }

    function test_zoomStaysWithinItsRangeAndCtrlWheelKeepsThePointUnderTheMouse() {
        showPage(0, 0)
        var before = canvas().mapFromItem(part("editView"), 300, 200).x / canvas().width
        mouseWheel(part("wheelArea"), 300, 200, 0, 120, Qt.NoButton, Qt.ControlModifier)
        fuzzyCompare(page.zoomFactor, 0.9, 1e-6)
        fuzzyCompare(canvas().mapFromItem(part("editView"), 300, 200).x / canvas().width, before, 1e-3)
        var limits = [function() { part("zoomInButton").clicked() }, function() { page.zoom(Qt.point(100, 100), -0.5) },
                      function() { mouseWheel(part("wheelArea"), 300, 300, 0, 120, Qt.NoButton, Qt.ControlModifier) }]
        compare(limits.map(function(step) { for (var i = 0; i < 40; ++i) step(); return page.zoomFactor }), [3, 0.1, 3])
    }

    function test_gridSpacingSteps_data() {
        return [[97, true, 99], [1, true, 5], [50, true, 55], [3, false, 1], [99, false, 95], [50, false, 45]].map(
            function(r) { return { tag: (r[1] ? "up from " : "down from ") + r[0], start: r[0], up: r[1], to: r[2] } })
    }
    function test_gridSpacingSteps(data) {
        showPage(0, 0)
        _application.snapSpacing = data.start
        mouseClick(part(data.up ? "increaseGridButton" : "decreaseGridButton"))
        compare([_application.snapSpacing, part("snapSpacingField").text], [data.to, String(data.to)])
    }

    // The spacing field takes 1 to 99 only; the toolbar follows the layout; tooltips show after resting.
    function test_spacingFieldToolbarAndTooltips() {
        showPage(0, 0)
        type(part("snapSpacingField"), "0")
        compare(_application.snapSpacing, 5)
        type(part("snapSpacingField"), "427")
        compare([_application.snapSpacing, part("snapSpacingField").text], [42, "42"])
        compare(["cutButton", "alignButton", "undoButton", "lightGridButton"].map(function(name) {
            return part(name).buttonEnabled }), [false, false, false, false])
        mouseClick(part("showGridButton"))
        verify(page.gridShown && part("lightGridButton").buttonEnabled)
        mouseMove(part("zoomInButton"), 10, 10)
        verify(!part("zoomInButton").tooltipShown)
        tryVerify(function() { return part("zoomInButton").tooltipShown }, 5000)
        mouseMove(page, 5, 400)
        verify(!part("zoomInButton").tooltipShown)
    }

    // A tooltip shows centred under its button, but inside the window.
    function test_tooltipsAreCentredUnderTheirButtonWithinTheWindow_data() {
        return [{ tag: "800 x 600, Zoom In", width: 800, height: 600, button: "zoomInButton" },
                { tag: "800 x 600, Zoom To Fit at the edge", width: 800, height: 600, button: "zoomToFitButton",
                  edge: true },
                { tag: "1920 x 1080, Zoom To Fit", width: 1920, height: 1080, button: "zoomToFitButton" }]
    }
    function test_tooltipsAreCentredUnderTheirButtonWithinTheWindow(data) {
        layout = makeLayout(0, 0)
        window = Qt.createQmlObject("import QtQuick 2.12; import QtQuick.Window 2.12; Window { visible: true;"
                                    + " Loader { anchors.fill: parent; source: 'qrc:/LayoutEditorPage.qml' } }",
                                    testCase)
        window.width = data.width
        window.height = data.height
        page = window.contentItem.children[0].item
        page.layoutIndex = config.layouts.indexOf(layout)
        waitForRendering(page)
        var button = part(data.button)
        mouseMove(button, button.width / 2, button.height / 2)
        tryVerify(function() { return button.tooltipShown }, 5000)
        var tooltip = findChild(button, "tooltip")
        var [left, right] = [tooltip.mapToItem(null, 0, 0).x, tooltip.mapToItem(null, tooltip.width, 0).x]
        verify(left >= 0 && right <= data.width, left + " to " + right)
        if (data.edge)
            fuzzyCompare(right, data.width - 2, 1)
        else
            fuzzyCompare((left + right) / 2, button.mapToItem(null, button.width / 2, 0).x, 1)
    }

    // Wider than 400 is shown but not kept; the last width within the range is.
    function test_panelWidthIsStoredWithinItsRange() {
        _application.propertyPanelWidth = 300
        showPage(0, 0)
        var edge = part("propertyPanel").mapToItem(page, -2, 200)
        drag(page, edge.x, edge.y, edge.x - 150, edge.y, 10)
        compare([part("propertyPanel").width, _application.propertyPanelWidth], [450, 390])
        drag(page, edge.x - 150, edge.y, edge.x + 50, edge.y, 10)
        compare(_application.propertyPanelWidth, 250)
    }

    function test_clickingSelectsAndDeselects() {
        // A click on one of several selected, through the group frame, selects only it; once more, nothing.
        var widgets = showWidgets([[0.1, 0.1, 0.2, 0.2], [0.5, 0.5, 0.2, 0.2]])
        compare([[0, 0], [1, Qt.ControlModifier], [0, 0], [0, 0]].map(function(click) {
            mouseClick(widgetItem(widgets[click[0]]), undefined, undefined, Qt.LeftButton, click[1])
            return [manager().selectionCount, widgets[0].selected] }), [[1, true], [2, true], [1, true], [0, false]])
    }

    // Ctrl brings the band's area over the widgets, yet a click there still adds or removes the widget under it.
    function test_modifierClicksAddAndRemoveAndACtrlBandMayStartOnAWidget() {
        var widgets = showWidgets([[0.1, 0.1, 0.1, 0.1], [0.3, 0.2, 0.1, 0.1], [0.5, 0.1, 0.1, 0.1]])
        // As a keyboard sends it: Ctrl's own press comes without the modifier, its release with it.
        function withModifier(modifier, step) {
            if (modifier === Qt.ControlModifier)
                keyPress(Qt.Key_Control)
            step()
            if (modifier === Qt.ControlModifier)
                keyRelease(Qt.Key_Control, modifier)
            return widgets.map(function(widget) { return widget.selected })
        }
        var clicks = [[0, 0], [1, Qt.ShiftModifier], [2, Qt.ControlModifier], [1, Qt.ControlModifier],
                      [0, Qt.ShiftModifier], [0, Qt.ControlModifier]]
        compare(clicks.map(function(click) {
            return withModifier(click[1], function() {
                mouseClick(widgetItem(widgets[click[0]]), undefined, undefined, Qt.LeftButton, click[1]) })
        }), [[true, false, false], [true, true, false], [true, true, true], [true, false, true], [false, false, true],
             [true, false, true]])
        compare(withModifier(Qt.ControlModifier, function() { mouseClick(canvas(), 900, 700, Qt.LeftButton,
                                                                          Qt.ControlModifier) }), [false, false, false])
        compare(withModifier(Qt.ControlModifier, function() { drag(canvas(), 150, 100, 450, 250, 4) }),
                [false, true, false])
        fuzzyCompare(widgets[0].xFraction, 0.1, 1e-6)
    }

    // Clicked into, the spacing field has the keys until a press elsewhere, Tab or Backtab hands them to the page.
    function test_theSpacingFieldGivesTheKeysBack_data() {
        return [{ tag: "click on the canvas", leave: "canvas", after: [true, false] },
                { tag: "click on a widget", leave: "widget", after: [false, true] },
                { tag: "Return, then click on the canvas", leave: "canvas", returnFirst: true, after: [true, false] },
                { tag: "Tab", key: Qt.Key_Tab, after: [true, false] },
                { tag: "Backtab", key: Qt.Key_Backtab, after: [true, false] }]
    }
    function test_theSpacingFieldGivesTheKeysBack(data) {
        var widgets = showWidgets([[0.1, 0.1, 0.1, 0.1], [0.3, 0.1, 0.1, 0.1]])
        var field = part("snapSpacingField")
        mouseClick(field)
        verify(field.activeFocus)
        if (data.returnFirst)
            keyClick(Qt.Key_Return)
        if (data.key)
            keyClick(data.key)
        if (data.leave === "widget")
            mouseClick(widgetItem(widgets[0]))
        else if (data.leave === "canvas")
            mouseClick(canvas(), 900, 700)
        keyClick("7")
        keyClick(Qt.Key_Tab)
        compare([field.text, _application.snapSpacing, field.activeFocus], ["1", 1, false])
        compare(widgets.map(function(widget) { return widget.selected }), data.after)
    }

    // The page lays its view out only when shown, or again when resized; either way the canvas is in the middle.
    function test_theCanvasOpensInTheMiddleOfTheView_data() {
        return [{ tag: "shown after it was built" }, { tag: "made smaller while hidden", resize: true }]
    }
    function test_theCanvasOpensInTheMiddleOfTheView(data) {
        layout = makeLayout(0, 0)
        page = create("qrc:/LayoutEditorPage.qml", { width: testCase.width, height: testCase.height, visible: false })
        page.layoutIndex = config.layouts.indexOf(layout)
        if (data.resize) {
            page.visible = true
            waitForRendering(page)
            page.visible = false
            page.width = 1200
            page.height = 700
        }
        wait(50)
        page.visible = true
        waitForRendering(page)
        var view = part("editView")
        var centre = canvas().mapToItem(view, canvas().width / 2, canvas().height / 2)
        fuzzyCompare(centre.x, view.width / 2, 1)
        fuzzyCompare(centre.y, view.height / 2, 1)
    }

    function test_dragSnapsToTheGridInOneUndoStep_data() {
        return [[134, 130], [135, 140], [34, 30, true], [35, 40, true]].map(function(r) {
            return { tag: (r[2] ? "two, " : "one, ") + r[0] + " to " + r[1], to: r[0], lands: r[1], two: r[2] } })
    }
    function test_dragSnapsToTheGridInOneUndoStep(data) {
        var widgets = showWidgets([[0.1, 0.1, 0.1, 0.1], [0.3, 0.1, 0.1, 0.1]])
        _application.snapToGrid = true
        fuzzyCompare(canvas().width, 1000, 1e-6)
        var fromX = data.two ? 250 : 105
        if (data.two) {
            manager().setSelection(widgets[0])
            manager().addToSelection(widgets[1])
            compare(part("groupEditOverlay").x, 100)
        }
        mousePress(canvas(), fromX, 120)
        for (var i = 1; i <= 10; ++i)
            mouseMove(canvas(), fromX + (data.to - 100) * i / 10, 120)
        compare(part("groupEditOverlay").x, data.two ? data.lands : part("groupEditOverlay").x)
        mouseRelease(canvas(), fromX + data.to - 100, 120)
        fuzzyCompare(widgets[0].xFraction * 1000, data.lands, 0.01)
        fuzzyCompare(widgets[1].xFraction * 1000, data.two ? data.lands + 200 : 300, 0.01)
        layout.undoPressed()
        fuzzyCompare(widgets[0].xFraction + widgets[1].xFraction, 0.4, 1e-6)
    }

    function test_arrowKeysMoveToTheNextGridLine_data() {
        return [[30, "left", 20], [30, "right", 40], [30.3, "left", 20]].map(function(r) {
            return { tag: r[1] + " from " + r[0], from: r[0], key: r[1], to: r[2] } })
    }
    function test_arrowKeysMoveToTheNextGridLine(data) {
        var widget = select("rect", [data.from / 1000, 0.1, 0.1, 0.1])
        _application.snapToGrid = true
        page[data.key]()
        fuzzyCompare(widget.xFraction * 1000, data.to, 0.01)
    }

    function test_bandSelectsWhatItCoversAndTheOverlayFramesTheSelection() {
        var widgets = showWidgets([[0.1, 0.1, 0.1, 0.1], [0.25, 0.1, 0.1, 0.1]])
        var [overlay, band] = [part("groupEditOverlay"), part("bandArea")]
        verify(!overlay.visible)
        var [from, to] = [canvas().mapToItem(band, 50, 30), canvas().mapToItem(band, 300, 180)]
        drag(band, from.x, from.y, to.x, to.y, 2)
        compare([widgets[0].selected, widgets[1].selected, overlay.visible], [true, false, true])
        fuzzyCompare(overlay.width, 100, 0.01)
        mouseClick(band, from.x, from.y)
        compare(manager().selectionCount, 0)
    }

    function test_handlesResize_data() {
        return [ { tag: "right edge stops at thirty pixels", handle: 4, rect: [0.1, 0.1, 0.2, 0.2], x: 0.1, width: 30 },
                 // The left corner out by 50 pixels with Shift: a factor of 1.25 on both sides, bottom fixed.
                 { tag: "shift corner keeps proportions and the bottom edge", handle: 0, shift: true,
                   rect: [0.2, 0.2, 0.2, 0.2], x: 0.15, width: 250, height: 0.25, bottom: 0.4 } ]
    }
    function test_handlesResize(data) {
        var widget = select("rect", data.rect)
        var handle = part("groupEditHandle" + data.handle)
        if (data.shift) {
            // A test cannot hold Shift while it moves the mouse, so the handle reports as a drag would.
            manager().selectionTransformStartOrEnd(true)
            part("groupEditOverlay").shiftHeld = true
            handle.x = -50
            handle.reportX()
            manager().selectionTransformStartOrEnd(false)
        } else {
            var start = handle.mapToItem(canvas(), 5, 5)
            drag(canvas(), start.x, start.y, start.x - 200, start.y, 20)
        }
        fuzzyCompare(widget.xFraction, data.x, 1e-4)
        fuzzyCompare(widget.widthFraction * 1000, data.width, 0.5)
        compare([widget.heightFraction, widget.yFraction + widget.heightFraction].map(function(f) {
            return f.toFixed(4) }), [(data.height || 0.2).toFixed(4), (data.bottom || 0.3).toFixed(4)])
    }

    // Y shows the value once align makes the widgets agree on it, and nothing once they differ again.
    function test_panelFollowsWhatAlignDoes() {
        var widgets = showWidgets([[0.1, 0.3, 0.1, 0.1], [0.3, 0.2, 0.1, 0.2], [0.5, 0.1, 0.1, 0.3]])
        widgets.forEach(function(widget) { manager().addToSelection(widget) })
        compare(editor("Y").text, "")
        chooseMenuItem("alignMenu", "Align Top")
        tryCompare(editor("Y"), "text", "10")
        chooseMenuItem("alignMenu", "Align Bottom")
        tryCompare(editor("Y"), "text", "")
        verify(row("Y").hasMultipleValues)
    }

    function makeView(layout, tw) {
        return create("qrc:/LayoutView.qml", { width: 400, height: 300, currentLayout: layout, isTestWindow: !!tw })
    }

    function itemOf(view, widget) {
        return view.createdItems.filter(function(item) { return item.cppWidget === widget })[0] || null
    }

    // The test window's view takes its layout late and comes before the thumbnail, as after a thumbnail is remade.
    function test_buildsTheTreeAndFollowsDeleteAndUndoInEveryView() {
        layout = makeLayout(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.5, 0.5, 0.4, 0.4)
        var rect = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        var label = layout.createAndAddWidget("text", tabs, 1, 0.5, 0.5, 0.2, 0.2)
        layout.closeUndoBlock()
        layout.registerContentItem(createTemporaryQmlObject("import QtQuick 2.12; Item {}", testCase), true)
        var testWindowView = makeView(null, true)
        compare(testWindowView.createdItems.length, 0)
        testWindowView.currentLayout = layout
        var view = makeView(layout)
        compare([itemOf(view, rect).parent, itemOf(view, rect).runner], [view, true])
        fuzzyCompare(itemOf(view, rect).width, 80, 0.01)
        layout.selectionManager.setSelection(tabs)
        layout.deletePressed()
        compare([view.createdItems.length, testWindowView.createdItems.length], [1, 1])
        layout.undoPressed()
        for (var v of [view, testWindowView])
            compare([v.createdItems.length, itemOf(v, label).parent], [3, itemOf(v, tabs).getContainer(1)])
    }

    function test_toolboxDropCreatesSelectsAndReachesTheThumbnailInOneUndoStep() {
        showPage(0, 0)
        var thumbnail = makeView(layout)
        compare(layout.getThumbnailContentItem(), thumbnail)
        drag(part("toolbox_rect"), 20, 25, 100, 25, 2)
        compare(layout.widgets.count, 0)
        dropFromToolbox("rect", 200, 150)
        var widget = layout.widgets.get(0)
        compare([layout.widgets.count, layout.selectionManager.selectionCount, widget.selected], [1, 1, true])
        fuzzyCompare(widgetItem(widget).x + widgetItem(widget).width / 2, 200, 2)
        compare([thumbnail.createdItems.length, thumbnail.createdItems[0].cppWidget], [1, widget])
        layout.undoPressed()
        compare([layout.widgets.count, thumbnail.createdItems.length, widgetItem(widget), layout.hasUndo],
                [0, 0, null, false])
    }

    function test_pastedContainerIsBuiltOnceInEveryView() {
        showPage(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.1, 0.1, 0.4, 0.4)
        layout.createAndAddWidget("text", tabs, 0, 0.1, 0.1, 0.3, 0.3)
        layout.closeUndoBlock()
        page.rebuild()
        var thumbnail = makeView(layout)
        compare([page.dynamicallyCreatedItems.length, thumbnail.createdItems.length], [2, 2])
        layout.selectionManager.setSelection(tabs)
        layout.copyPressed()
        layout.pastePressed()
        compare([layout.widgets.count, page.dynamicallyCreatedItems.length, thumbnail.createdItems.length], [2, 4, 4])
    }

    // Copied widgets take their pictures along: in another config they show the picture they showed, not the
    // one that has its id there, and a picture already in the config is not added twice.
    function test_copiedWidgetsShowTheirPicturesInAnotherConfig_data() {
        return [{ tag: "same config", renew: false, sizes: [[40, 30]] },
                { tag: "new config", renew: true, sizes: [[40, 30], [20, 20]] }]
    }
    function test_copiedWidgetsShowTheirPicturesInAnotherConfig(data) {
        showMainWindow()
        var id = config.addNewImage(testImages.write("p.png", 40, 30))
        config.resourceCloseUndoBlock()
        openPage("layoutEditorButton", "layoutEditorPage")
        layout = page.currentLayout
        dropFromToolbox("image", 500, 300)
        row("Image").value = id
        layout.closeUndoBlock()
        keySequence("Ctrl+C")
        if (data.renew) {
            keySequence("Ctrl+N")
            tryCompare(findChild(window.contentItem, "unsavedChangesPopup"), "visible", true)
            mouseClick(findChild(window.contentItem, "unsavedDiscardButton"))
            compare(config.addNewImage(testImages.write("q.png", 20, 20)), id)
            config.resourceCloseUndoBlock()
            openPage("layoutEditorButton", "layoutEditorPage")
            layout = page.currentLayout
        }
        keySequence("Ctrl+V")
        var shown = row("Image").stringValue
        var sizes = []
        for (var i = 0; i < config.resources.count; ++i) {
            var resource = config.resources.get(i)
            sizes.push([resource.originalWidth, resource.originalHeight])
            if (resource.resourceId === shown)
                var picture = resource
        }
        compare([sizes, picture.originalWidth, picture.originalHeight], [data.sizes, 40, 30])
    }

    // The test window closed by its title bar is stopped as by the Stop button, which then offers Play again.
    function test_theTestWindowClosedByItsTitleBarIsStopped() {
        showMainWindow()
        openPage("layoutEditorButton", "layoutEditorPage")
        mouseClick(part("playButton"))
        tryCompare(page, "testWindowOpen", true)
        part("testWindowLoader").item.close()
        tryCompare(page, "testWindowOpen", false)
        compare(part("playButton").tooltipText, "Play")
        mouseClick(part("playButton"))
        tryCompare(page, "testWindowOpen", true)
        tryCompare(part("testWindowLoader").item, "visible", true)
    }

    // A page built in the main window as a user builds it, saved, undone back to empty, and read back unchanged.
    function fileText(url) {
        var request = new XMLHttpRequest()
        request.open("GET", url, false)
        request.send(null)
        return request.responseText
    }

    function chooseMenuItem(menuName, text) {
        mouseClick(part(menuName.replace("Menu", "Button")))
        tryCompare(part(menuName), "opened", true)
        for (var i = 0; part(menuName).itemAt(i).text !== text; ++i) {}
        mouseClick(part(menuName).itemAt(i))
        tryCompare(part(menuName), "visible", false)
    }

    function test_buildSaveUndoAndReopen() {
        showMainWindow()
        openPage("layoutEditorButton", "layoutEditorPage")
        tryCompare(page, "width", 1920)
        layout = page.currentLayout
        var manager = layout.selectionManager
        dropFromToolbox("zrnet_fader", 150, 200)
        dropFromToolbox("text", 500, 150)
        dropFromToolbox("tab_container", 600, 450)
        var [fader, label, tabs] = [0, 1, 2].map(function(i) { return layout.widgets.get(i) })
        tabs.currentTabIndex = 1
        var tabPage = widgetItem(tabs).getContainer(1)
        var centre = tabPage.mapToItem(canvas(), tabPage.width / 2, tabPage.height / 2)
        dropFromToolbox("zrnet_rotary", centre.x, centre.y)
        var knob = tabs.widgetChildren.get(0)
        compare([layout.widgets.count, tabs.widgetChildren.count, tabs.getContainerLocation(knob)], [3, 1, 1])
        manager.setSelection(label)
        type(editor("Text").textBlockAlias, "hi")
        page.forceActiveFocus()
        mouseClick(editor("Text Colour"))
        part("colourDialog").color = "#336699"
        part("colourDialog").accepted()
        part("colourDialog").close()
        compare([row("Text").stringValue, String(row("Text Colour").value)], ["hi", "#336699"])
        manager.setSelection(fader)
        manager.addToSelection(label)
        chooseMenuItem("alignMenu", "Align Top")
        fuzzyCompare(label.yFraction, fader.yFraction, 1e-6)
        manager.setSelection(label)
        chooseMenuItem("orderMenu", "Send To Back")
        verify(label.z < fader.z)
        // The pasted copy is selected and drawn (its place is checked by the layout tests).
        mouseClick(part("copyButton"))
        mouseClick(part("pasteButton"))
        var copy = layout.widgets.get(3)
        compare([layout.widgets.count, manager.selectionCount, copy.selected, !!widgetItem(copy)], [4, 1, true, true])
        // The window's keys: Tab selects the first widget, the arrows move it by the grid step.
        window.requestActivate()
        tryCompare(window, "active", true)
        page.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        compare([manager.selectionCount, fader.selected], [1, true])
        var before = fader.xFraction
        keyClick(Qt.Key_Right)
        fuzzyCompare(fader.xFraction, before + 0.05, 1e-6)
        keySequence("Ctrl+A")
        compare(manager.selectionCount, 5)
        compare(["Del", "Ctrl+Z", "Ctrl+Shift+Z", "Ctrl+Z", "Ctrl+Y", "Ctrl+Z"].map(function(keys) {
            keySequence(keys)
            return layout.widgets.count }), [0, 4, 0, 4, 0, 4])
        var file = testFolderUrl + "/endtoend.xml"
        verify(_application.saveConfig(file))
        var saved = fileText(file)
        verify(saved.indexOf("zrnet_rotary") > 0 && saved.indexOf("#336699") > 0)
        for (var steps = 0; layout.hasUndo && steps < 100; ++steps)
            keySequence("Ctrl+Z")
        compare([layout.widgets.count, page.dynamicallyCreatedItems.length], [0, 0])
        verify(_application.loadConfig(file))
        verify(_application.saveConfig(file))
        compare(fileText(file), saved)
    }

    // Top and height of a tab container's bar and of its pages, in tenths of the container's height.
    function tabsGeometry(item) {
        var [bar, stack] = [findChild(item, "tabBar"), findChild(item, "stackLayout")]
        return [bar.y, bar.height, stack.y, stack.height].map(function(v) { return Math.round(10 * v / item.height) })
    }

    function chooseTabPosition(text) {
        var combo = editor("Tab Position")
        mouseClick(combo)
        tryCompare(combo.popup, "opened", true)
        for (var i = 0; combo.textAt(i) !== text; ++i) {}
        var list = combo.popup.contentItem
        tryVerify(function() { return list.itemAtIndex(i) !== null })
        mouseClick(list.itemAtIndex(i))
        tryCompare(combo.popup, "visible", false)
    }

    // The bar goes under the pages and back over them, by the list and by Ctrl+Z, in the editor and the
    // layout manager's thumbnail; a widget dropped on the middle of the container afterwards lands in the tab.
    function test_tabBarMovesToBottomAndBackKeepingItsHeight() {
        showMainWindow()
        openPage("layoutEditorButton", "layoutEditorPage")
        tryCompare(page, "width", 1920)
        layout = page.currentLayout
        dropFromToolbox("tab_container", 600, 450)
        var tabs = layout.widgets.get(0)
        var thumbnail = findChild(findChild(window.contentItem, "layoutManagerPage"), "thumbnailLayoutView")
        var views = function() { return [widgetItem(tabs), itemOf(thumbnail, tabs)].map(tabsGeometry) }
        var [top, bottom] = [[0, 1, 1, 9], [9, 1, 0, 9]]
        compare(views(), [top, top])
        var steps = [function() { chooseTabPosition("Bottom") }, function() { chooseTabPosition("Top") },
                     function() { keySequence("Ctrl+Z") }, function() { keySequence("Ctrl+Z") }]
        compare(steps.map(function(step) { step(); return views() }),
                [[bottom, bottom], [top, top], [bottom, bottom], [top, top]])
        var item = widgetItem(tabs)
        var centre = item.mapToItem(canvas(), item.width / 2, item.height / 2)
        dropFromToolbox("rect", centre.x, centre.y)
        compare([layout.widgets.count, tabs.widgetChildren.count], [1, 1])
    }
}
