import QtQuick 2.12
import "Common"

// Lies over the test window's layout while the unit does not answer.
Rectangle {
    id: root

    function show() { visible = true }
    function hide() { visible = false }

    visible: false
    color: Qt.rgba(0, 0, 0, 0.6)

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Column {
        anchors.centerIn: parent
        spacing: 18

        AnimatedCircle {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 72
            height: 72
            strokeWidth: 6
            strokeColor: "#04FFC5"
            running: root.visible
        }

        Text {
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Lost communications with the unit"
            font.pointSize: 16
            color: "#E6E6E6"
        }

        Text {
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Waiting for it to answer again..."
            font.pointSize: 12
            color: "#B3B3B3"
        }
    }
}
