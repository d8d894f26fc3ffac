import "qrc:/Properties/PropertyInput.js" as Input

// Typed text and picture filters as read for each property type; the panel's fields, keys and pickers.
EditorPageTestCase {
    name: "PropertyPanel"

    function test_typedText_data() {
        var T = Input.Type
        // Each: tag, property type, text, rejected, written, the value read.
        return [
            ["percent", T.SizeFraction, "50", false, true, 0.5], ["percent above", T.SizeFraction, "250", true, false],
            ["percent text", T.SizeFraction, "abc", true, false], ["int", T.Int, " 7 ", false, false, 7],
            ["int above", T.Int, "12", true, false], ["int letters", T.Int, "3x", true, false],
            ["int point", T.Int, "3.", true, false], ["int empty", T.Int, "", true, false],
            ["float", T.Float, "-2.5e1", false, true, -25], ["float text", T.Float, "2,5", true, false],
            ["float empty", T.Float, "", true, false], ["string empty", T.String, "", false, true, ""],
            ["plain empty", undefined, "", false, false], ["plain text", undefined, "a", false, true, "a"]
        ].map(function(r) { return { tag: r[0], type: r[1], text: r[2], rejected: r[3], write: r[4], value: r[5] } })
    }
    function test_typedText(data) {
        var bounds = data.type === Input.Type.Int ? { low: 1, high: 10 } : { low: 0.000999, high: 2 }
        var result = Input.read(data.type, data.type === Input.Type.String, data.text, bounds)
        compare([result.rejected, result.write], [data.rejected, data.write])
        if (typeof data.value === "number")
            fuzzyCompare(result.value, data.value, 1e-9)
        else if (data.value !== undefined)
            compare(result.value, data.value)
    }

    function test_imagePatterns_data() {
        // Each: tag, selection type, image kind, theme, pictures offered, not offered (more in the picker test).
        return [
            ["rotary background", "zrnet_rotary", "background", 0, ["default_gen_rotary_0", "123"],
             ["default_th_0_rotary_pointer_0", "_basic"]],
            ["rotary other image", "zrnet_rotary", "", 0, [], ["1", "_basic"]],
            ["colour-band meter", "zrnet_chrom_meter", "", 1, ["_basic", "default_th_1_led_on_3"],
             ["5", "default_th_1_led_off_3"]],
            ["image", "image", "", 0, ["_default", "77"], ["_basic"]]
        ].map(function(r) { return { tag: r[0], type: r[1], sub: r[2], theme: r[3], shown: r[4], hidden: r[5] } })
    }
    function test_imagePatterns(data) {
        var pattern = Input.imageFilterPattern(data.type, data.sub, data.theme, "on")
        var accepts = function(id) { return pattern !== "" && new RegExp(pattern).test(id) }
        compare([data.shown.map(accepts), data.hidden.map(accepts)], [data.shown.map(function() { return true }),
                                                                      data.hidden.map(function() { return false })])
        compare(["On Image", "Knob Image", "Image"].map(Input.imageSubCategory), ["on", "control", ""])
    }

    // A size is written as typed; a whole number on Return, so "1" on the way to "10" keeps tab 4's widgets.
    function test_fieldsWriteOnlyWhatTheyAccept_data() {
        return [ { tag: "width above the bound", name: "Width", text: "250", rejected: true, typed: 0.25 },
                 { tag: "width half", name: "Width", text: "50", typed: 0.5 },
                 { tag: "tabs above the bound", name: "Number of tabs", text: "12", rejected: true, typed: 4, done: 4 },
                 { tag: "tabs ten", name: "Number of tabs", text: "10", typed: 4, done: 10 } ]
    }
    function test_fieldsWriteOnlyWhatTheyAccept(data) {
        var tabs = select("tab_container")
        layout.createAndAddWidget("rect", tabs, 3, 0.1, 0.1, 0.2, 0.2)
        layout.closeUndoBlock()
        layout.selectionManager.setSelection(tabs)
        var read = function() { return data.name === "Width" ? tabs.widthFraction : tabs.tabs.count }
        type(editor(data.name), data.text)
        compare([editor(data.name).rejected, findChild(editor(data.name), "rejectedMark").visible],
                [!!data.rejected, !!data.rejected])
        fuzzyCompare(read(), data.typed, 1e-6)
        if (!data.done)
            return
        keyClick(Qt.Key_Return)
        compare([read(), tabs.widgetChildren.count], [data.done, 1])
        layout.undoPressed()
        compare(tabs.tabs.count, 4)
    }

    // A whole number not yet confirmed goes, as one step, to the widget it was typed for when another widget is
    // clicked, and is what Ctrl+Z takes back; a field that focus leaves shows the value written, not a rejected text.
    function test_aFieldLeftKeepsItsNumberAndShowsTheValue_data() {
        return [ { tag: "another widget clicked", text: "2", tabs: 2, shown: "4",
                   leave: function(other) { mouseClick(widgetItem(other)) } },
                 { tag: "undone and redone", text: "2", tabs: 2, shown: "2", redo: true,
                   leave: function() { keyClick(Qt.Key_Z, Qt.ControlModifier) } },
                 { tag: "rejected text, focus moves on", text: "3x", tabs: 4, shown: "4",
                   leave: function() { keyClick(Qt.Key_Tab) } } ]
    }
    function test_aFieldLeftKeepsItsNumberAndShowsTheValue(data) {
        var [tabs, other] = showWidgets([[0.1, 0.1, 0.3, 0.3], [0.6, 0.6, 0.3, 0.3]], "tab_container")
        layout.selectionManager.setSelection(tabs)
        type(editor("Number of tabs"), data.text)
        data.leave(other)
        if (data.redo) {
            compare(tabs.tabs.count, 4)
            layout.redoPressed()
        }
        compare([layout.widgets.count, tabs.tabs.count, other.tabs.count, editor("Number of tabs").text],
                [2, data.tabs, 4, data.shown])
        layout.undoPressed()
        compare(tabs.tabs.count, 4)
    }

    // A number typed and not confirmed is what a toolbar click that takes no keys leaves behind; it reaches the
    // widget it was typed for when the click rebuilds the panel.
    function test_aNumberPendingWhenToolbarPasteRebuildsThePanelIsKept() {
        var tabs = select("tab_container")
        mouseClick(part("copyButton"))
        type(editor("Number of tabs"), "2")
        mouseClick(part("pasteButton"))
        compare([layout.widgets.count, tabs.tabs.count, layout.widgets.get(1).tabs.count], [2, 2, 4])
    }

    // Leaving the page by its shortcut leaves the field its focus; the number is written as the page goes.
    function test_aPendingNumberIsWrittenWhenAShortcutLeavesThePage() {
        showMainWindow()
        openPage("layoutEditorButton", "layoutEditorPage")
        layout = page.currentLayout
        dropFromToolbox("tab_container", 500, 300)
        type(editor("Number of tabs"), "2")
        keySequence("Ctrl+,")
        compare([findChild(window.contentItem, "layoutManagerPage").visible, layout.widgets.get(0).tabs.count],
                [true, 2])
        // The manager has the keys, not the hidden field: Delete takes the selected layout.
        keyClick(Qt.Key_Delete)
        compare(config.layouts.count, 0)
    }

    // A file action by its shortcut leaves the field its focus too; the number goes with what is saved.
    function test_aPendingNumberIsWrittenBeforeAFileAction_data() {
        return [{ tag: "save", keys: "Ctrl+S" }, { tag: "save as", keys: "Ctrl+Shift+S" }]
    }
    function test_aPendingNumberIsWrittenBeforeAFileAction(data) {
        showMainWindow({ saveConfigFileDialogDialog: standInDialog(), loadConfigFileDialogDialog: standInDialog() })
        openPage("layoutEditorButton", "layoutEditorPage")
        layout = page.currentLayout
        dropFromToolbox("tab_container", 500, 300)
        type(editor("Number of tabs"), "2")
        keySequence(data.keys)
        compare([layout.widgets.get(0).tabs.count, window.mainMenuEnabled], [2, false])
    }

    // A decimal or a text typed without Return is a change at once, as the title shows, and a whole number is
    // written first; New, Open, Quit and the window's close button then ask about it, and Save there writes it.
    function test_aValueBeingTypedIsAskedAboutAndSaved_data() {
        var rows = []
        for (var typed of [["Y", "rect", "70"], ["X", "rect", "35"], ["Text", "text", "Hi"],
                           ["Number of tabs", "tab_container", "2"]]) {
            for (var end of ["Ctrl+N", "Ctrl+O", "Ctrl+Q", "close"])
                rows.push({ tag: typed[0] + ", " + end, name: typed[0], widget: typed[1], text: typed[2], end: end })
        }
        return rows
    }
    function test_aValueBeingTypedIsAskedAboutAndSaved(data) {
        var loadDialog = standInDialog()
        showMainWindow({ saveConfigFileDialogDialog: standInDialog(), loadConfigFileDialogDialog: loadDialog })
        openPage("layoutEditorButton", "layoutEditorPage")
        layout = page.currentLayout
        dropFromToolbox(data.widget, 500, 300)
        layout.selectionManager.setSelection(layout.widgets.get(0))
        var file = testFolderUrl + "/typed.xml"
        verify(_application.saveConfig(file))
        var field = editor(data.name)
        type(data.name === "Text" ? field.textBlockAlias : field, data.text)
        compare(window.title, "Kelvari Editor - typed.xml" + (data.name === "Number of tabs" ? "" : "*"))
        if (data.end === "close")
            window.close()
        else
            keySequence(data.end)
        tryCompare(findChild(window.contentItem, "unsavedChangesPopup"), "visible", true)
        mouseClick(findChild(window.contentItem, "unsavedSaveButton"))
        // Open then asks for a file; none is chosen.
        loadDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)
        verify(_application.loadConfig(file))
        layout = config.layouts.get(0)
        layout.selectionManager.setSelection(layout.widgets.get(0))
        compare(row(data.name).stringValue, data.text)
    }

    // The tab containers a number is then typed for, selected as a user selects them.
    function droppedContainer() {
        showPage(0, 0)
        dropFromToolbox("tab_container", 300, 300)
        return [layout.widgets.get(0)]
    }
    function pastedContainers(count) {
        var originals = showWidgets([[0.1, 0.1, 0.3, 0.3], [0.5, 0.5, 0.3, 0.3]].slice(0, count), "tab_container")
        mouseClick(widgetItem(originals[0]))
        if (count > 1)
            mouseClick(widgetItem(originals[1]), undefined, undefined, Qt.LeftButton, Qt.ShiftModifier)
        mouseClick(part("copyButton"))
        mouseClick(part("pasteButton"))
        return [0, 1].slice(0, count).map(function(i) { return layout.widgets.get(count + i) })
    }
    function clickedAfter(buttons) {
        return function(made) {
            for (var name of buttons)
                mouseClick(part(name))
            mouseClick(widgetItem(made[0]))
            return made
        }
    }

    // A number not yet confirmed is written, as a step of its own and only into the widgets it was typed for,
    // before a toolbar click changes the page; the toolbar's Undo and Redo then do what Ctrl+Z and Ctrl+Y do.
    function test_aPendingNumberIsWrittenBeforeTheToolbarChangesThePage_data() {
        // Each: tag, the containers typed for, the buttons clicked then, the button clicked after that, and after
        // each of those clicks the count of widgets on the page and of tabs of those containers.
        return [
            ["drop, Undo", droppedContainer, ["undoButton"], "redoButton", [1, 1], [4, 2]],
            ["drop, Zoom In, Undo", droppedContainer, ["zoomInButton", "undoButton"], "redoButton", [1, 1], [4, 2]],
            ["drop undone and redone, Undo", function() { return clickedAfter(["undoButton", "redoButton"])(
                droppedContainer()) }, ["undoButton"], "redoButton", [1, 1], [4, 2]],
            ["paste, Undo", function() { return pastedContainers(1) }, ["undoButton"], "redoButton", [2, 2], [4, 2]],
            ["two pasted, Undo", function() { return pastedContainers(2) }, ["undoButton"], "redoButton", [4, 4],
             [4, 2]],
            ["cut and undone, Redo", function() { return clickedAfter(["cutButton", "undoButton"])(
                [select("tab_container")]) }, ["redoButton"], "undoButton", [1, 1], [2, 4]],
            ["copied, Paste, Undo", function() { var made = [select("tab_container")]; mouseClick(part("copyButton"))
                return made }, ["pasteButton"], "undoButton", [2, 1], [2, 2]]
        ].map(function(r) { return { tag: r[0], setup: r[1], buttons: r[2], then: r[3], widgets: r[4], tabs: r[5] } })
    }
    function test_aPendingNumberIsWrittenBeforeTheToolbarChangesThePage(data) {
        var typedFor = data.setup()
        compare(typedFor.map(function(w) { return w.selected }), typedFor.map(function() { return true }))
        var others = layout.widgets.toVarArray().filter(function(w) { return typedFor.indexOf(w) < 0 })
        type(editor("Number of tabs"), "2")
        for (var name of data.buttons)
            mouseClick(part(name))
        var counts = function() { return [layout.widgets.count].concat(typedFor.concat(others).map(function(w) {
            return w.tabs.count })) }
        var expected = function(i) { return [data.widgets[i]].concat(typedFor.map(function() { return data.tabs[i] }),
                                                                     others.map(function() { return 4 })) }
        compare(counts(), expected(0))
        mouseClick(part(data.then))
        compare(counts(), expected(1))
    }

    function test_textBlockClearsAndFontRowOpensThePickerAndWritesTheChoice() {
        select("text")
        type(editor("Text").textBlockAlias, "")
        keyClick(Qt.Key_Delete)
        compare([row("Text").stringValue, findChild(editor("Font"), "fontName").text], ["", "Lato"])
        mouseClick(editor("Font"))
        verify(part("fontPickerLayer").visible)
        var other = _application.fontCodes[_application.fontCodes.length - 1]
        part("fontPicker").closing(other)
        compare([part("fontPickerLayer").visible, row("Font").stringValue], [false, other])
        layout.undoPressed()
        compare(findChild(editor("Font"), "fontName").text, "Lato")
    }

    function test_tabWrapsRoundTheRowsAndColourTextIsWhiteOnDarkColours() {
        select("rect")
        var rows = layout.selectionManager.currentSelectionProperties
        var last = editor(rows.get(rows.count - 1).name)
        last.forceActiveFocus()
        compare([Qt.Key_Tab, Qt.Key_Backtab].map(function(key) { keyClick(key); return editor("X").activeFocus }),
                [true, false])
        verify(last.activeFocus)
        compare(["#000080", "#ffff80"].map(function(colour) { row("Colour").value = colour
            return String(findChild(editor("Colour"), "colourText").color) }), ["#ffffff", "#000000"])
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
        // Undo rebuilds the rows with the restored values.
        compare([widget.xFraction.toFixed(4), editor("X").text], ["0.1000", "10"])
        editor("X").forceActiveFocus()
        keyClick(data.key, data.modifiers)
        fuzzyCompare(widget.xFraction, 0.4, 1e-6)
    }

    function shownIds(picker) {
        return Array.apply(null, Array(picker.shownModel.count)).map(function(u, i) {
            return picker.shownModel.shownItems.get(i).model.qtObject.resourceId }).sort()
    }

    function test_imagePickerOffersWhatTheSelectionTakesAndTheRowWritesOnlyAChosenPicture() {
        select("tab_container")
        var userId = config.addNewImage(Qt.resolvedUrl("../../data/images/folder.png"))
        var picker = part("imagePicker")
        picker.setSelectionType("zrnet_button", "on")
        findChild(picker, "themeComboBox").currentIndex = 2
        compare(findChild(picker, "onOffComboBox").currentIndex, 0)
        compare(shownIds(picker), ["_basic", userId].concat([0, 1, 2, 3, 4].map(function(i) {
            return "default_th_2_btn_on_" + i })).sort())
        // A mixed selection is offered every user image, however long its id.
        picker.setSelectionType("multiple", "")
        compare(shownIds(picker), [userId])
        mouseClick(editor("Image On"))
        verify(part("imagePickerLayer").visible)
        compare(shownIds(picker), [userId, "_basic"].sort())
        // A click beside the picker writes nothing and closes it.
        mouseClick(part("imagePickerLayer"), 5, 5)
        compare([part("imagePickerLayer").visible, row("Image On").stringValue], [false, "_basic"])
        mouseClick(editor("Image On"))
        picker.closing(userId)
        compare([row("Image On").stringValue, findChild(editor("Image On"), "imageName").text],
                [userId, config.getResourceName(userId)])
    }

    // The image row names the picture as it is now, after the resource page renamed, deleted or restored it.
    function test_imageRowFollowsThePictureOnTheResourcePage_data() {
        return [{ tag: "rename", keys: [], name: "renamed", shown: "renamed" },
                { tag: "delete", keys: ["Del"], shown: "Unknown" },
                { tag: "delete, undo", keys: ["Del", "Ctrl+Z"], shown: "p.png" },
                { tag: "rename, delete, undo", keys: ["Del", "Ctrl+Z"], name: "renamed", shown: "renamed" }]
    }
    function test_imageRowFollowsThePictureOnTheResourcePage(data) {
        showMainWindow()
        var id = config.addNewImage(testImages.write("p.png", 40, 30))
        config.resourceCloseUndoBlock()
        openPage("layoutEditorButton", "layoutEditorPage")
        var editorPage = page
        layout = page.currentLayout
        dropFromToolbox("image", 500, 300)
        row("Image").value = id
        layout.closeUndoBlock()
        var name = findChild(editor("Image"), "imageName")
        compare(name.text, "p.png")
        openPage("resourceManagerButton", "resourceEditorPage")
        mouseClick(part("resourceCell"), 50, 50)
        if (data.name) {
            type(part("resourceProperty_Name"), data.name)
            keyClick(Qt.Key_Return)
            mouseClick(part("resourceCell"), 50, 50)
        }
        data.keys.forEach(function(keys) { keySequence(keys) })
        keySequence("Ctrl+.")
        tryCompare(editorPage, "visible", true)
        compare(name.text, data.shown)
    }
}
