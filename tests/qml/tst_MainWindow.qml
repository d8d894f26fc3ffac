// Opening, saving, closing, transfers, the pages, and the keyboard as desktop users expect it.
MainWindowTestCase {
    name: "MainWindow"

    function test_initialPageTakesTabAndReturnThenTitleFollowsTheFile() {
        act("is window.title Kelvari Editor; is window.menuBar.visible false; called applicationWindowReady()")
        act("clear; press Ctrl+S Ctrl+Z Ctrl+N; calls; config")
        act("tab createButton; is window.activeFocusItem.visualFocus true; key Return; idle; calls createNewConfig()")
        act("shown layoutManagerPage; title New config")
        act("dirty; title New config*; file /home/user/configs/stage.xml; title stage.xml*")
        // Tab reaches the toolbar's icon buttons and the page buttons; Return and Enter press them.
        act("tab deleteLayoutButton; key Return; config deletePressed; tab resourceManagerButton")
        act("is window.activeFocusItem.visualFocus true; key Enter; shown resourceEditorPage")
    }

    function test_openFromMenu_data() {
        return [{ tag: "success", succeeds: true, title: "show.xml" },
                { tag: "failure", title: "New config", error: "Failed to load file|Invalid config data file" },
                { tag: "newer version", succeeds: true, newer: true, title: "show.xml",
                  error: "Version Warning|Config version 2.0.0 is newer than App version 1.0.1\n"
                         + "Unknown elements will be lost when Saving/Uploading" },
                { tag: "unsaved changes asked about first", dirty: true, succeeds: true, title: "show.xml" },
                { tag: "parts left out", succeeds: true, report: "2 widgets left out", title: "show.xml",
                  error: "Load Warning|2 widgets left out" },
                { tag: "newer, parts left out", succeeds: true, newer: true, report: "2 widgets left out",
                  title: "show.xml", error: "Version Warning|Config version 2.0.0 is newer than App version 1.0.1\n"
                         + "Unknown elements will be lost when Saving/Uploading\n\n2 widgets left out" }]
    }
    function test_openFromMenu(data) {
        startWorking()
        _application.loadSucceeds = !!data.succeeds
        _application.loadedVersionIsNewer = !!data.newer
        _application.loadedReport = data.report || ""
        act("file /old/previous.xml; " + (data.dirty ? "dirty; " : "") + "press Ctrl+O; shown blockingArea")
        if (data.dirty)
            act("shown unsavedChangesPopup; opened load 0; click unsavedDiscardButton")
        act("opened load 1")
        verify(String(loadDialog.folder).indexOf("file:///") === 0)
        act("accept load file:///tmp/show.xml; called loadConfig(file:///tmp/show.xml)")
        if (data.error)
            act("shown errorPopup; is window.mainMenuEnabled false; error " + data.error)
        act("idle; hidden blockingArea; title " + data.title)
        compare(calls().indexOf("createNewConfig()") >= 0, !data.succeeds)
    }

    function test_loadFromInitialPage() {
        act("click loadButton; reject load; shown initialPage; set loadSucceeds false")
        act("click loadButton; accept load file:///tmp/broken.xml; error Failed to load file; shown initialPage")
        act("is window.mainUIActive false")
        // Once a config was opened or saved, the dialogs start in its folder.
        act("set loadSucceeds true; set lastConfigFilePath file:///tmp/last; click loadButton")
        compare(String(loadDialog.folder), "file:///tmp/last")
        act("accept load file:///tmp/good.xml; idle; title good.xml")
    }

    // The pop-up of a failed open comes while the file dialog still has the keys; once the window has them back
    // it has them as the other pop-ups have: Ok framed as the default, Tab kept inside, Return and Escape for Ok.
    function test_aFailedOpenTakesTheKeysWhenTheDialogGoes_data() {
        return [{ tag: "menu, Return", start: "click createButton; idle; press Ctrl+O", key: "Return" },
                { tag: "menu, Escape", start: "click createButton; idle; press Ctrl+O", key: "Escape" },
                { tag: "initial page, Return", start: "click loadButton", key: "Return" }]
    }
    function test_aFailedOpenTakesTheKeysWhenTheDialogGoes(data) {
        act("set loadSucceeds false; " + data.start)
        // The dialog stands over the window, which counts as active while the dialog has the keys.
        var dialogWindow = createTemporaryQmlObject("import QtQuick.Window 2.12; Window {}", loadDialog)
        dialogWindow.transientParent = window
        dialogWindow.visible = true
        dialogWindow.requestActivate()
        tryCompare(window, "activeFocusItem", null)
        act("accept load file:///tmp/broken.xml; shown errorPopup")
        dialogWindow.close()
        window.requestActivate()
        tryVerify(function() { return window.activeFocusItem !== null })
        act("focus errorOkButton; is errorOkButton.visualFocus true; key Tab")
        verify(window.isWithin(window.activeFocusItem, part("errorPopup")))
        act("key " + data.key + "; hidden errorPopup; hidden blockingArea")
    }

    function test_saveAsksForANameOnlyWithoutOneAndAFailureKeepsTheConfigDirty() {
        startWorking()
        act("set lastConfigFilePath file:///tmp/last; dirty; press Ctrl+S; opened save 1")
        compare(String(saveDialog.folder), "file:///tmp/last")
        act("accept save file:///tmp/first.xml; idle; title first.xml; dirty; press Ctrl+S; idle; opened save 1")
        act("called saveConfig(); title first.xml")
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
        act("key Escape; idle; calls; title New config*")
        // Return presses the default button, Save, which asks for a file name.
        act("press Ctrl+N; shown unsavedChangesPopup; key Return; opened save 1; reject save; idle")
        act("press Ctrl+N; shown unsavedChangesPopup; click unsavedDiscardButton; idle; calls createNewConfig()")
    }

    // The manager's details pop-up goes before the config that its layout belongs to.
    function test_replacingTheConfigClosesThePagePopups_data() {
        return [{ tag: "new", keys: "press Ctrl+N", after: "calls createNewConfig()" },
                { tag: "open", keys: "press Ctrl+O", after: "opened load 1; reject load" },
                { tag: "download", keys: "menu File/Download", after: "call unitPickerPage.cancelClicked" }]
    }
    function test_replacingTheConfigClosesThePagePopups(data) {
        startWorking()
        act("layouts 1; click detailsButton; shown layoutDetailsPopup; is detailsTitle.text Edit details")
        act(data.keys + "; hidden layoutDetailsPopup; " + data.after + "; idle")
        act("click newLayoutButton; shown layoutDetailsPopup; is detailsTitle.text Add new layout")
    }

    function test_closingWithUnsavedChanges() {
        startWorking()
        act("close; quits 1; dirty; close; shown unsavedChangesPopup; click unsavedCancelButton; idle; quits 1")
        // Save without a file name: the dialog first, and quitting only after the file is written.
        act("close; shown unsavedChangesPopup; click unsavedSaveButton; reject save; idle; set saveSucceeds false")
        act("close; shown unsavedChangesPopup; click unsavedSaveButton; accept save file:///tmp/exit.xml")
        act("error Failed to save file; idle; quits 1; set saveSucceeds true")
        act("close; shown unsavedChangesPopup; click unsavedSaveButton")
        act("opened save 3; accept save file:///tmp/exit.xml; quits 2; called saveConfig(file:///tmp/exit.xml)")
        act("dirty; close; shown unsavedChangesPopup; click unsavedDiscardButton; quits 3")
    }

    function test_shortcutsInertWhileBlockedAndTheErrorTakesEscapeAndEnter() {
        startWorking()
        act("press Ctrl+Z; config undoPressed; clear; press Ctrl+O Ctrl+Z Ctrl+S; config; opened save 0; reject load")
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
        act("layouts 0; disabled layoutEditorButton; press Ctrl+.; shown layoutManagerPage; layouts 2")
        act("click layoutEditorButton; shown layoutEditorPage; hidden layoutManagerPage; checked layoutEditorButton")
        act("is window.editedLayoutIndex 0")
        // A page change hides the About page, and an edit key goes to the page shown.
        act("menu Help/About; click resourceManagerButton; shown resourceEditorPage; hidden aboutPage")
        act("clear; press Ctrl+X Ctrl+Z; config resourceUndoPressed; press Ctrl+. Ctrl+,; shown layoutManagerPage")
        act("clear; press Ctrl+X Ctrl+Z Ctrl+C Delete; config cutPressed undoPressed copyPressed deletePressed")
        // The manager's keys wait while its details pop-up is up, and leaving the page closes it.
        act("clear; click newLayoutButton; shown layoutDetailsPopup; press Ctrl+Z Ctrl+V Delete; config")
        act("press Ctrl+.; hidden layoutDetailsPopup; shown layoutEditorPage")
        // Losing a layout while editing goes back to the manager.
        act("layouts 1; shown layoutManagerPage")
    }

    function test_menusByKeyboardAndMouseWithEveryShortcutShown() {
        startWorking()
        var fileMenu = part("fileMenu")
        // No edit key reaches the page below an open menu.
        act("press Alt+F; open fileMenu; key Down; press Ctrl+Z Delete; config")
        compare(Array.apply(null, Array(fileMenu.count)).map(function(u, i) { return fileMenu.itemAt(i) }).filter(
                function(item) { return item.text }).map(function(item) { return item.text + " " + item.shortcutText }),
                ["New... Ctrl+N", "Open... Ctrl+O", "Save Ctrl+S", "Save As... Ctrl+Shift+S", "Upload ", "Download ",
                 "Exit Ctrl+Q"])
        act("key Escape; hidden fileMenu; press Alt+H; open helpMenu")
        compare(part("helpMenu").itemAt(1).shortcutText, "F1")
        act("key Escape; idle; press Ctrl+Shift+S; opened save 1; reject save; idle")
        // A menu closed with Escape under the pointer leaves no title highlighted; a click opens the next.
        mouseClick(part("mainMenuBar").itemAt(0), 5, 5)
        act("open fileMenu; key Escape; hidden fileMenu")
        verify(!part("mainMenuBar").itemAt(0).highlighted)
        mouseClick(part("mainMenuBar").itemAt(1), 5, 5)
        act("open helpMenu")
    }

    function test_f1OpensHelpAndAFailureSaysWhere() {
        startWorking()
        act("press F1; calls openHelp(); set helpFails true; menu Help/Help")
        act("error Cannot open help|The user guide /opt/kelvari/Contents/Resources/Help/Help.pdf is missing")
        act("idle; press F1; shown errorPopup; key Return; idle")
    }

    function lastConnectionCall() { return connectionCalls().slice(-1)[0] }

    function test_uploadFailsThenSucceedsAndTheAcceptedPasswordIsKept() {
        act("call connection.addUnit 10.0.0.7|Front of house||0; call connection.addUnit 10.0.0.8|Monitors||1")
        startWorking()
        act("call connection.setConnected true; menu File/Upload; shown unitPickerPage; shown unitPickerWarning")
        act("disabled unitPickerNextButton")
        act("is unitPickerPage.headlineText Upload config to unit; is unitPickerPage.adminUserOnly true")
        tryCompare(part("unitListView"), "count", 2)
        act("is window.shortcutsEnabled false; put unitListView.currentIndex 1; click unitPickerNextButton")
        act("hidden usernameField; is unitPickerPage.loginStep true")
        act("type passwordField secret; click unitPickerSelectButton; shown taskInProgressPopup")
        act("connection connectToUnit(1); is taskInProgressPopup.text Connecting to unit...")
        act("answer; called uploadConfig(); is application.adminPassword secret")
        verify(part("taskInProgressPopup").progressBarVisible && part("taskInProgressPopup").cancelAvailable)
        // Back at the picker with the unit still chosen; the refused password is not offered again.
        act("call application.finishUpload false|Incorrect password; error Upload failed|Incorrect password")
        act("shown unitPickerPage; is unitListView.currentIndex 1; is unitPickerPage.usingStoredPassword false")
        act("is unitPickerPage.password ; call unitPickerPage.cancelClicked")
        compare(lastConnectionCall(), "disconnect()")

        // A typed address must be valid; the password the unit accepts is used by the next upload.
        act("idle; clear; menu File/Upload; shown unitPickerPage; is unitPickerPage.usingStoredPassword false")
        waitForRendering(part("unitPickerPage"))
        act("type ipAddressField 10.0; disabled unitPickerNextButton; put ipAddressField.text 10.0.0.300")
        act("disabled unitPickerNextButton; put ipAddressField.text 10.0.0.9; click unitPickerNextButton")
        act("type passwordField right; click unitPickerSelectButton; connection connectToHostByIpAddress(10.0.0.9)")
        act("answer; called uploadConfig(); call application.finishUpload true; error Upload complete; idle")
        act("menu File/Upload; shown unitPickerPage; is unitPickerPage.usingStoredPassword true")
        act("put unitListView.currentIndex 0; click unitPickerNextButton")
        act("is passwordField.placeholderText Using the stored password")
        // Typing a password means the stored one is no longer used.
        act("type passwordField x; is unitPickerPage.usingStoredPassword false")
        act("click unitPickerBackButton; is unitPickerPage.loginStep false")
        // Escape asks for Cancel while the unit has not finished; the transfer ends and the unit is let go.
        act("call unitPickerPage.unitIpClicked 10.0.0.4; answer; called uploadConfig(); key Escape; idle")
        act("hidden errorPopup; called cancelTransfer()")
        compare(lastConnectionCall(), "disconnect()")
    }

    // Without remembering, a failure that was no refusal leaves the typed password for the retry. A cancel after
    // the unit stored the upload is too late: the editor waits for the outcome and tells it.
    function test_aPasswordIsOnlyForgottenWhenRefusedAndALateCancelShowsTheOutcome() {
        act("call connection.addUnit 10.0.0.7|Front of house||0")
        startWorking()
        act("set adminRememberPassword false; menu File/Upload; shown unitPickerPage")
        tryCompare(part("unitListView"), "count", 1)
        act("put unitListView.currentIndex 0; click unitPickerNextButton; type passwordField secret")
        act("click unitPickerSelectButton; answer; called uploadConfig()")
        act("call application.finishUpload false|The connection to the Dorvel was lost during the upload")
        act("error Upload failed|The connection to the Dorvel was lost during the upload; shown unitPickerPage")
        act("is unitPickerPage.password secret; clear; click unitPickerNextButton; click unitPickerSelectButton")
        act("answer; called uploadConfig()")
        act("is application.adminPassword secret; set uploadStored true; click taskInProgressCancelButton")
        act("called cancelTransfer(); shown taskInProgressPopup; is taskInProgressPopup.cancelAvailable false")
        act("key Escape; call application.finishUpload true; error Upload complete; idle")
        compare(anyCalls().filter(function(call) { return call === "cancelTransfer()" }).length, 1)
    }

    function test_downloadFromInitialPage() {
        act("click downloadButton; shown unitPickerPage; hidden unitPickerWarning")
        act("is unitPickerPage.headlineText Download config from unit")
        act("click unitPickerCancelButton; shown initialPage; connection")
        // A unit that cannot be reached: back to the picker with the address kept and the focus in it.
        act("click downloadButton; shown unitPickerPage; focus ipAddressField; type ipAddressField 10.0.0.2")
        act("click unitPickerNextButton; hidden usernameField; click unitPickerSelectButton")
        act("connection connectToHostByIpAddress(10.0.0.2); call connection.finishAttempt false|Unit did not answer")
        act("error Download failed|Unit did not answer; shown unitPickerPage; focus ipAddressField")
        act("is ipAddressField.text 10.0.0.2; click unitPickerCancelButton; shown initialPage")
        act("is window.mainUIActive false; click downloadButton; call unitPickerPage.unitIpClicked 10.0.0.2; answer")
        act("called downloadConfig(); call application.finishDownload true; error Download complete; idle")
        act("title New config")
        // What the download left out is told with the outcome.
        _application.loadedReport = "1 picture left out"
        act("menu File/Download; call unitPickerPage.unitIpClicked 10.0.0.2; answer; called downloadConfig()")
        act("call application.finishDownload true")
        act("error Download complete|The unit's config is now open.\n\n1 picture left out; idle")
    }

    function test_downloadSettlesUnsavedChangesFirstAndCancelLetsTheUnitGo() {
        startWorking()
        act("dirty; menu File/Download; shown unsavedChangesPopup; hidden unitPickerPage")
        act("click unsavedDiscardButton; shown unitPickerPage; call unitPickerPage.unitIpClicked 10.0.0.3")
        act("click taskInProgressCancelButton; idle; connection connectToHostByIpAddress(10.0.0.3) disconnect()")
    }
}
