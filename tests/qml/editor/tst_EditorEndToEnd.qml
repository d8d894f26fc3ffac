// A page built in the main window as a user builds it, saved, undone back to empty, and read back unchanged.
EditorPageTestCase {
    name: "EditorEndToEnd"

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
        window = Qt.createComponent("qrc:/MainWindow.qml").createObject(null, { quitApplication: function() {} })
        window.requestActivate()
        tryCompare(window, "active", true)
        window.width = 1920
        window.height = 1080
        mouseClick(findChild(window.contentItem, "createButton"))
        tryCompare(window, "mainMenuEnabled", true)
        mouseClick(findChild(window.contentItem, "layoutEditorButton"))
        page = findChild(window.contentItem, "layoutEditorPage")
        tryCompare(page, "width", 1920)
        waitForRendering(page)
        page.centreView()
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
        // The copy lands beside the label, selected.
        mouseClick(part("copyButton"))
        mouseClick(part("pasteButton"))
        var copy = layout.widgets.get(3)
        compare([layout.widgets.count, manager.selectionCount, copy.selected, !!widgetItem(copy)], [4, 1, true, true])
        fuzzyCompare(copy.xFraction, label.xFraction + 0.01, 1e-4)
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
}
