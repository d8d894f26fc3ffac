import QtQuick 2.12
import QtTest 1.12

TestCase {
    id: testCase
    name: "MainWindowTestWindow"
    when: windowShown

    property var window: null
    property var layout: null

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
            function registerContentItem(item, layoutEditor) {}
            signal configClientNotFound()
            signal authenticationFailedSignal()
            function setOnline(address) { onlineCalls = onlineCalls.concat(["online " + address]) }
            function setOffline() { onlineCalls = onlineCalls.concat(["offline"]) }
        }
    }

    function initTestCase() {
        qmlWarnings.start()
    }

    function init() {
        _application.reset()
        qmlWarnings.clear()
        layout = createTemporaryObject(fakeLayoutComponent, testCase)
        var component = Qt.createComponent("qrc:/TestWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = createTemporaryObject(component, null, { currentLayout: layout, visible: true })
        tryVerify(function() { return part("testConnectButton").visible })
    }

    function cleanup() {
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function part(name) {
        var found = findChild(window.contentItem, name) || findChild(window.header, name)
        verify(found !== null, name)
        return found
    }

    function connectTo(address) {
        part("testConnectButton").clicked()
        tryCompare(part("testUnitPicker"), "visible", true)
        part("testUnitPicker").password = "pw"
        part("testUnitPicker").username = "eng"
        findChild(part("testUnitPicker"), "ipAddressField").text = address
        part("testUnitPicker").unitIpClicked(address)
        tryCompare(part("testProgressPage"), "visible", true)
    }

    function test_onlineThenConnectionLost() {
        verify(_application.calls.indexOf("testApplicationWindowReady(testWindow)") >= 0)
        connectTo("10.0.0.9")
        compare(_application.connectionInterface.calls, ["connectToHostByIpAddress(10.0.0.9)"])
        verify(_application.calls.indexOf("setTestWindowPassword(pw)") >= 0)
        compare(_application.testWindowUsername, "eng")

        _application.connectionInterface.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        compare(part("testOnlineLabel").text, "Online (10.0.0.9)")
        compare(layout.onlineCalls, ["online 10.0.0.9"])

        _application.connectionInterface.finishAttempt(false, "Heartbeat lost")
        _application.connectionInterface.setConnected(false)
        tryCompare(part("testFailurePage"), "visible", true)
        verify(/^Lost connection to unit at \d\d:\d\d:\d\d$/.test(part("testFailurePage").text))
        compare(part("testFailurePage").failureReasonText, "Heartbeat lost")
        compare(layout.onlineCalls, ["online 10.0.0.9", "offline"])
        part("testFailurePage").okClicked()
        tryCompare(part("testConnectButton"), "visible", true)
    }

    // The warning lies over the page while the unit is silent, and goes when
    // it answers again, when the unit is declared lost, and when the window stops.
    function test_lostCommsWarningFollowsTheSilentUnit() {
        var connection = _application.connectionInterface
        connectTo("10.0.0.7")
        connection.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        var warning = part("lostCommsWarning")
        compare(warning.visible, false)
        connection.unitSilent = true
        compare(warning.visible, true)
        connection.unitSilent = false
        compare(warning.visible, false)

        connection.unitSilent = true
        part("testDisconnectButton").clicked()
        tryCompare(part("testConnectButton"), "visible", true)
        compare(warning.visible, false)
        compare(layout.onlineCalls, ["online 10.0.0.7", "offline"])
        verify(connection.calls.indexOf("disconnect()") >= 0)

        connection.unitSilent = false
        connectTo("10.0.0.7")
        connection.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        connection.unitSilent = true
        connection.setConnected(false)
        tryCompare(part("testFailurePage"), "visible", true)
        compare(warning.visible, false)
    }

    function test_aPickedUnitShowsAddressAndNameAndAMissingManagerGoesOffline() {
        var connection = _application.connectionInterface
        connection.addUnit("10.0.0.5", "Stage Dorvel", "", 0)
        part("testConnectButton").clicked()
        tryCompare(part("testUnitPicker"), "visible", true)
        part("testUnitPicker").selectUnitClicked(0)
        compare(connection.calls, ["connectToUnit(0)"])
        connection.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        compare(part("testOnlineLabel").text, "Online (10.0.0.5 - Stage Dorvel)")

        layout.configClientNotFound()
        tryCompare(part("testConnectButton"), "visible", true)
        compare(part("testOnlineLabel").visible, false)
        compare(layout.onlineCalls, ["online 10.0.0.5", "offline"])
    }

    function test_closingTheWindowTakesThePageOffline() {
        connectTo("10.0.0.6")
        _application.connectionInterface.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        _application.connectionInterface.clearCalls()
        window.destroy()
        tryVerify(function() { return layout.onlineCalls[layout.onlineCalls.length - 1] === "offline" })
        verify(_application.connectionInterface.calls.indexOf("disconnect()") >= 0)
    }

    // Ok after a failure brings the picker back with the address still there.
    function test_failedAttemptAndRefusedLogin() {
        connectTo("10.0.0.8")
        _application.connectionInterface.finishAttempt(false, "No answer")
        tryCompare(part("testFailurePage"), "visible", true)
        compare(part("testFailurePage").text, "Connection attempt failed")
        compare(part("testFailurePage").failureReasonText, "No answer")
        keyClick(Qt.Key_Escape)
        tryCompare(part("testUnitPicker"), "visible", true)
        compare(findChild(part("testUnitPicker"), "ipAddressField").text, "10.0.0.8")
        verify(findChild(part("testUnitPicker"), "ipAddressField").activeFocus)
        part("testUnitPicker").cancelClicked()
        tryCompare(part("testConnectButton"), "visible", true)

        connectTo("10.0.0.8")
        _application.connectionInterface.finishAttempt(true)
        tryCompare(part("testOnlineLabel"), "visible", true)
        layout.authenticationFailedSignal()
        tryCompare(part("testFailurePage"), "visible", true)
        compare(part("testFailurePage").failureReasonText, "Username or password incorrect")
        verify(_application.connectionInterface.calls.indexOf("disconnect()") >= 0)
        part("testFailurePage").okClicked()
        tryCompare(part("testUnitPicker"), "visible", true)
        compare(part("testUnitPicker").password, "")
    }
}
