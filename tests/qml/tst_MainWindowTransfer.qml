import QtQuick 2.12
import QtTest 1.12

MainWindowTestCase {
    id: testCase
    name: "MainWindowTransfer"

    function picker() { return part("unitPickerPage") }

    function connectAndWaitFor(call) {
        _application.connectionInterface.finishAttempt(true)
        tryVerify(function() { return calls().indexOf(call) >= 0 })
    }

    function test_uploadFailsThenSucceeds() {
        _application.connectionInterface.addUnit("10.0.0.7", "Front of house", "", 0)
        startWorking()
        _application.connectionInterface.setConnected(true)
        chooseMenuItem("File", "Upload")
        tryCompare(picker(), "visible", true)
        compare(picker().headlineText, "Upload config to unit")
        verify(picker().adminUserOnly)
        verify(part("unitPickerWarning").visible)
        verify(!window.shortcutsEnabled)

        picker().password = "secret"
        picker().usingStoredPassword = false
        picker().selectUnitClicked(0)
        tryCompare(part("taskInProgressPopup"), "visible", true)
        compare(part("taskInProgressPopup").text, "Connecting to unit...")
        compare(connectionCalls(), ["connectToUnit(0)"])
        compare(_application.adminPassword, "secret")
        connectAndWaitFor("uploadConfig()")
        verify(part("taskInProgressPopup").progressBarVisible)
        _application.finishUpload(false, "Incorrect password")
        acknowledgeError("Upload failed", "Incorrect password")
        tryCompare(window, "mainMenuEnabled", true)
        compare(connectionCalls()[connectionCalls().length - 1], "disconnect()")

        // A typed address, with the password now stored.
        _application.clearCalls()
        chooseMenuItem("File", "Upload")
        tryCompare(picker(), "visible", true)
        verify(picker().usingStoredPassword)
        picker().unitIpClicked("10.0.0.9")
        compare(connectionCalls(), ["connectToHostByIpAddress(10.0.0.9)"])
        verify(calls().indexOf("setAdminPassword()") < 0)
        connectAndWaitFor("uploadConfig()")
        _application.finishUpload(true)
        acknowledgeError("Upload complete")
        tryCompare(window, "mainMenuEnabled", true)
    }

    function test_downloadFromInitialPage() {
        clickPart("downloadButton")
        tryCompare(picker(), "visible", true)
        compare(picker().headlineText, "Download config from unit")
        verify(!part("unitPickerWarning").visible)
        picker().cancelClicked()
        tryCompare(part("initialPage"), "visible", true)
        compare(connectionCalls(), [])

        // A unit that cannot be reached: back to the initial page.
        clickPart("downloadButton")
        picker().unitIpClicked("10.0.0.2")
        _application.connectionInterface.finishAttempt(false, "Unit did not answer")
        acknowledgeError("Download failed", "Unit did not answer")
        tryCompare(part("initialPage"), "visible", true)
        verify(!window.mainUIActive)

        clickPart("downloadButton")
        picker().unitIpClicked("10.0.0.2")
        connectAndWaitFor("downloadConfig()")
        _application.finishDownload(true)
        acknowledgeError("Download complete")
        tryCompare(window, "mainMenuEnabled", true)
        compare(window.title, "Kelvari Editor - New config")
    }

    function test_downloadSettlesUnsavedChangesFirst() {
        startWorking()
        _application.currentConfig.setDirty(true)
        chooseMenuItem("File", "Download")
        tryCompare(part("unsavedChangesPopup"), "visible", true)
        verify(!picker().visible)
        clickPart("unsavedDiscardButton")
        tryCompare(picker(), "visible", true)
        picker().unitIpClicked("10.0.0.3")
        // Giving up while connecting lets go of the unit.
        clickPart("taskInProgressCancelButton")
        tryCompare(window, "mainMenuEnabled", true)
        compare(connectionCalls(), ["connectToHostByIpAddress(10.0.0.3)", "disconnect()"])
    }
}
