import QtQuick 2.12
import QtQuick.Controls 2.12

// The push button of the dark pages and pop-ups. Return and Enter press it
// as Space does; a frame shows when the keyboard brought the focus to it.
Button {
    id: control

    property color textColour: "#B3B3B3"
    property bool accent: false

    implicitWidth: 120
    implicitHeight: 40
    font.pointSize: 12
    hoverEnabled: true

    Keys.onReturnPressed: clicked()
    Keys.onEnterPressed: clicked()

    contentItem: Text {
        textFormat: Text.PlainText
        text: control.text
        font: control.font
        color: control.accent && control.enabled ? "black" : control.textColour
        opacity: control.enabled ? 1.0 : 0.3
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        radius: 3
        color: {
            if (control.accent && control.enabled)
                return control.down ? "#03C99B" : (control.hovered ? "#3DFFD2" : "#04FFC5")
            return control.down ? "#111111" : (control.hovered ? "#2A2A2A" : "#1E1E1E")
        }
        border.width: 1
        border.color: control.accent ? "transparent" : "#4D4E4E"
        opacity: control.enabled ? 1.0 : 0.5

        FocusFrame {
            control: control
            onAccent: control.accent && control.enabled
        }
    }
}
