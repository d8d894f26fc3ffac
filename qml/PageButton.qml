import QtQuick 2.12
import QtQuick.Controls 2.12

// A page switch of the menu bar; "checked" says whether its page is shown.
Button {
    id: control

    height: 22
    leftPadding: 10
    rightPadding: 10
    hoverEnabled: true
    font.pointSize: 11

    contentItem: Text {
        text: control.text
        font: control.font
        color: control.checked ? "black" : (control.enabled ? "#B3B3B3" : "#4D4E4E")
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        radius: 3
        color: control.checked ? "#04FFC5" : (control.hovered && control.enabled ? "#222222" : "black")
        border.width: control.checked ? 0 : 1
        border.color: "#333333"
    }
}
