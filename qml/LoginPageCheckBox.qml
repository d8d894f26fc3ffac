import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// A check box whose square indicator is as high as the control; ticked, it
// holds a smaller square in the text colour.
CheckBox {
    id: control

    property color textColour: "black"
    property color indicatorColour: "white"
    property real cornerRadius: 0

    leftPadding: width * 0.05
    topPadding: 0
    bottomPadding: 0
    spacing: 8

    indicator: Rectangle {
        x: control.leftPadding
        y: 0
        width: control.height
        height: control.height
        radius: control.cornerRadius
        color: control.indicatorColour

        Rectangle {
            anchors.centerIn: parent
            width: parent.width * 0.6
            height: parent.height * 0.6
            radius: control.cornerRadius * 0.6
            color: control.textColour
            visible: control.checked
        }

        FocusFrame {
            control: control
        }
    }

    contentItem: Text {
        textFormat: Text.PlainText
        leftPadding: control.indicator.width + control.spacing
        text: control.text
        font: control.font
        color: control.textColour
        opacity: control.enabled ? 1.0 : 0.3
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}
