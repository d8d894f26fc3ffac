import QtQuick 2.12
import QtTest 1.12

// Uploads and downloads through the unit picker, as a user picks a unit and logs in.
MainWindowTestCase {
    id: testCase
    name: "MainWindowTransfer"

    function picker() { return part("unitPickerPage") }
    function lastConnectionCall() { return connectionCalls()[connectionCalls().length - 1] }

    function typeInto(name, text) {
        waitForRendering(picker())
        mouseClick(part(name))
        tryCompare(part(name), "activeFocus", true)
        for (var i = 0; i < text.length; ++i)
            keyClick(text[i])
    }

    function connectAndWaitFor(call) {
        _application.connectionInterface.finishAttempt(true)
        tryVerify(function() { return calls().indexOf(call) >= 0 })
    }

    function test_uploadFailsThenSucceedsAndTheAcceptedPasswordIsKept() {
        _application.connectionInterface.addUnit("10.0.0.7", "Front of house", "", 0)
        _application.connectionInterface.addUnit("10.0.0.8", "Monitors", "", 1)
        startWorking()
        _application.connectionInterface.setConnected(true)
        act("menu File/Upload; shown unitPickerPage; shown unitPickerWarning; disabled unitPickerNextButton")
        act("is unitPickerPage.headlineText Upload config to unit")
        verify(picker().adminUserOnly && !window.shortcutsEnabled)
        tryCompare(part("unitListView"), "count", 2)
        part("unitListView").currentIndex = 1
        act("click unitPickerNextButton; hidden usernameField")
        verify(picker().loginStep)
        typeInto("passwordField", "secret")
        act("click unitPickerSelectButton; shown taskInProgressPopup; connection connectToUnit(1)")
        act("is taskInProgressPopup.text Connecting to unit...")
        compare(_application.adminPassword, "secret")
        connectAndWaitFor("uploadConfig()")
        verify(part("taskInProgressPopup").progressBarVisible && part("taskInProgressPopup").cancelAvailable)
        _application.finishUpload(false, "Incorrect password")
        // Back at the picker with the unit still chosen; the refused password is not offered again.
        act("error Upload failed|Incorrect password; shown unitPickerPage")
        compare([part("unitListView").currentIndex, picker().usingStoredPassword, picker().password], [1, false, ""])
        compare(lastConnectionCall(), "disconnect()")
        picker().cancelClicked()

        // A typed address must be valid; the password the unit accepts is used by the next upload.
        act("idle; clear; menu File/Upload; shown unitPickerPage")
        verify(!picker().usingStoredPassword)
        typeInto("ipAddressField", "10.0")
        act("disabled unitPickerNextButton")
        part("ipAddressField").text = "10.0.0.300"
        act("disabled unitPickerNextButton")
        part("ipAddressField").text = "10.0.0.9"
        act("click unitPickerNextButton")
        typeInto("passwordField", "right")
        act("click unitPickerSelectButton; connection connectToHostByIpAddress(10.0.0.9)")
        connectAndWaitFor("uploadConfig()")
        _application.finishUpload(true)
        act("error Upload complete; idle; menu File/Upload; shown unitPickerPage")
        verify(picker().usingStoredPassword)
        part("unitListView").currentIndex = 0
        act("click unitPickerNextButton; is passwordField.placeholderText Using the stored password")
        // Typing a password means the stored one is no longer used.
        typeInto("passwordField", "x")
        verify(!picker().usingStoredPassword)
        act("click unitPickerBackButton")
        verify(!picker().loginStep)
        // Escape asks for Cancel while the unit has not finished; the transfer ends and the unit is let go.
        picker().unitIpClicked("10.0.0.4")
        connectAndWaitFor("uploadConfig()")
        act("key Escape; idle; hidden errorPopup")
        verify(calls().indexOf("cancelTransfer()") >= 0)
        compare(lastConnectionCall(), "disconnect()")
    }

    function test_downloadFromInitialPage() {
        act("click downloadButton; shown unitPickerPage; hidden unitPickerWarning")
        act("is unitPickerPage.headlineText Download config from unit")
        act("click unitPickerCancelButton; shown initialPage; connection")
        // A unit that cannot be reached: back to the picker with the address
        // still typed and the focus in it; Cancel there returns to the initial page.
        act("click downloadButton; shown unitPickerPage; focus ipAddressField")
        for (var key of "10.0.0.2")
            keyClick(key)
        act("click unitPickerNextButton; hidden usernameField; click unitPickerSelectButton")
        act("connection connectToHostByIpAddress(10.0.0.2)")
        _application.connectionInterface.finishAttempt(false, "Unit did not answer")
        act("error Download failed|Unit did not answer; shown unitPickerPage; focus ipAddressField")
        act("is ipAddressField.text 10.0.0.2; click unitPickerCancelButton; shown initialPage")
        verify(!window.mainUIActive)
        act("click downloadButton")
        picker().unitIpClicked("10.0.0.2")
        connectAndWaitFor("downloadConfig()")
        _application.finishDownload(true)
        act("error Download complete; idle; title New config")
    }

    function test_downloadSettlesUnsavedChangesFirstAndCancelLetsTheUnitGo() {
        startWorking()
        act("dirty; menu File/Download; shown unsavedChangesPopup; hidden unitPickerPage")
        act("click unsavedDiscardButton; shown unitPickerPage")
        picker().unitIpClicked("10.0.0.3")
        act("click taskInProgressCancelButton; idle")
        act("connection connectToHostByIpAddress(10.0.0.3) disconnect()")
    }
}
