import QtQuick 2.12

// The "Close" button of the pickers: light grey text and frame; it never takes the focus.
Item {
    id: button

    property string text: "Close"
    signal clicked()

    width: 80
    height: 40

    Rectangle {
        anchors.fill: parent
        color: "transparent"
        border.color: Qt.rgba(0.7, 0.7, 0.7, mouseArea.pressed ? 0.2 : 1)
        border.width: 1
    }

    Text {
        textFormat: Text.PlainText
        anchors.centerIn: parent
        text: button.text
        font.pointSize: 11
        color: Qt.rgba(0.7, 0.7, 0.7, 1)
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        onClicked: button.clicked()
    }
}
