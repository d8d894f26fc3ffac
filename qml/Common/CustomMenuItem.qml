import QtQuick 2.12
import QtQuick.Controls 2.12

// A menu entry of the dark menus: optional icon, text, and the shortcut in a second column.
MenuItem {
    id: control

    property url iconSource
    property url disabledIconSource
    property string shortcutText

    implicitHeight: 30
    implicitWidth: 240
    font.pointSize: 12
    leftPadding: 8
    rightPadding: 12

    readonly property color textColour: enabled ? "#B3B3B3" : "#4D4E4E"

    contentItem: Item {
        implicitHeight: 30

        Image {
            id: iconImage
            anchors.verticalCenter: parent.verticalCenter
            width: 20
            height: 20
            sourceSize: Qt.size(40, 40)
            source: control.enabled ? control.iconSource : control.disabledIconSource
            visible: control.iconSource != ""
        }

        Text {
            textFormat: Text.PlainText
            anchors.left: parent.left
            anchors.leftMargin: 28
            anchors.verticalCenter: parent.verticalCenter
            text: control.text
            font: control.font
            color: control.textColour
        }

        Text {
            textFormat: Text.PlainText
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            text: control.shortcutText
            font.pointSize: control.font.pointSize - 1
            font.family: control.font.family
            color: control.textColour
        }
    }

    background: Rectangle {
        implicitWidth: 240
        implicitHeight: 30
        color: control.highlighted && control.enabled ? "#222222" : "black"
    }
}
