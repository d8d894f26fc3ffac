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
        findChild(picker(), "unitListView").currentIndex = 0
        picker().selectUnitClicked(0)
        tryCompare(part("taskInProgressPopup"), "visible", true)
        compare(part("taskInProgressPopup").text, "Connecting to unit...")
        compare(connectionCalls(), ["connectToUnit(0)"])
        compare(_application.adminPassword, "secret")
        connectAndWaitFor("uploadConfig()")
        verify(part("taskInProgressPopup").progressBarVisible)
        verify(part("taskInProgressPopup").cancelAvailable)
        _application.finishUpload(false, "Incorrect password")
        acknowledgeError("Upload failed", "Incorrect password")
        // Back at the picker with the unit still chosen; the refused password is not offered again.
        tryCompare(picker(), "visible", true)
        compare(findChild(picker(), "unitListView").currentIndex, 0)
        verify(!picker().usingStoredPassword)
        compare(picker().password, "")
        compare(connectionCalls()[connectionCalls().length - 1], "disconnect()")
        picker().cancelClicked()
        tryCompare(window, "mainMenuEnabled", true)

        // A typed address and a password the unit accepts, used by the next upload without asking.
        _application.clearCalls()
        chooseMenuItem("File", "Upload")
        tryCompare(picker(), "visible", true)
        verify(!picker().usingStoredPassword)
        picker().password = "right"
        picker().unitIpClicked("10.0.0.9")
        compare(connectionCalls(), ["connectToHostByIpAddress(10.0.0.9)"])
        connectAndWaitFor("uploadConfig()")
        _application.finishUpload(true)
        acknowledgeError("Upload complete")
        tryCompare(window, "mainMenuEnabled", true)
        chooseMenuItem("File", "Upload")
        tryCompare(picker(), "visible", true)
        verify(picker().usingStoredPassword)
        picker().cancelClicked()
        tryCompare(window, "mainMenuEnabled", true)
    }

    // Escape asks for Cancel while the unit has not finished; the transfer ends and the unit is let go.
    function test_cancelDuringTransfer() {
        startWorking()
        chooseMenuItem("File", "Upload")
        tryCompare(picker(), "visible", true)
        picker().unitIpClicked("10.0.0.4")
        connectAndWaitFor("uploadConfig()")
        keyClick(Qt.Key_Escape)
        tryCompare(window, "mainMenuEnabled", true)
        verify(calls().indexOf("cancelTransfer()") >= 0)
        compare(connectionCalls()[connectionCalls().length - 1], "disconnect()")
        verify(!part("errorPopup").visible)
    }

    function test_downloadFromInitialPage() {
        clickPart("downloadButton")
        tryCompare(picker(), "visible", true)
        compare(picker().headlineText, "Download config from unit")
        verify(!part("unitPickerWarning").visible)
        picker().cancelClicked()
        tryCompare(part("initialPage"), "visible", true)
        compare(connectionCalls(), [])

        // A unit that cannot be reached: back to the picker with the address
        // still typed and the focus in it; Cancel there returns to the initial page.
        clickPart("downloadButton")
        tryCompare(picker(), "visible", true)
        verify(findChild(picker(), "ipAddressField").activeFocus)
        for (var key of "10.0.0.2")
            keyClick(key)
        compare(findChild(picker(), "ipAddressField").text, "10.0.0.2")
        picker().unitIpClicked("10.0.0.2")
        _application.connectionInterface.finishAttempt(false, "Unit did not answer")
        acknowledgeError("Download failed", "Unit did not answer")
        tryCompare(picker(), "visible", true)
        compare(findChild(picker(), "ipAddressField").text, "10.0.0.2")
        verify(findChild(picker(), "ipAddressField").activeFocus)
        picker().cancelClicked()
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
