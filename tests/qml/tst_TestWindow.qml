import QtQuick 2.12
import QtTest 1.12

TestCase {
    id: testCase
    name: "TestWindow"
    when: windowShown

    property var window: null
    property var layout: null
    readonly property var connection: _application.connectionInterface

    Component {
        id: fakeLayoutComponent
        QtObject {
            property bool fixedAspectRatio: false
            property int aspectRatio1: 4
            property int aspectRatio2: 3
            property var onlineCalls: []
            property var widgets: ({ count: 0 })
            signal createRequest(var widget, var parentItem, int containerLocation)
            signal deleteRequest(var item)
            signal configClientNotFound()
            signal authenticationFailedSignal()
            function registerContentItem(item, layoutEditor) {}
            function setOnline(address) { onlineCalls = onlineCalls.concat(["online " + address]) }
            function setOffline() { onlineCalls = onlineCalls.concat(["offline"]) }
        }
    }

    function initTestCase() { qmlWarnings.start() }

    function init() {
        _application.reset()
        qmlWarnings.clear()
        layout = createTemporaryObject(fakeLayoutComponent, testCase)
        var component = Qt.createComponent("qrc:/TestWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = createTemporaryObject(component, null, { currentLayout: layout, visible: true })
        shown("testConnectButton")
    }

    function cleanup() { compare(qmlWarnings.messages, [], "QML warnings") }

    function part(name) {
        var found = findChild(window.contentItem, name) || findChild(window.header, name)
        verify(found !== null, name)
        return found
    }

    function shown(name) { tryCompare(part(name), "visible", true, 5000, name) }

    // Types the address and the login into the picker, as a user does, and, with online, lets the attempt succeed.
    function connectTo(address, online) {
        part("testConnectButton").clicked()
        shown("testUnitPicker")
        waitForRendering(part("testUnitPicker"))
        part("ipAddressField").text = address
        mouseClick(part("unitPickerNextButton"))
        shown("usernameField")
        part("usernameField").text = "eng"
        part("passwordField").text = "pw"
        mouseClick(part("unitPickerSelectButton"))
        shown("testProgressPage")
        if (online) {
            connection.finishAttempt(true)
            shown("testOnlineLabel")
        }
    }

    function failure() { return part("testFailurePage") }

    function test_onlineThenConnectionLost() {
        verify(_application.calls.indexOf("testApplicationWindowReady(testWindow)") >= 0)
        connectTo("10.0.0.9", true)
        compare(connection.calls, ["connectToHostByIpAddress(10.0.0.9)"])
        verify(_application.calls.indexOf("setTestWindowPassword(pw)") >= 0)
        compare([_application.testWindowUsername, part("testOnlineLabel").text], ["eng", "Online (10.0.0.9)"])
        compare(layout.onlineCalls, ["online 10.0.0.9"])
        connection.finishAttempt(false, "Heartbeat lost")
        connection.setConnected(false)
        shown("testFailurePage")
        verify(/^Lost connection to unit at \d\d:\d\d:\d\d$/.test(failure().text))
        compare([failure().failureReasonText, layout.onlineCalls], ["Heartbeat lost", ["online 10.0.0.9", "offline"]])
        failure().okClicked()
        shown("testConnectButton")
    }

    // The warning lies over the page while the unit is silent, and goes when
    // it answers again, when the window disconnects, and when the unit is declared lost.
    function test_lostCommsWarningFollowsTheSilentUnit() {
        connectTo("10.0.0.7", true)
        var warning = part("lostCommsWarning")
        compare(warning.visible, false)
        connection.unitSilent = true
        compare(warning.visible, true)
        connection.unitSilent = false
        compare(warning.visible, false)
        connection.unitSilent = true
        part("testDisconnectButton").clicked()
        shown("testConnectButton")
        compare([warning.visible, layout.onlineCalls], [false, ["online 10.0.0.7", "offline"]])
        verify(connection.calls.indexOf("disconnect()") >= 0)
        connection.unitSilent = false
        connectTo("10.0.0.7", true)
        connection.unitSilent = true
        connection.setConnected(false)
        shown("testFailurePage")
        compare(warning.visible, false)
    }

    function test_aPickedUnitShowsAddressAndNameAndAMissingManagerGoesOffline() {
        connection.addUnit("10.0.0.5", "Stage Dorvel", "", 0)
        part("testConnectButton").clicked()
        shown("testUnitPicker")
        part("testUnitPicker").selectUnitClicked(0)
        compare(connection.calls, ["connectToUnit(0)"])
        connection.finishAttempt(true)
        shown("testOnlineLabel")
        compare(part("testOnlineLabel").text, "Online (10.0.0.5 - Stage Dorvel)")
        layout.configClientNotFound()
        shown("testConnectButton")
        compare([part("testOnlineLabel").visible, layout.onlineCalls], [false, ["online 10.0.0.5", "offline"]])
    }

    function test_closingTheWindowTakesThePageOffline() {
        connectTo("10.0.0.6", true)
        connection.clearCalls()
        window.destroy()
        tryVerify(function() { return layout.onlineCalls[layout.onlineCalls.length - 1] === "offline" })
        verify(connection.calls.indexOf("disconnect()") >= 0)
    }

    // Escape after a failure brings the picker back with the address still there.
    function test_failedAttemptAndRefusedLogin() {
        connectTo("10.0.0.8", false)
        connection.finishAttempt(false, "No answer")
        shown("testFailurePage")
        compare([failure().text, failure().failureReasonText], ["Connection attempt failed", "No answer"])
        keyClick(Qt.Key_Escape)
        shown("testUnitPicker")
        compare(part("ipAddressField").text, "10.0.0.8")
        verify(part("ipAddressField").activeFocus)
        part("testUnitPicker").cancelClicked()
        shown("testConnectButton")
        connectTo("10.0.0.8", true)
        layout.authenticationFailedSignal()
        shown("testFailurePage")
        compare(failure().failureReasonText, "Username or password incorrect")
        verify(connection.calls.indexOf("disconnect()") >= 0)
        failure().okClicked()
        shown("testUnitPicker")
        compare(part("testUnitPicker").password, "")
    }
}
