import QtQuick 2.12
import QtTest 1.12
import "qrc:/Properties/PropertyInput.js" as Input

// How typed text is read for each property type and which pictures the image
// picker offers; the property panel over the selection: typed input, commits,
// keyboard movement and the pickers.
EditorPageTestCase {
    name: "PropertyPanel"

    function test_typedText_data() {
        var T = Input.Type
        return [
            { tag: "percent", type: T.SizeFraction, text: "50", rejected: false, write: true, value: 0.5 },
            { tag: "percent above", type: T.SizeFraction, text: "250", rejected: true, write: false },
            { tag: "percent text", type: T.SizeFraction, text: "abc", rejected: true, write: false },
            { tag: "int", type: T.Int, text: " 7 ", rejected: false, write: false, value: 7 },
            { tag: "int above", type: T.Int, text: "12", rejected: true, write: false },
            { tag: "int letters", type: T.Int, text: "3x", rejected: true, write: false },
            { tag: "int point", type: T.Int, text: "3.", rejected: true, write: false },
            { tag: "int empty", type: T.Int, text: "", rejected: true, write: false },
            { tag: "float", type: T.Float, text: "-2.5e1", rejected: false, write: true, value: -25 },
            { tag: "float text", type: T.Float, text: "2,5", rejected: true, write: false },
            { tag: "float empty", type: T.Float, text: "", rejected: true, write: false },
            { tag: "string empty", type: T.String, string: true, text: "", rejected: false, write: true, value: "" },
            { tag: "plain empty", type: undefined, text: "", rejected: false, write: false },
            { tag: "plain text", type: undefined, text: "a", rejected: false, write: true, value: "a" }
        ]
    }

    function test_typedText(data) {
        var bounds = data.type === Input.Type.Int ? { low: 1, high: 10 } : { low: 0.000999, high: 2 }
        var result = Input.read(data.type, data.string === true, data.text, bounds)
        compare([result.rejected, result.write], [data.rejected, data.write])
        if (typeof data.value === "number")
            fuzzyCompare(result.value, data.value, 1e-9)
        else if (data.value !== undefined)
            compare(result.value, data.value)
    }

    function test_imagePatterns_data() {
        return [
            { tag: "button on, theme 3", type: "zrnet_button", sub: "on", theme: 2,
              shown: ["_basic", "default_th_2_btn_on_4", "17"], hidden: ["default_th_1_btn_on_0", "_default"] },
            { tag: "rotary background", type: "zrnet_rotary", sub: "background", theme: 0,
              shown: ["default_gen_rotary_0", "123"], hidden: ["default_th_0_rotary_pointer_0", "_basic"] },
            { tag: "rotary other image", type: "zrnet_rotary", sub: "", theme: 0, shown: [], hidden: ["1", "_basic"] },
            { tag: "colour-band meter", type: "zrnet_chrom_meter", sub: "", theme: 1,
              shown: ["_basic", "default_th_1_led_on_3"], hidden: ["5", "default_th_1_led_off_3"] },
            { tag: "mixed selection", type: "multiple", sub: "", theme: 0,
              shown: ["1", "42", "1234"], hidden: ["_basic", "default_th_0_btn_on_0"] },
            { tag: "image", type: "image", sub: "", theme: 0, shown: ["_default", "77"], hidden: ["_basic"] }
        ]
    }

    function test_imagePatterns(data) {
        var pattern = Input.imageFilterPattern(data.type, data.sub, data.theme, "on")
        var accepts = function(id) { return pattern !== "" && new RegExp(pattern).test(id) }
        compare(data.shown.map(accepts), data.shown.map(function() { return true }), "shown")
        compare(data.hidden.map(accepts), data.hidden.map(function() { return false }), "hidden")
        compare(["On Image", "Knob Image", "Image"].map(Input.imageSubCategory), ["on", "control", ""])
    }

    function select(type) {
        var widget = showWidgets([[0.1, 0.1, 0.3, 0.3]], type)[0]
        layout.selectionManager.setSelection(widget)
        wait(0)
        return widget
    }

    function type(field, text) {
        field.forceActiveFocus()
        field.selectAll()
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
    }

    function test_sizeFractionIsWrittenAsTypedWithinItsBounds_data() {
        return [ { tag: "above the bound", text: "250", rejected: true, width: 0.3 },
                 { tag: "half", text: "50", rejected: false, width: 0.5 } ]
    }

    function test_sizeFractionIsWrittenAsTypedWithinItsBounds(data) {
        var widget = select("rect")
        var field = editor("Width")
        field.forceActiveFocus()
        field.text = data.text
        compare([field.rejected, findChild(field, "rejectedMark").visible], [data.rejected, data.rejected])
        fuzzyCompare(widget.widthFraction, data.width, 1e-6)
    }

    function test_wholeNumbersAreWrittenOnlyWhenFinished_data() {
        return [ { tag: "above the bound", text: "12", rejected: true, tabs: 4 },
                 { tag: "ten", text: "10", rejected: false, tabs: 10 } ]
    }

    function test_wholeNumbersAreWrittenOnlyWhenFinished(data) {
        var tabs = select("tab_container")
        layout.createAndAddWidget("rect", tabs, 3, 0.1, 0.1, 0.2, 0.2)
        layout.closeUndoBlock()
        layout.selectionManager.setSelection(tabs)
        var field = editor("Number of tabs")
        type(field, data.text)
        compare(field.rejected, data.rejected)
        // Nothing is written while typing: "1" on the way to "10" never removes tab 4.
        compare([tabs.tabs.count, tabs.widgetChildren.count], [4, 1])
        keyClick(Qt.Key_Return)
        compare([tabs.tabs.count, tabs.widgetChildren.count], [data.tabs, 1])
        layout.undoPressed()
        compare(tabs.tabs.count, 4)
    }

    function test_clearingATextBlockWritesTheEmptyText() {
        select("text")
        var block = editor("Text").textBlockAlias
        block.forceActiveFocus()
        block.selectAll()
        keyClick(Qt.Key_Delete)
        compare(row("Text").stringValue, "")
    }

    function test_tabWrapsRoundTheRows() {
        select("rect")
        var last = editor(rows().get(rows().count - 1).name)
        last.forceActiveFocus()
        keyClick(Qt.Key_Tab)
        verify(editor("X").activeFocus)
        keyClick(Qt.Key_Backtab)
        verify(last.activeFocus)
    }

    function test_undoAndRedoKeysInAField_data() {
        return [ { tag: "Ctrl+Shift+Z", key: Qt.Key_Z, modifiers: Qt.ControlModifier | Qt.ShiftModifier },
                 { tag: "Ctrl+Y", key: Qt.Key_Y, modifiers: Qt.ControlModifier } ]
    }

    function test_undoAndRedoKeysInAField(data) {
        var widget = select("rect")
        type(editor("X"), "40")
        keyClick(Qt.Key_Return)
        fuzzyCompare(widget.xFraction, 0.4, 1e-6)
        keyClick(Qt.Key_Z, Qt.ControlModifier)
        fuzzyCompare(widget.xFraction, 0.1, 1e-6)
        // Undo rebuilds the rows with the restored values.
        compare(editor("X").text, "10")
        editor("X").forceActiveFocus()
        keyClick(data.key, data.modifiers)
        fuzzyCompare(widget.xFraction, 0.4, 1e-6)
    }

    function test_fontRowOpensThePickerAndWritesTheChoice() {
        select("text")
        compare(findChild(editor("Font"), "fontName").text, "Lato")
        mouseClick(editor("Font"))
        verify(part("fontPickerLayer").visible)
        var other = _application.fontCodes[_application.fontCodes.length - 1]
        part("fontPicker").currentFontCode = other
        part("fontPicker").closing(other)
        verify(!part("fontPickerLayer").visible)
        compare(row("Font").stringValue, other)
        layout.undoPressed()
        compare(findChild(editor("Font"), "fontName").text, "Lato")
    }

    function shownIds(picker) {
        var ids = []
        for (var i = 0; i < picker.shownModel.count; ++i)
            ids.push(picker.shownModel.shownItems.get(i).model.qtObject.resourceId)
        return ids.sort()
    }

    function test_imagePickerOffersWhatTheSelectionTakes() {
        showPage(0, 0)
        var userId = config.addNewImage(Qt.resolvedUrl("../../data/images/folder.png"))
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
        select("tab_container")
        var userId = config.addNewImage(Qt.resolvedUrl("../../data/images/folder.png"))
        mouseClick(editor("Image On"))
        verify(part("imagePickerLayer").visible)
        compare(shownIds(part("imagePicker")), [userId, "_basic"].sort())
        // A click beside the picker writes nothing and closes it.
        mouseClick(part("imagePickerLayer"), 5, 5)
        verify(!part("imagePickerLayer").visible)
        compare(row("Image On").stringValue, "_basic")
        mouseClick(editor("Image On"))
        part("imagePicker").closing(userId)
        compare(row("Image On").stringValue, userId)
        compare(findChild(editor("Image On"), "imageName").text, config.getResourceName(userId))
    }

    function test_colourTextIsWhiteOnDarkColours() {
        select("rect")
        row("Colour").value = "#000080"
        compare(findChild(editor("Colour"), "colourText").color, Qt.rgba(1, 1, 1, 1))
        row("Colour").value = "#ffff80"
        compare(findChild(editor("Colour"), "colourText").color, Qt.rgba(0, 0, 0, 1))
    }
}
