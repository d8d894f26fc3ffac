import QtQuick 2.12

// The keyboard focus frame around a button, drawn just outside it. On the
// accent green it is white, so that it shows on every button.
Rectangle {
    property Item control
    property bool onAccent: false

    anchors.fill: parent
    anchors.margins: -3
    radius: 5
    color: "transparent"
    border.width: 2
    border.color: onAccent ? "white" : "#04FFC5"
    visible: control !== null && control.visualFocus
}
