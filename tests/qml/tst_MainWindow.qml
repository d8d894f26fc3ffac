import QtQuick 2.12
import QtTest 1.12

// Opening, saving, closing, the pages, and the keyboard as desktop users expect it.
MainWindowTestCase {
    id: testCase
    name: "MainWindow"

    function tabTo(name) {
        for (var i = 0; i < 40 && window.activeFocusItem !== part(name); ++i)
            keyClick(Qt.Key_Tab)
        act("focus " + name)
    }

    function test_initialPageTakesTabAndReturnThenTitleFollowsTheFile() {
        compare(window.title, "Kelvari Editor")
        verify(!window.menuBar.visible && calls().indexOf("applicationWindowReady()") >= 0)
        act("clear; press Ctrl+S Ctrl+Z Ctrl+N; calls; config")
        tabTo("createButton")
        verify(window.activeFocusItem.visualFocus)
        act("key Return; idle; calls createNewConfig(); shown layoutManagerPage; title New config")
        act("dirty; title New config*; file /home/user/configs/stage.xml; title stage.xml*")
        // Tab reaches the toolbar's icon buttons and the page buttons; Return and Enter press them.
        tabTo("deleteLayoutButton")
        act("key Return; config deletePressed")
        tabTo("resourceManagerButton")
        verify(window.activeFocusItem.visualFocus)
        act("key Enter; shown resourceEditorPage")
    }

    function test_openFromMenu_data() {
        return [
            { tag: "success", succeeds: true, newer: false, heading: "", title: "show.xml" },
            { tag: "failure leaves a fresh config", succeeds: false, newer: false, heading: "Failed to load file",
              reason: "Invalid config data file", title: "New config" },
            { tag: "newer version", succeeds: true, newer: true, heading: "Version Warning", title: "show.xml",
              reason: "Config version 2.0.0 is newer than App version 1.0.1\n"
                      + "Unknown elements will be lost when Saving/Uploading" }
        ]
    }

    function test_openFromMenu(data) {
        startWorking()
        _application.loadSucceeds = data.succeeds
        _application.loadedVersionIsNewer = data.newer
        act("file /old/previous.xml; press Ctrl+O; shown blockingArea; opened load 1")
        verify(String(loadDialog.folder).indexOf("file:///") === 0)
        act("accept load file:///tmp/show.xml")
        verify(calls().indexOf("loadConfig(file:///tmp/show.xml)") >= 0)
        if (data.heading !== "") {
            act("shown errorPopup")
            verify(!window.mainMenuEnabled)
            act("error " + data.heading + "|" + data.reason)
        }
        act("idle; hidden blockingArea; title " + data.title)
        compare(calls().indexOf("createNewConfig()") >= 0, !data.succeeds)
    }

    function test_loadFromInitialPage() {
        act("click loadButton; reject load; shown initialPage; set loadSucceeds false")
        act("click loadButton; accept load file:///tmp/broken.xml; error Failed to load file; shown initialPage")
        verify(!window.mainUIActive)
        // Once a config was opened or saved, the dialogs start in its folder.
        act("set loadSucceeds true; set lastConfigFilePath file:///tmp/last; click loadButton")
        compare(String(loadDialog.folder), "file:///tmp/last")
        act("accept load file:///tmp/good.xml; idle; title good.xml")
    }

    function test_saveAsksForANameOnlyWithoutOneAndAFailureKeepsTheConfigDirty() {
        startWorking()
        act("set lastConfigFilePath file:///tmp/last; dirty; press Ctrl+S; opened save 1")
        compare(String(saveDialog.folder), "file:///tmp/last")
        act("accept save file:///tmp/first.xml; idle; title first.xml; dirty; press Ctrl+S; idle; opened save 1")
        verify(calls().indexOf("saveConfig()") >= 0 && !_application.currentConfig.dirty)
        act("menu File/Save As...; opened save 2; accept save file:///tmp/second.xml; idle; title second.xml")
        act("set saveSucceeds false; dirty; press Ctrl+S")
        act("error Failed to save file|Error opening file /tmp/second.xml for writing; idle; title second.xml*")
    }

    function test_newAsksOnlyWhenDirty() {
        startWorking()
        act("press Ctrl+N; calls createNewConfig(); hidden unsavedChangesPopup")
        act("clear; dirty; press Ctrl+N; shown unsavedChangesPopup")
        // Tab stays inside the pop-up, and Escape cancels.
        for (var i = 0; i < 4; ++i) {
            keyClick(Qt.Key_Tab)
            verify(window.isWithin(window.activeFocusItem, part("unsavedChangesPopup")))
        }
        act("key Escape; idle; calls")
        verify(_application.currentConfig.dirty)
        // Return presses the default button, Save, which asks for a file name.
        act("press Ctrl+N; shown unsavedChangesPopup; key Return; opened save 1; reject save; idle")
        act("press Ctrl+N; shown unsavedChangesPopup; click unsavedDiscardButton; idle; calls createNewConfig()")
    }

    function test_closingWithUnsavedChanges() {
        startWorking()
        act("close; quits 1; dirty; close; shown unsavedChangesPopup; click unsavedCancelButton; idle; quits 1")
        // Save without a file name: the dialog first, and quitting only after the file is written.
        act("close; shown unsavedChangesPopup; click unsavedSaveButton; reject save; idle; set saveSucceeds false")
        act("close; shown unsavedChangesPopup; click unsavedSaveButton; accept save file:///tmp/exit.xml")
        act("error Failed to save file; idle; quits 1; set saveSucceeds true")
        act("close; shown unsavedChangesPopup; click unsavedSaveButton")
        act("opened save 3; accept save file:///tmp/exit.xml; quits 2")
        verify(calls().indexOf("saveConfig(file:///tmp/exit.xml)") >= 0)
        act("dirty; close; shown unsavedChangesPopup; click unsavedDiscardButton; quits 3")
    }

    function test_shortcutsInertWhileBlockedAndTheErrorTakesEscapeAndEnter() {
        startWorking()
        act("press Ctrl+Z; config undoPressed; clear; press Ctrl+O Ctrl+Z Ctrl+S; config; opened save 0")
        act("reject load")
        tryCompare(window, "shortcutsEnabled", true)
        act("set saveSucceeds false; file /tmp/a.xml; press Ctrl+S; shown errorPopup; press Ctrl+Z Ctrl+O")
        act("config; opened load 1; key Escape; idle; press Ctrl+S; shown errorPopup; key Enter; idle")
    }

    function test_pagesTheAboutPageAndWhereTheEditKeysGo() {
        startWorking()
        act("click layoutManagerButton; checked layoutManagerButton")
        // The About page takes the focus, no shortcut acts while it is up, and Escape closes it.
        act("menu Help/About; shown aboutPage; focus aboutCloseButton; press Ctrl+Z Ctrl+X Ctrl+/")
        act("shown layoutManagerPage; config; key Escape; hidden aboutPage; press Ctrl+X; config cutPressed")
        _application.currentConfig.setLayoutCount(0)
        act("disabled layoutEditorButton; press Ctrl+.; shown layoutManagerPage")
        _application.currentConfig.setLayoutCount(2)
        act("click layoutEditorButton; shown layoutEditorPage; hidden layoutManagerPage; checked layoutEditorButton")
        compare(window.editedLayoutIndex, 0)
        // A page change hides the About page, and an edit key goes to the page shown.
        act("menu Help/About; click resourceManagerButton; shown resourceEditorPage; hidden aboutPage")
        act("clear; press Ctrl+X Ctrl+Z; config resourceUndoPressed; press Ctrl+. Ctrl+,; shown layoutManagerPage")
        act("clear; press Ctrl+X Ctrl+Z Ctrl+C Delete; config cutPressed undoPressed copyPressed deletePressed")
        // The manager's keys wait while its details pop-up is up, and leaving the page closes it.
        act("clear; click newLayoutButton; shown layoutDetailsPopup; press Ctrl+Z Ctrl+V Delete; config")
        act("press Ctrl+.; hidden layoutDetailsPopup; shown layoutEditorPage")
        // Losing a layout while editing goes back to the manager.
        _application.currentConfig.setLayoutCount(1)
        act("shown layoutManagerPage")
    }

    function test_menusByKeyboardAndMouseWithEveryShortcutShown() {
        startWorking()
        var fileMenu = part("fileMenu")
        act("press Alt+F")
        tryCompare(fileMenu, "opened", true)
        // The arrows move through the menu, and no edit key reaches the page below it.
        act("key Down; press Ctrl+Z Delete; config")
        verify(fileMenu.currentIndex >= 0)
        var shortcuts = {}
        for (var i = 0; i < fileMenu.count; ++i) {
            if (fileMenu.itemAt(i).text)
                shortcuts[fileMenu.itemAt(i).text] = fileMenu.itemAt(i).shortcutText
        }
        compare(shortcuts, { "New...": "Ctrl+N", "Open...": "Ctrl+O", "Save": "Ctrl+S", "Save As...": "Ctrl+Shift+S",
                             "Upload": "", "Download": "", "Exit": "Ctrl+Q" })
        act("key Escape; hidden fileMenu; press Alt+H")
        tryCompare(part("helpMenu"), "opened", true)
        compare(part("helpMenu").itemAt(1).shortcutText, "F1")
        act("key Escape; idle; press Ctrl+Shift+S; opened save 1; reject save; idle")
        // A menu closed with Escape under the pointer leaves no title highlighted; a click opens the next.
        mouseClick(part("mainMenuBar").itemAt(0), 5, 5)
        tryCompare(fileMenu, "opened", true)
        act("key Escape; hidden fileMenu")
        verify(!part("mainMenuBar").itemAt(0).highlighted)
        mouseClick(part("mainMenuBar").itemAt(1), 5, 5)
        tryCompare(part("helpMenu"), "opened", true)
    }

    function test_f1OpensHelpAndAFailureSaysWhere() {
        startWorking()
        act("press F1; calls openHelp(); set helpFails true; menu Help/Help")
        act("error Cannot open help|The user guide /opt/kelvari/Contents/Resources/Help/Help.pdf is missing")
        act("idle; press F1; shown errorPopup; key Return; idle")
    }
}
