import QtQuick 2.12
import QtTest 1.12

// The property panel over the selection's group properties: typed input,
// commits, keyboard movement and the pickers.
EditorPageTestCase {
    name: "PropertyPanel"

    function select(type) {
        var widget = layout.createAndAddWidget(type, null, -1, 0.1, 0.1, 0.3, 0.3)
        layout.closeUndoBlock()
        page.rebuild()
        layout.selectionManager.setSelection(widget)
        wait(0)
        return widget
    }

    function editor(propertyName) {
        var row = part("propertyRow_" + propertyName)
        return row.focusItem
    }

    function type(field, text) {
        field.forceActiveFocus()
        field.selectAll()
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
        if (text === "")
            keyClick(Qt.Key_Delete)
    }

    function test_sizeFractionInputWithinBounds_data() {
        return [
            { tag: "above the bound", text: "250", rejected: true, width: 0.3 },
            { tag: "half", text: "50", rejected: false, width: 0.5 },
            { tag: "not a number", text: "x", rejected: true, width: 0.3 }
        ]
    }

    function test_sizeFractionInputWithinBounds(data) {
        showPage(0, 0)
        var widget = select("rect")
        var field = editor("Width")
        field.forceActiveFocus()
        // As pasted: typed digit by digit, each accepted prefix is written.
        field.text = data.text
        compare(field.rejected, data.rejected)
        compare(findChild(field, "rejectedMark").visible, data.rejected)
        fuzzyCompare(widget.widthFraction, data.width, 1e-6)
    }

    function test_wholeNumbersAreCheckedAndWrittenWhenFinished_data() {
        return [
            { tag: "above the bound", text: "12", rejected: true, tabs: 4 },
            { tag: "letters", text: "abc", rejected: true, tabs: 4 },
            { tag: "trailing letter", text: "3x", rejected: true, tabs: 4 },
            { tag: "trailing point", text: "3.", rejected: true, tabs: 4 },
            { tag: "ten", text: "10", rejected: false, tabs: 10 }
        ]
    }

    function test_wholeNumbersAreCheckedAndWrittenWhenFinished(data) {
        showPage(0, 0)
        var tabs = select("tab_container")
        var child = layout.createAndAddWidget("rect", tabs, 3, 0.1, 0.1, 0.2, 0.2)
        layout.closeUndoBlock()
        layout.selectionManager.setSelection(tabs)
        var field = editor("Number of tabs")
        type(field, data.text)
        compare(field.rejected, data.rejected)
        // Nothing is written while typing: "1" on the way to "10" never removes tab 4.
        compare(tabs.tabs.count, 4)
        compare(tabs.widgetChildren.count, 1)
        keyClick(Qt.Key_Return)
        compare(tabs.tabs.count, data.tabs)
        compare(tabs.widgetChildren.count, 1)
        if (!data.rejected) {
            layout.undoPressed()
            compare(tabs.tabs.count, 4)
        }
    }

    function test_clearingAStringWritesButFloatsRefuse() {
        showPage(0, 0)
        select("text")
        // The text widget's text is a text block, which takes Tab as text.
        var block = editor("Text")
        verify(block.textBlockAlias !== undefined)
        block.textBlockAlias.forceActiveFocus()
        block.textBlockAlias.selectAll()
        keyClick(Qt.Key_Delete)
        compare(layout.selectionManager.currentSelectionProperties.get(indexOf("Text")).stringValue, "")
    }

    function test_tabWrapsRoundTheRows() {
        showPage(0, 0)
        select("rect")
        var rows = layout.selectionManager.currentSelectionProperties
        var last = editor(rows.get(rows.count - 1).name)
        last.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(editor("X").activeFocus)
        keyClick(Qt.Key_Backtab)
        verify(last.activeFocus)
    }

    function test_undoAndRedoKeysInAField_data() {
        return [
            { tag: "Ctrl+Shift+Z", key: Qt.Key_Z, modifiers: Qt.ControlModifier | Qt.ShiftModifier },
            { tag: "Ctrl+Y", key: Qt.Key_Y, modifiers: Qt.ControlModifier }
        ]
    }

    function test_undoAndRedoKeysInAField(data) {
        showPage(0, 0)
        var widget = select("rect")
        var field = editor("X")
        type(field, "40")
        keyClick(Qt.Key_Return)
        fuzzyCompare(widget.xFraction, 0.4, 1e-6)
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        fuzzyCompare(widget.xFraction, 0.1, 1e-6)
        // Undo rebuilds the rows with the restored values.
        field = editor("X")
        compare(field.text, "10")
        field.forceActiveFocus()
        keyClick(data.key, data.modifiers)
        fuzzyCompare(widget.xFraction, 0.4, 1e-6)
    }

    function test_fontRowOpensThePickerAndWritesTheChoice() {
        showPage(0, 0)
        var widget = select("text")
        var fontEditor = editor("Font")
        compare(findChild(fontEditor, "fontName").text, "Lato")
        mouseClick(fontEditor)
        var picker = part("fontPicker")
        verify(part("fontPickerLayer").visible)
        var codes = _application.fontCodes
        var other = codes[codes.length - 1]
        picker.currentFontCode = other
        picker.closing(other)
        verify(!part("fontPickerLayer").visible)
        compare(layout.selectionManager.currentSelectionProperties.get(indexOf("Font")).stringValue, other)
        layout.undoPressed()
        compare(findChild(editor("Font"), "fontName").text, "Lato")
    }

    function indexOf(name) {
        var rows = layout.selectionManager.currentSelectionProperties
        for (var i = 0; i < rows.count; ++i) {
            if (rows.get(i).name === name)
                return i
        }
        return -1
    }

    function shownIds(picker) {
        var ids = []
        var model = picker.shownModel
        for (var i = 0; i < model.count; ++i)
            ids.push(model.shownItems.get(i).model.qtObject.resourceId)
        return ids.sort()
    }

    function test_imagePickerForAButtonsOnImage() {
        showPage(0, 0)
        var userId = _application.currentConfig.addNewImage(Qt.resolvedUrl("../../data/images/folder.png"))
        verify(/^\d+$/.test(userId))
        var picker = part("imagePicker")
        picker.setSelectionType("zrnet_button", "on")
        compare(findChild(picker, "onOffComboBox").currentIndex, 0)
        findChild(picker, "themeComboBox").currentIndex = 2
        var expected = ["_basic", userId]
        for (var i = 0; i < 5; ++i)
            expected.push("default_th_2_btn_on_" + i)
        compare(shownIds(picker), expected.sort())
        // A mixed selection is offered every user image, however long its id.
        picker.setSelectionType("multiple", "")
        compare(shownIds(picker), [userId])
    }

    function test_imageRowWritesOnlyAChosenPicture() {
        showPage(0, 0)
        var userId = _application.currentConfig.addNewImage(Qt.resolvedUrl("../../data/images/folder.png"))
        select("tab_container")
        var row = indexOf("Image On")
        mouseClick(editor("Image On"))
        verify(part("imagePickerLayer").visible)
        compare(shownIds(part("imagePicker")), [userId, "_basic"].sort())
        // A click beside the picker writes nothing and closes it.
        mouseClick(part("imagePickerLayer"), 5, 5)
        verify(!part("imagePickerLayer").visible)
        compare(layout.selectionManager.currentSelectionProperties.get(row).stringValue, "_basic")
        mouseClick(editor("Image On"))
        part("imagePicker").closing(userId)
        compare(layout.selectionManager.currentSelectionProperties.get(row).stringValue, userId)
        compare(findChild(editor("Image On"), "imageName").text,
                _application.currentConfig.getResourceName(userId))
    }

    function test_colourTextIsWhiteOnDarkColours() {
        showPage(0, 0)
        select("rect")
        var colour = editor("Colour")
        var rows = layout.selectionManager.currentSelectionProperties
        rows.get(indexOf("Colour")).value = "#000080"
        compare(findChild(colour, "colourText").color, Qt.rgba(1, 1, 1, 1))
        rows.get(indexOf("Colour")).value = "#ffff80"
        compare(findChild(colour, "colourText").color, Qt.rgba(0, 0, 0, 1))
    }
}
