import QtQuick 2.12
import QtQuick.Controls 2.12

// The text field of the dark pages.
TextField {
    id: control

    implicitHeight: 34
    font.pointSize: 12
    color: "#E6E6E6"
    placeholderTextColor: "#6E6E6E"
    selectionColor: "#04FFC5"
    selectedTextColor: "black"
    leftPadding: 10
    rightPadding: 10
    selectByMouse: true

    background: Rectangle {
        radius: 3
        color: "#1E1E1E"
        border.width: 1
        border.color: control.activeFocus ? "#04FFC5" : (control.text !== "" && !control.acceptableInput ? "#E05A5A" : "#4D4E4E")
    }
}
