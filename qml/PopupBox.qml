import QtQuick 2.12

// The frame of the main window's pop-ups: a 400 x 200 box over a dimmed
// background that swallows all mouse input. Children go into the box.
Item {
    id: root

    default property alias content: box.data
    property alias box: box

    anchors.fill: parent
    visible: false

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: 0.4
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: wheel.accepted = true
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: 400
        height: 200
        color: "#333333"
        border.color: "black"
        border.width: 2
    }
}
