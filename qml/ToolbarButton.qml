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
        onTriggered: {
            tooltip.place()
            tooltip.visible = true
        }
    }

    Rectangle {
        id: tooltip
        objectName: "tooltip"

        // Centred under the button, but kept inside the window. Measured when
        // shown: the button's place in the window is known only once laid out,
        // and a toolbar drawn smaller at a small window scales it as well.
        function place() {
            var wanted = button.tooltipX - width / 2
            var window = button.Window.window
            if (!window) {
                x = wanted
                return
            }
            var windowLeft = button.mapFromItem(null, 2, 0).x
            var windowRight = button.mapFromItem(null, window.width - 2, 0).x
            x = Math.max(windowLeft, Math.min(wanted, windowRight - width))
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
            textFormat: Text.PlainText
            anchors.centerIn: parent
            text: button.tooltipText
            font.pointSize: 10
            color: "black"
        }
    }
}
