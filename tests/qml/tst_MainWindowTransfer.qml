import QtQuick 2.12
import QtTest 1.12

MainWindowTestCase {
    id: testCase
    name: "MainWindowTransfer"

    function picker() { return part("unitPickerPage") }
    function addressField() { return findChild(picker(), "ipAddressField") }

    function connectAndWaitFor(call) {
        _application.connectionInterface.finishAttempt(true)
        tryVerify(function() { return calls().indexOf(call) >= 0 })
    }

    function test_uploadFailsThenSucceedsAndTheAcceptedPasswordIsKept() {
        _application.connectionInterface.addUnit("10.0.0.7", "Front of house", "", 0)
        startWorking()
        _application.connectionInterface.setConnected(true)
        chooseMenuItem("File", "Upload")
        shown("unitPickerPage")
        compare(picker().headlineText, "Upload config to unit")
        verify(picker().adminUserOnly && part("unitPickerWarning").visible && !window.shortcutsEnabled)
        picker().password = "secret"
        picker().usingStoredPassword = false
        findChild(picker(), "unitListView").currentIndex = 0
        picker().selectUnitClicked(0)
        shown("taskInProgressPopup")
        compare(part("taskInProgressPopup").text, "Connecting to unit...")
        compare(connectionCalls(), ["connectToUnit(0)"])
        compare(_application.adminPassword, "secret")
        connectAndWaitFor("uploadConfig()")
        verify(part("taskInProgressPopup").progressBarVisible && part("taskInProgressPopup").cancelAvailable)
        _application.finishUpload(false, "Incorrect password")
        acknowledgeError("Upload failed", "Incorrect password")
        // Back at the picker with the unit still chosen; the refused password is not offered again.
        shown("unitPickerPage")
        compare(findChild(picker(), "unitListView").currentIndex, 0)
        verify(!picker().usingStoredPassword)
        compare(picker().password, "")
        compare(connectionCalls()[connectionCalls().length - 1], "disconnect()")
        picker().cancelClicked()
        idle()

        _application.clearCalls()
        chooseMenuItem("File", "Upload")
        shown("unitPickerPage")
        verify(!picker().usingStoredPassword)
        picker().password = "right"
        picker().unitIpClicked("10.0.0.9")
        compare(connectionCalls(), ["connectToHostByIpAddress(10.0.0.9)"])
        connectAndWaitFor("uploadConfig()")
        _application.finishUpload(true)
        acknowledgeError("Upload complete")
        idle()
        chooseMenuItem("File", "Upload")
        shown("unitPickerPage")
        verify(picker().usingStoredPassword)
        // Escape asks for Cancel while the unit has not finished; the transfer ends and the unit is let go.
        picker().unitIpClicked("10.0.0.4")
        connectAndWaitFor("uploadConfig()")
        keyClick(Qt.Key_Escape)
        idle()
        verify(calls().indexOf("cancelTransfer()") >= 0)
        compare(connectionCalls()[connectionCalls().length - 1], "disconnect()")
        verify(!part("errorPopup").visible)
    }

    function test_downloadFromInitialPage() {
        clickPart("downloadButton")
        shown("unitPickerPage")
        compare(picker().headlineText, "Download config from unit")
        verify(!part("unitPickerWarning").visible)
        picker().cancelClicked()
        shown("initialPage")
        compare(connectionCalls(), [])
        // A unit that cannot be reached: back to the picker with the address
        // still typed and the focus in it; Cancel there returns to the initial page.
        clickPart("downloadButton")
        shown("unitPickerPage")
        verify(addressField().activeFocus)
        for (var key of "10.0.0.2")
            keyClick(key)
        compare(addressField().text, "10.0.0.2")
        picker().unitIpClicked("10.0.0.2")
        _application.connectionInterface.finishAttempt(false, "Unit did not answer")
        acknowledgeError("Download failed", "Unit did not answer")
        shown("unitPickerPage")
        compare(addressField().text, "10.0.0.2")
        verify(addressField().activeFocus)
        picker().cancelClicked()
        shown("initialPage")
        verify(!window.mainUIActive)
        clickPart("downloadButton")
        picker().unitIpClicked("10.0.0.2")
        connectAndWaitFor("downloadConfig()")
        _application.finishDownload(true)
        acknowledgeError("Download complete")
        idle()
        compare(window.title, "Kelvari Editor - New config")
    }

    function test_downloadSettlesUnsavedChangesFirstAndCancelLetsTheUnitGo() {
        startWorking()
        _application.currentConfig.setDirty(true)
        chooseMenuItem("File", "Download")
        shown("unsavedChangesPopup")
        verify(!picker().visible)
        clickPart("unsavedDiscardButton")
        shown("unitPickerPage")
        picker().unitIpClicked("10.0.0.3")
        clickPart("taskInProgressCancelButton")
        idle()
        compare(connectionCalls(), ["connectToHostByIpAddress(10.0.0.3)", "disconnect()"])
    }
}
