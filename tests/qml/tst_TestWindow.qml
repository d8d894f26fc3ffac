// The test window over a stand-in layout; the live test checks a refused login and a vanished unit end to end.
MainWindowTestCase {
    name: "TestWindow"
    windowUrl: "qrc:/TestWindow.qml"
    readyPart: "testConnectButton"

    property var layout: null

    function windowProperties() {
        _application.currentConfig.setLayoutCount(1)
        layout = _application.currentConfig.layouts.get(0)
        return { currentLayout: layout, visible: true }
    }

    function connectTo(address, online) {
        act("click testConnectButton; shown testUnitPicker")
        waitForRendering(part("testUnitPicker"))
        act("type ipAddressField " + address + "; click unitPickerNextButton; shown usernameField")
        act("type usernameField eng; type passwordField pw; click unitPickerSelectButton; shown testProgressPage")
        if (online)
            act("answer; shown testOnlineLabel")
    }

    // Lost by the unit, or ended by an upload from the main window: the page always says why.
    function test_onlineThenConnectionLost_data() {
        return [{ tag: "unit", reason: "Heartbeat lost",
                  end: "call connection.finishAttempt false|Heartbeat lost; call connection.setConnected false" },
                { tag: "upload", end: "call connection.disconnect",
                  reason: "An upload or download of the config ended the connection" }]
    }
    function test_onlineThenConnectionLost(data) {
        act("called testApplicationWindowReady(testWindow)")
        connectTo("10.0.0.9", true)
        act("connection connectToHostByIpAddress(10.0.0.9); is testOnlineLabel.text Online (10.0.0.9)")
        act("called setTestWindowPassword(pw)")
        compare([_application.testWindowUsername, layout.onlineCalls], ["eng", ["online 10.0.0.9"]])
        act(data.end + "; shown testFailurePage; is testFailurePage.failureReasonText " + data.reason)
        verify(/^Lost connection to unit at \d\d:\d\d:\d\d$/.test(part("testFailurePage").text))
        compare(layout.onlineCalls, ["online 10.0.0.9", "offline"])
    }

    // The warning shows while the unit is silent, and goes when it answers, on Disconnect and when it is lost.
    function test_lostCommsWarningFollowsTheSilentUnit() {
        connectTo("10.0.0.7", true)
        compare([true, false, true].map(function(silent) { connection().unitSilent = silent
            return part("lostCommsWarning").visible }), [true, false, true])
        act("click testDisconnectButton; shown testConnectButton; hidden lostCommsWarning; called disconnect()")
        compare(layout.onlineCalls, ["online 10.0.0.7", "offline"])
        connection().unitSilent = false
        connectTo("10.0.0.7", true)
        act("put connection.unitSilent true; call connection.setConnected false; shown testFailurePage")
        act("hidden lostCommsWarning")
    }

    function test_aPickedUnitShowsAddressAndNameAndAMissingManagerGoesOffline() {
        act("call connection.addUnit 10.0.0.5|Stage Dorvel||0; click testConnectButton; shown testUnitPicker")
        act("call testUnitPicker.selectUnitClicked 0; answer; connection connectToUnit(0); shown testOnlineLabel")
        act("is testOnlineLabel.text Online (10.0.0.5 - Stage Dorvel)")
        layout.configClientNotFound()
        act("shown testConnectButton; hidden testOnlineLabel")
        compare(layout.onlineCalls, ["online 10.0.0.5", "offline"])
    }

    function test_closingTheWindowTakesThePageOffline() {
        connectTo("10.0.0.6", true)
        act("clear")
        window.destroy()
        tryVerify(function() { return layout.onlineCalls[layout.onlineCalls.length - 1] === "offline" })
        act("called disconnect()")
    }

    // Escape brings the picker back with the address kept; a refused login lets the unit go, the password too.
    function test_failedAttemptAndRefusedLogin() {
        connectTo("10.0.0.8", false)
        act("call connection.finishAttempt false|No answer; shown testFailurePage")
        act("is testFailurePage.text Connection attempt failed")
        act("is testFailurePage.failureReasonText No answer; key Escape; shown testUnitPicker")
        act("focus ipAddressField; is ipAddressField.text 10.0.0.8; call testUnitPicker.cancelClicked")
        connectTo("10.0.0.8", true)
        layout.authenticationFailedSignal()
        act("shown testFailurePage; called disconnect(); call testFailurePage.okClicked; shown testUnitPicker")
        act("is testUnitPicker.password ")
    }
}
