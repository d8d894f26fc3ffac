import QtQuick 2.12

// One font of the font picker, its name set in that font.
Item {
    id: row

    property string fontCode: ""
    property Item fontPickerItem: null

    height: 50

    Text {
        textFormat: Text.PlainText
        anchors.fill: parent
        anchors.leftMargin: 4
        anchors.rightMargin: 24
        text: _application.fontCodeToName(row.fontCode)
        font.family: text
        font.pointSize: 18
        color: Qt.rgba(0.7, 0.7, 0.7, 1)
        horizontalAlignment: Text.AlignLeft
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    Rectangle {
        objectName: "currentFrame"
        anchors.fill: parent
        anchors.rightMargin: 20
        color: "transparent"
        border.color: "black"
        border.width: 2
        visible: row.fontPickerItem !== null && row.fontPickerItem.currentFontCode === row.fontCode
    }

    MouseArea {
        anchors.fill: parent
        onClicked: {
            row.fontPickerItem.currentFontCode = row.fontCode
            row.fontPickerItem.closing(row.fontCode)
        }
    }
}
