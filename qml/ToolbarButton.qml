import QtQuick 2.12
import QtQuick.Window 2.12
import "Common"

// An icon button of the toolbars: a press darkens it, and resting the pointer
// on it for a moment shows its tooltip. Tab reaches it while it is enabled,
// with the focus frame; Space, Return and Enter press it.
Image {
    id: button

    property string tooltipText: ""
    property bool buttonEnabled: true
    property real tooltipX: width / 2
    property real tooltipY: height + 5
    readonly property bool tooltipShown: tooltip.visible

    signal clicked()

    sourceSize: Qt.size(width * Screen.devicePixelRatio, height * Screen.devicePixelRatio)
    fillMode: Image.PreserveAspectFit
    activeFocusOnTab: buttonEnabled

    function press(event) {
        event.accepted = true
        if (button.buttonEnabled)
            button.clicked()
    }

    Keys.onSpacePressed: press(event)
    Keys.onReturnPressed: press(event)
    Keys.onEnterPressed: press(event)

    // Only the keyboard brings the focus here: a click leaves it where it was.
    FocusFrame {
        control: button
        visible: button.activeFocus
    }

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.2)
        visible: mouseArea.pressed && button.buttonEnabled
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        hoverEnabled: button.tooltipText !== ""
        onClicked: {
            tooltip.visible = false
            if (button.buttonEnabled)
                button.clicked()
        }
        onContainsMouseChanged: {
            if (containsMouse) {
                tooltipTimer.restart()
            } else {
                tooltipTimer.stop()
                tooltip.visible = false
            }
        }
    }

    Timer {
        id: tooltipTimer
        interval: 750
        onTriggered: tooltip.visible = true
    }

    Rectangle {
        id: tooltip
        objectName: "tooltip"
        // Centred under the button, but kept inside the window.
        readonly property real wantedX: button.tooltipX - width / 2
        readonly property real sceneLeft: button.mapToItem(null, 0, 0).x
        x: {
            var windowWidth = button.Window.window ? button.Window.window.width : 100000
            return Math.max(-sceneLeft + 2, Math.min(wantedX, windowWidth - sceneLeft - width - 2))
        }
        y: button.tooltipY
        z: 100
        visible: false
        width: tooltipLabel.implicitWidth + 12
        height: tooltipLabel.implicitHeight + 8
        color: "white"
        border.color: "black"
        border.width: 1

        Text {
            id: tooltipLabel
            anchors.centerIn: parent
            text: button.tooltipText
            font.pointSize: 10
            color: "black"
        }
    }
}
