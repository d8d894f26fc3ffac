import QtQuick 2.12
import QtQuick.Controls 2.12

// The red "!" beside a field of the layout details that is in trouble; resting
// the pointer on it says why.
Text {
    id: warning
    textFormat: Text.PlainText

    property string tooltipText: ""

    text: "!"
    color: "red"
    font.pixelSize: 20
    font.bold: true
    horizontalAlignment: Text.AlignHCenter
    verticalAlignment: Text.AlignVCenter

    MouseArea {
        id: hoverArea
        anchors.fill: parent
        hoverEnabled: warning.tooltipText !== ""
        acceptedButtons: Qt.NoButton
    }

    ToolTip.visible: hoverArea.containsMouse && warning.visible
    ToolTip.text: warning.tooltipText
    ToolTip.delay: 500
}
