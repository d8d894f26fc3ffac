import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// A page switch of the menu bar; "checked" says whether its page is shown.
// Only the page shown sets it: a click on the current page's button leaves
// it checked. Return and Enter press it as Space does.
Button {
    id: control

    // Checking makes a button checkable again; undone so that a click never unchecks.
    onCheckedChanged: checkable = false
    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    height: 22
    leftPadding: 10
    rightPadding: 10
    hoverEnabled: true
    font.pointSize: 11

    contentItem: Text {
        textFormat: Text.PlainText
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

        FocusFrame {
            control: control
            onAccent: control.checked
        }
    }
}
