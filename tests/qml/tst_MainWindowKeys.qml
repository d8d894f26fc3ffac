import QtQuick 2.12
import QtTest 1.12

// The keyboard as desktop users expect it: Tab with visible focus, Return and
// Enter, Escape, the menus' keys, F1, and no shortcut on what is not shown.
MainWindowTestCase {
    id: testCase
    name: "MainWindowKeys"

    function focused() { return window.activeFocusItem }

    function menuBarItem(index) { return part("mainMenuBar").itemAt(index) }

    function test_tabShowsTheFocusAndReturnPressesIt() {
        keyClick(Qt.Key_Tab)
        compare(focused(), part("createButton"))
        verify(focused().visualFocus)
        keyClick(Qt.Key_Return)
        tryCompare(window, "mainMenuEnabled", true)

        // Tab reaches the toolbar's icon buttons and the page buttons; Return and Enter press them.
        tabTo("deleteLayoutButton")
        keyClick(Qt.Key_Return)
        compare(configCalls(), ["deletePressed"])
        tabTo("resourceManagerButton")
        verify(focused().visualFocus)
        keyClick(Qt.Key_Enter)
        verify(part("resourceEditorPage").visible)
    }

    function tabTo(name) {
        for (var i = 0; i < 40 && focused() !== part(name); ++i)
            keyClick(Qt.Key_Tab)
        compare(focused(), part(name))
    }

    function test_currentPageButtonStaysChecked() {
        startWorking()
        clickPart("layoutManagerButton")
        verify(part("layoutManagerButton").checked)
        clickPart("layoutManagerButton")
        verify(part("layoutManagerButton").checked)
        verify(part("layoutManagerPage").visible)
    }

    function test_popupsTakeReturnAndEscape() {
        startWorking()
        _application.currentConfig.setDirty(true)
        press("Ctrl+N")
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        // Tab stays inside the pop-up.
        for (var i = 0; i < 4; ++i) {
            keyClick(Qt.Key_Tab)
            verify(window.isWithin(focused(), part("unsavedChangesPopup")))
        }
        keyClick(Qt.Key_Escape)
        tryCompare(window, "mainMenuEnabled", true)
        compare(calls(), [])

        // Return presses the default button, Save, which asks for a file name.
        press("Ctrl+N")
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        keyClick(Qt.Key_Return)
        compare(saveDialog.openCount, 1)
        saveDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)

        _application.saveSucceeds = false
        _application.setCurrentFilename("/tmp/a.xml")
        press("Ctrl+S")
        tryCompare(part("errorPopup"), "visible", true)
        keyClick(Qt.Key_Escape)
        tryCompare(window, "mainMenuEnabled", true)
        press("Ctrl+S")
        tryCompare(part("errorPopup"), "visible", true)
        keyClick(Qt.Key_Enter)
        tryCompare(window, "mainMenuEnabled", true)
    }

    function test_aboutPageBlocksShortcutsAndEscapeClosesIt() {
        startWorking()
        chooseMenuItem("Help", "About")
        verify(part("aboutPage").visible)
        compare(focused(), part("aboutCloseButton"))
        press("Ctrl+Z")
        press("Ctrl+X")
        press("Ctrl+/")
        compare(configCalls(), [])
        verify(part("layoutManagerPage").visible)
        keyClick(Qt.Key_Escape)
        verify(!part("aboutPage").visible)
        press("Ctrl+X")
        compare(configCalls(), ["cutPressed"])
    }

    // An edit key goes to the page shown, also after another page was visited.
    function test_shortcutsActOnlyOnThePageShown() {
        startWorking()
        _application.currentConfig.setLayoutCount(2)
        press("Ctrl+.")
        verify(part("layoutEditorPage").visible)
        press("Ctrl+,")
        verify(part("layoutManagerPage").visible)
        _application.currentConfig.clearCalls()
        press("Ctrl+X")
        press("Ctrl+Z")
        compare(configCalls(), ["cutPressed", "undoPressed"])
        press("Ctrl+/")
        _application.currentConfig.clearCalls()
        press("Ctrl+X")
        press("Ctrl+Z")
        compare(configCalls(), ["resourceUndoPressed"])
    }

    function test_menusByKeyboardAndEveryShortcutShown() {
        startWorking()
        press("Alt+F")
        var fileMenu = part("fileMenu")
        tryCompare(fileMenu, "opened", true)
        // The arrows move through the menu, and no edit key reaches the page below it.
        keyClick(Qt.Key_Down)
        verify(fileMenu.currentIndex >= 0)
        press("Ctrl+Z")
        keyClick(Qt.Key_Delete)
        compare(configCalls(), [])
        var expected = { "New...": "Ctrl+N", "Open...": "Ctrl+O", "Save": "Ctrl+S", "Save As...": "Ctrl+Shift+S",
                         "Upload": "", "Download": "", "Exit": "Ctrl+Q" }
        for (var i = 0; i < fileMenu.count; ++i) {
            var item = fileMenu.itemAt(i)
            if (item.text !== undefined && expected[item.text] !== undefined)
                compare(item.shortcutText, expected[item.text], item.text)
        }
        keyClick(Qt.Key_Escape)
        tryCompare(fileMenu, "visible", false)
        press("Alt+H")
        tryCompare(part("helpMenu"), "opened", true)
        compare(part("helpMenu").itemAt(1).shortcutText, "F1")
        keyClick(Qt.Key_Escape)
        tryCompare(part("helpMenu"), "visible", false)

        press("Ctrl+Shift+S")
        compare(saveDialog.openCount, 1)
        saveDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)
    }

    // A menu closed with Escape while the pointer rests on its title leaves
    // no title highlighted, and the next click on a title opens its menu.
    function test_escapeLetsTheMenuBarGo() {
        startWorking()
        var file = menuBarItem(0)
        mouseMove(file, 5, 5)
        mouseClick(file, 5, 5)
        tryCompare(part("fileMenu"), "opened", true)
        keyClick(Qt.Key_Escape)
        tryCompare(part("fileMenu"), "visible", false)
        verify(!file.highlighted)
        mouseMove(menuBarItem(1), 5, 5)
        wait(50)
        verify(!part("helpMenu").visible)
        mouseClick(menuBarItem(1), 5, 5)
        tryCompare(part("helpMenu"), "opened", true)
        keyClick(Qt.Key_Escape)
        tryCompare(part("helpMenu"), "visible", false)
    }

    function test_f1OpensHelpAndAFailureSaysWhere() {
        startWorking()
        press("F1")
        compare(calls(), ["openHelp()"])
        _application.helpFails = true
        chooseMenuItem("Help", "Help")
        acknowledgeError("Cannot open help", "The user guide /opt/kelvari/Contents/Resources/Help/Help.pdf is missing")
        tryCompare(window, "mainMenuEnabled", true)
        press("F1")
        tryCompare(part("errorPopup"), "visible", true)
        keyClick(Qt.Key_Return)
        tryCompare(window, "mainMenuEnabled", true)
    }
}
