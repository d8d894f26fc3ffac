import QtQuick 2.12
import QtTest 1.12

MainWindowTestCase {
    id: testCase
    name: "MainWindow"

    function test_initialPageThenCreate() {
        compare(window.title, "Kelvari Editor")
        verify(!window.menuBar.visible)
        verify(calls().indexOf("applicationWindowReady()") >= 0)
        _application.clearCalls()

        // Nothing reacts to the keys before the working interface is up.
        press("Ctrl+S")
        press("Ctrl+Z")
        press("Ctrl+N")
        compare(calls(), [])
        compare(configCalls(), [])

        clickPart("createButton")
        tryCompare(window, "mainMenuEnabled", true)
        compare(calls(), ["createNewConfig()"])
        verify(part("layoutManagerPage").visible)
        compare(window.title, "Kelvari Editor - New config")
        _application.currentConfig.setDirty(true)
        compare(window.title, "Kelvari Editor - New config*")
        _application.setCurrentFilename("/home/user/configs/stage.xml")
        compare(window.title, "Kelvari Editor - stage.xml*")
    }

    function test_openFromMenu_data() {
        return [
            { tag: "success", succeeds: true, newer: false, heading: "", title: "Kelvari Editor - show.xml" },
            { tag: "failure", succeeds: false, newer: false, heading: "Failed to load file",
              reason: "Invalid config data file", title: "Kelvari Editor - New config" },
            { tag: "newer version", succeeds: true, newer: true, heading: "Version Warning",
              reason: "Config version 2.0.0 is newer than App version 1.0.1\nUnknown elements will be lost when Saving/Uploading",
              title: "Kelvari Editor - show.xml" }
        ]
    }

    function test_openFromMenu(data) {
        startWorking()
        _application.setCurrentFilename("/old/previous.xml")
        _application.loadSucceeds = data.succeeds
        _application.loadedVersionIsNewer = data.newer
        press("Ctrl+O")
        compare(loadDialog.openCount, 1)
        verify(part("blockingArea").visible)
        loadDialog.file = "file:///tmp/show.xml"
        loadDialog.accepted()
        verify(calls().indexOf("loadConfig(file:///tmp/show.xml)") >= 0)
        if (data.heading !== "") {
            tryCompare(part("errorPopup"), "visible", true)
            verify(!window.mainMenuEnabled)
            acknowledgeError(data.heading, data.reason)
        }
        tryCompare(window, "mainMenuEnabled", true)
        verify(!part("blockingArea").visible)
        compare(window.title, data.title)
        // A failed open leaves a fresh config, not the one that was open before.
        compare(calls().indexOf("createNewConfig()") >= 0, !data.succeeds)
    }

    function test_loadFromInitialPage() {
        clickPart("loadButton")
        loadDialog.rejected()
        tryCompare(part("initialPage"), "visible", true)

        _application.loadSucceeds = false
        clickPart("loadButton")
        loadDialog.file = "file:///tmp/broken.xml"
        loadDialog.accepted()
        acknowledgeError("Failed to load file")
        tryCompare(part("initialPage"), "visible", true)
        verify(!window.mainUIActive)

        _application.loadSucceeds = true
        clickPart("loadButton")
        loadDialog.file = "file:///tmp/good.xml"
        loadDialog.accepted()
        tryCompare(window, "mainMenuEnabled", true)
        compare(window.title, "Kelvari Editor - good.xml")
    }

    function test_dialogsOpenInDocumentsThenInLastFolder() {
        startWorking()
        press("Ctrl+O")
        verify(String(loadDialog.folder).indexOf("file:///") === 0)
        loadDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)

        _application.lastConfigFilePath = "file:///tmp/last"
        press("Ctrl+O")
        compare(String(loadDialog.folder), "file:///tmp/last")
        loadDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)
        press("Ctrl+S")
        compare(String(saveDialog.folder), "file:///tmp/last")
    }

    function test_saveAndSaveAs() {
        startWorking()
        _application.currentConfig.setDirty(true)
        // Without a file name Save asks for one; with one it saves straight away.
        press("Ctrl+S")
        compare(saveDialog.openCount, 1)
        saveDialog.file = "file:///tmp/first.xml"
        saveDialog.accepted()
        tryCompare(window, "mainMenuEnabled", true)
        compare(window.title, "Kelvari Editor - first.xml")
        _application.currentConfig.setDirty(true)
        press("Ctrl+S")
        tryCompare(window, "mainMenuEnabled", true)
        compare(saveDialog.openCount, 1)
        verify(calls().indexOf("saveConfig()") >= 0)
        verify(!_application.currentConfig.dirty)

        chooseMenuItem("File", "Save As...")
        compare(saveDialog.openCount, 2)
        saveDialog.file = "file:///tmp/second.xml"
        saveDialog.accepted()
        tryCompare(window, "mainMenuEnabled", true)
        compare(window.title, "Kelvari Editor - second.xml")

        // A failed save says why and leaves the config dirty.
        _application.saveSucceeds = false
        _application.currentConfig.setDirty(true)
        press("Ctrl+S")
        acknowledgeError("Failed to save file", "Error opening file /tmp/second.xml for writing")
        tryCompare(window, "mainMenuEnabled", true)
        compare(window.title, "Kelvari Editor - second.xml*")
    }

    function test_newAsksOnlyWhenDirty() {
        startWorking()
        press("Ctrl+N")
        compare(calls(), ["createNewConfig()"])
        verify(!part("unsavedChangesPopup").visible)

        _application.clearCalls()
        _application.currentConfig.setDirty(true)
        press("Ctrl+N")
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        clickPart("unsavedCancelButton")
        tryCompare(window, "mainMenuEnabled", true)
        compare(calls(), [])
        verify(_application.currentConfig.dirty)

        press("Ctrl+N")
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        clickPart("unsavedDiscardButton")
        tryCompare(window, "mainMenuEnabled", true)
        compare(calls(), ["createNewConfig()"])
    }

    function test_closingWithUnsavedChanges() {
        startWorking()
        window.close()
        compare(quitCount, 1)

        _application.currentConfig.setDirty(true)
        window.close()
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        clickPart("unsavedCancelButton")
        tryCompare(window, "mainMenuEnabled", true)
        compare(quitCount, 1)

        // Save without a file name: the dialog first, and quitting only after the file is written.
        window.close()
        clickPart("unsavedSaveButton")
        saveDialog.rejected()
        tryCompare(window, "mainMenuEnabled", true)
        _application.saveSucceeds = false
        window.close()
        clickPart("unsavedSaveButton")
        saveDialog.file = "file:///tmp/exit.xml"
        saveDialog.accepted()
        acknowledgeError("Failed to save file")
        tryCompare(window, "mainMenuEnabled", true)
        compare(quitCount, 1)

        _application.saveSucceeds = true
        window.close()
        clickPart("unsavedSaveButton")
        compare(saveDialog.openCount, 3)
        saveDialog.file = "file:///tmp/exit.xml"
        saveDialog.accepted()
        tryCompare(testCase, "quitCount", 2)
        verify(calls().indexOf("saveConfig(file:///tmp/exit.xml)") >= 0)

        _application.currentConfig.setDirty(true)
        window.close()
        clickPart("unsavedDiscardButton")
        tryCompare(testCase, "quitCount", 3)
    }

    function test_shortcutsInertWhileBlocked() {
        startWorking()
        press("Ctrl+Z")
        compare(configCalls(), ["undoPressed"])

        _application.currentConfig.clearCalls()
        press("Ctrl+O")
        press("Ctrl+Z")
        press("Ctrl+S")
        compare(configCalls(), [])
        compare(saveDialog.openCount, 0)
        loadDialog.rejected()
        tryCompare(window, "shortcutsEnabled", true)

        _application.saveSucceeds = false
        _application.setCurrentFilename("/tmp/a.xml")
        press("Ctrl+S")
        tryCompare(part("errorPopup"), "visible", true)
        press("Ctrl+Z")
        press("Ctrl+O")
        compare(configCalls(), [])
        compare(loadDialog.openCount, 1)
        acknowledgeError("Failed to save file")
    }

    function test_pageSwitching() {
        startWorking()
        _application.currentConfig.setLayoutCount(0)
        verify(!part("layoutEditorButton").enabled)
        press("Ctrl+.")
        verify(part("layoutManagerPage").visible)

        _application.currentConfig.setLayoutCount(2)
        clickPart("layoutEditorButton")
        verify(part("layoutEditorPage").visible)
        verify(!part("layoutManagerPage").visible)
        verify(part("layoutEditorButton").checked)
        compare(window.editedLayoutIndex, 0)

        // The About page is a toggle above the pages; no shortcut acts while
        // it is up, and a page change hides it.
        chooseMenuItem("Help", "About")
        verify(part("aboutPage").visible)
        press("Ctrl+/")
        verify(part("layoutEditorPage").visible)
        clickPart("resourceManagerButton")
        verify(part("resourceEditorPage").visible)
        verify(!part("aboutPage").visible)

        press("Ctrl+.")
        verify(part("layoutEditorPage").visible)
        // Losing a layout while editing goes back to the manager.
        _application.currentConfig.setLayoutCount(1)
        tryVerify(function() { return part("layoutManagerPage").visible })
    }

    function test_managerKeysWaitForItsDetailsPopup() {
        startWorking()
        press("Ctrl+C")
        press("Delete")
        compare(configCalls(), ["copyPressed", "deletePressed"])
        _application.currentConfig.clearCalls()
        clickPart("newLayoutButton")
        tryCompare(part("layoutDetailsPopup"), "visible", true)
        press("Ctrl+Z")
        press("Ctrl+V")
        press("Delete")
        compare(configCalls(), [])
        // Leaving the page closes the pop-up.
        press("Ctrl+/")
        verify(!part("layoutDetailsPopup").visible)
    }
}
