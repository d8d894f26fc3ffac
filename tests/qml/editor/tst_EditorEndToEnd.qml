import QtQuick 2.12
import QtTest 1.12

// A page built as a user builds it: widgets dropped from the toolbox, one of
// them into a tab, edited in the panel, aligned, ordered, copied and pasted;
// saved, undone back to the empty page, and the saved file read back unchanged.
EditorPageTestCase {
    name: "EditorEndToEnd"

    function fileText(url) {
        var request = new XMLHttpRequest()
        request.open("GET", url, false)
        request.send(null)
        return request.responseText
    }

    function rowIndex(name) {
        var rows = layout.selectionManager.currentSelectionProperties
        for (var i = 0; i < rows.count; ++i) {
            if (rows.get(i).name === name)
                return i
        }
        return -1
    }

    function editor(name) {
        return part("propertyRow_" + name).focusItem
    }

    function chooseMenuItem(buttonName, menuName, text) {
        mouseClick(part(buttonName))
        var menu = part(menuName)
        tryCompare(menu, "opened", true)
        for (var i = 0; i < menu.count; ++i) {
            var item = menu.itemAt(i)
            if (item && item.text === text) {
                mouseClick(item)
                tryCompare(menu, "visible", false)
                return
            }
        }
        fail("no menu item " + text)
    }

    function test_buildSaveUndoAndReopen() {
        showPage(0, 0)
        page.zoomFactor = 1.0
        page.centreView()
        var manager = layout.selectionManager

        dropFromToolbox("zrnet_fader", 150, 200)
        dropFromToolbox("text", 500, 150)
        dropFromToolbox("tab_container", 600, 450)
        compare(layout.widgets.count, 3)
        var fader = layout.widgets.get(0)
        var label = layout.widgets.get(1)
        var tabs = layout.widgets.get(2)

        // A knob into the second tab.
        tabs.currentTabIndex = 1
        var tabPage = widgetItem(tabs).getContainer(1)
        var centre = tabPage.mapToItem(canvas(), tabPage.width / 2, tabPage.height / 2)
        dropFromToolbox("zrnet_rotary", centre.x, centre.y)
        compare(layout.widgets.count, 3)
        compare(tabs.widgetChildren.count, 1)
        var knob = tabs.widgetChildren.get(0)
        compare(tabs.getContainerLocation(knob), 1)

        // Text, colour and font of the label in the panel.
        manager.setSelection(label)
        var block = editor("Text").textBlockAlias
        block.forceActiveFocus()
        block.selectAll()
        keyClick(Qt.Key_H)
        keyClick(Qt.Key_I)
        page.forceActiveFocus()
        compare(manager.currentSelectionProperties.get(rowIndex("Text")).stringValue, "hi")

        mouseClick(editor("Text Colour"))
        var dialog = part("colourDialog")
        compare(dialog.target, manager.currentSelectionProperties.get(rowIndex("Text Colour")))
        dialog.color = "#336699"
        dialog.accepted()
        dialog.close()
        compare(String(manager.currentSelectionProperties.get(rowIndex("Text Colour")).value), "#336699")

        mouseClick(editor("Font"))
        var codes = _application.fontCodes
        part("fontPicker").closing(codes[codes.length - 1])
        compare(manager.currentSelectionProperties.get(rowIndex("Font")).stringValue, codes[codes.length - 1])

        // Align the fader's and the label's tops, then send the label to the back.
        manager.setSelection(fader)
        manager.addToSelection(label)
        chooseMenuItem("alignButton", "alignMenu", "Align Top")
        fuzzyCompare(label.yFraction, fader.yFraction, 1e-6)
        manager.setSelection(label)
        chooseMenuItem("orderButton", "orderMenu", "Send To Back")
        verify(label.z < fader.z)

        // Copy and paste the label through the toolbar: the copy lands beside it, selected.
        mouseClick(part("copyButton"))
        verify(part("pasteButton").buttonEnabled)
        mouseClick(part("pasteButton"))
        compare(layout.widgets.count, 4)
        compare(manager.selectionCount, 1)
        var copy = layout.widgets.get(3)
        verify(copy.selected)
        verify(copy !== label)
        fuzzyCompare(copy.xFraction, label.xFraction + 0.01, 1e-4)
        verify(widgetItem(copy) !== null)

        var file = testFolderUrl + "/endtoend.xml"
        verify(_application.saveConfig(file))
        var saved = fileText(file)
        verify(saved.indexOf("zrnet_rotary") > 0)

        // Every step undone leads back to the empty page.
        var steps = 0
        while (layout.hasUndo && steps < 100) {
            layout.undoPressed()
            ++steps
        }
        compare(layout.widgets.count, 0)
        compare(page.dynamicallyCreatedItems.length, 0)

        page.layoutIndex = -1
        verify(_application.loadConfig(file))
        verify(_application.saveConfig(file))
        compare(fileText(file), saved)
    }
}
