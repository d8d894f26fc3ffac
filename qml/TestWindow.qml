import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.12
import QtQml.StateMachine 1.12 as DSM
import "Common"

// Runs one layout live against a unit: pick the unit and log in, connect,
// take the layout online, and say why when that fails or the unit is lost.
// After a failed attempt or a refused login the picker comes back with the
// unit or address still chosen.
ApplicationWindow {
    id: testWindow
    objectName: "testWindow"

    property var currentLayout: null
    // The unit in use: the name of one picked from the list, or a typed address.
    property string unitName
    property string unitIpAddress
    property bool startConnecting: false
    property bool retrying: false

    readonly property var connection: _application.connectionInterface
    // The view of the layout, null while there is none.
    readonly property Item layoutView: layoutViewLoader.item

    signal unitChosen()
    signal connectRequested()
    signal connectSucceeded()
    signal connectFailed()
    signal failureAcknowledged()

    title: "Layout test"
    width: 1024
    height: 768
    color: "black"
    font.family: "Lato"

    onVisibleChanged: {
        if (visible)
            _application.testApplicationWindowReady(testWindow)
        else
            _application.testApplicationWindowClosed()
    }

    Component.onCompleted: Qt.callLater(function() { testWindowStateMachine.running = true })

    Component.onDestruction: {
        if (currentLayout)
            currentLayout.setOffline()
        connection.disconnect()
    }

    function connectToPreviousIpAddress(address) {
        unitName = ""
        unitIpAddress = address
        startConnecting = true
        connection.connectToHostByIpAddress(address)
    }

    function connectToPreviousUnitName(name) {
        unitName = name
        unitIpAddress = ""
        startConnecting = true
        connection.connectToUnitName(name)
    }

    function storeLogin() {
        if (!unitPicker.usingStoredPassword)
            _application.setTestWindowPassword(unitPicker.password)
        _application.testWindowUsername = unitPicker.username
        _application.testWindowRememberLoginDetails = unitPicker.rememberLoginDetails
    }

    // "Online (<address> - <unit name>)"; a typed address has no name.
    function onlineText() {
        var parts = [connection.getHostIPAddress(), unitName].filter(function(part) { return part !== "" })
        return "Online (" + parts.join(" - ") + ")"
    }

    // A connection lost without a reason was ended by the editor itself: only a config
    // transfer takes the unit's connection from this window while it is online.
    readonly property string takenOverReason: "An upload or download of the config ended the connection"

    function showFailure(text, reason) {
        failurePage.text = text
        failurePage.failureReasonText = reason
        failurePage.visible = true
    }

    function optionalComponent(fileName) {
        var component = Qt.createComponent(fileName)
        if (component.status === Component.Ready)
            return component
        if (component.errorString().indexOf("No such file") < 0)
            console.warn(component.errorString())
        return null
    }

    header: Rectangle {
        height: 22
        color: "#1A1A1A"

        Row {
            anchors.left: parent.left
            anchors.leftMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            spacing: 10

            KelvariButton {
                id: connectButton
                objectName: "testConnectButton"
                height: 18
                width: 90
                font.pointSize: 10
                text: "Connect"
                visible: false
            }
            KelvariButton {
                id: disconnectButton
                objectName: "testDisconnectButton"
                height: 18
                width: 90
                font.pointSize: 10
                text: "Disconnect"
                visible: false
            }
            Text {
                id: onlineLabel
                objectName: "testOnlineLabel"
                textFormat: Text.PlainText
                anchors.verticalCenter: parent.verticalCenter
                visible: false
                font.pointSize: 10
                color: "lightgreen"
            }
        }
    }

    Item {
        id: viewArea
        anchors.fill: parent

        readonly property bool fixedRatio: testWindow.currentLayout !== null && testWindow.currentLayout.fixedAspectRatio
        readonly property real ratio: fixedRatio ? testWindow.currentLayout.aspectRatio1 / testWindow.currentLayout.aspectRatio2
                                                 : width / Math.max(1, height)

        Loader {
            id: layoutViewLoader
            objectName: "testLayoutViewLoader"
            anchors.centerIn: parent
            width: Math.min(parent.width, parent.height * viewArea.ratio)
            height: Math.min(parent.height, parent.width / viewArea.ratio)
            active: testWindow.currentLayout !== null
            sourceComponent: testWindow.optionalComponent("LayoutView.qml")
            onLoaded: {
                item.isTestWindow = true
                item.currentLayout = Qt.binding(function() { return testWindow.currentLayout })
            }
        }

        LostCommsWarning {
            id: lostCommsWarning
            objectName: "lostCommsWarning"
            anchors.fill: layoutViewLoader
        }
    }

    Rectangle {
        id: blockingArea
        anchors.fill: parent
        color: Qt.rgba(1, 1, 1, 0.7)
        visible: unitPicker.visible || failurePage.visible || progressPage.visible

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            onWheel: wheel.accepted = true
        }
    }

    UnitPickerPage {
        id: unitPicker
        objectName: "testUnitPicker"
        anchors.fill: parent
        headlineText: "Connect to unit"
        selectButtonText: "Connect"
        adminUserOnly: false
    }

    TaskInProgressPage {
        id: progressPage
        objectName: "testProgressPage"
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 520)
        height: 200
        visible: false
        text: "Connecting..."
    }

    TaskFailurePage {
        id: failurePage
        objectName: "testFailurePage"
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 520)
        height: 260
        visible: false
    }

    Connections {
        target: chooseUnitState.active ? unitPicker : null
        function onSelectUnitClicked(unitIndex) {
            testWindow.storeLogin()
            testWindow.unitName = testWindow.connection.getUnitName(unitIndex)
            testWindow.unitIpAddress = ""
            testWindow.connection.connectToUnit(unitIndex)
            testWindow.connectRequested()
        }
        function onUnitIpClicked(ipAddress) {
            testWindow.storeLogin()
            testWindow.unitName = ""
            testWindow.unitIpAddress = ipAddress
            testWindow.connection.connectToHostByIpAddress(ipAddress)
            testWindow.connectRequested()
        }
        function onCancelClicked() { testWindow.failureAcknowledged() }
    }

    Connections {
        target: connectingState.active ? testWindow.connection : null
        function onConnectionAttemptSuccessful() { testWindow.connectSucceeded() }
        function onConnectionAttemptFailed() { testWindow.connectFailed() }
    }

    Connections {
        target: failurePage.visible ? failurePage : null
        function onOkClicked() { testWindow.failureAcknowledged() }
    }

    Connections {
        target: onlineState.active ? testWindow.currentLayout : null
        ignoreUnknownSignals: true
        function onConfigClientNotFound() { testWindow.layoutClientNotFound() }
        function onAuthenticationFailedSignal() { testWindow.loginRefused() }
    }

    Connections {
        target: onlineState.active ? testWindow.connection : null
        function onConnectedChanged() { if (!testWindow.connection.connected) testWindow.connectionLost() }
        function onUnitSilentChanged() {
            if (testWindow.connection.unitSilent)
                lostCommsWarning.show()
            else
                lostCommsWarning.hide()
        }
    }

    signal layoutClientNotFound()
    signal loginRefused()
    signal connectionLost()

    DSM.StateMachine {
        id: testWindowStateMachine
        objectName: "testWindowStateMachine"
        initialState: testWindow.startConnecting ? connectingState : offlineState
        running: false

        DSM.State {
            id: offlineState
            onEntered: {
                connectButton.visible = true
                testWindow.unitIpAddress = ""
                testWindow.unitName = ""
            }
            onExited: connectButton.visible = false

            DSM.SignalTransition { signal: connectButton.clicked; targetState: chooseUnitState }
        }

        DSM.State {
            id: chooseUnitState
            onEntered: {
                if (_application.testWindowRememberLoginDetails) {
                    unitPicker.username = _application.testWindowUsername
                    if (_application.testWindowPasswordStored)
                        unitPicker.password = ""
                    unitPicker.usingStoredPassword = _application.testWindowPasswordStored
                } else {
                    unitPicker.username = ""
                    unitPicker.usingStoredPassword = false
                }
                unitPicker.rememberLoginDetails = _application.testWindowRememberLoginDetails
                if (testWindow.retrying)
                    unitPicker.showChoice()
                else
                    unitPicker.showUnitList()
                testWindow.retrying = false
                unitPicker.visible = true
            }
            onExited: unitPicker.visible = false

            DSM.SignalTransition { signal: testWindow.connectRequested; targetState: connectingState }
            DSM.SignalTransition { signal: testWindow.failureAcknowledged; targetState: offlineState }
        }

        DSM.State {
            id: connectingState
            onEntered: {
                progressPage.visible = true
                if (testWindow.connection.connected)
                    testWindow.connectSucceeded()
            }
            onExited: progressPage.visible = false

            DSM.SignalTransition { signal: testWindow.connectSucceeded; targetState: onlineState }
            DSM.SignalTransition { signal: testWindow.connectFailed; targetState: attemptFailedState }
        }

        DSM.State {
            id: onlineState
            onEntered: {
                disconnectButton.visible = true
                onlineLabel.text = testWindow.onlineText()
                onlineLabel.visible = true
                if (testWindow.currentLayout)
                    testWindow.currentLayout.setOnline(testWindow.connection.getHostIPAddress())
            }
            onExited: {
                disconnectButton.visible = false
                onlineLabel.visible = false
                lostCommsWarning.hide()
                if (testWindow.currentLayout)
                    testWindow.currentLayout.setOffline()
                testWindow.connection.disconnect()
            }

            DSM.SignalTransition { signal: testWindow.layoutClientNotFound; targetState: offlineState }
            DSM.SignalTransition { signal: testWindow.loginRefused; targetState: loginRefusedState }
            DSM.SignalTransition { signal: disconnectButton.clicked; targetState: offlineState }
            DSM.SignalTransition {
                signal: testWindow.connectionLost
                targetState: connectionLostState
                onTriggered: lostCommsWarning.hide()
            }
        }

        DSM.State {
            id: connectionLostState
            onEntered: {
                var now = new Date()
                var connection = testWindow.connection
                testWindow.showFailure("Lost connection to unit at " + connection.padTo2(now.getHours()) + ":"
                                       + connection.padTo2(now.getMinutes()) + ":"
                                       + connection.padTo2(now.getSeconds()),
                                       connection.connectionFailureReason
                                       || testWindow.takenOverReason)
            }
            onExited: failurePage.visible = false

            DSM.SignalTransition { signal: testWindow.failureAcknowledged; targetState: offlineState }
        }

        DSM.State {
            id: attemptFailedState
            onEntered: testWindow.showFailure("Connection attempt failed", testWindow.connection.connectionFailureReason)
            onExited: failurePage.visible = false

            DSM.SignalTransition {
                signal: testWindow.failureAcknowledged
                targetState: chooseUnitState
                onTriggered: testWindow.retrying = true
            }
        }

        DSM.State {
            id: loginRefusedState
            onEntered: testWindow.showFailure("Connection attempt failed", "Username or password incorrect")
            onExited: failurePage.visible = false

            // The refused password is not offered again.
            DSM.SignalTransition {
                signal: testWindow.failureAcknowledged
                targetState: chooseUnitState
                onTriggered: {
                    testWindow.retrying = true
                    unitPicker.password = ""
                }
            }
        }
    }
}
