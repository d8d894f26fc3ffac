import QtQuick 2.12

// One picture of the image picker; a click chooses it.
Rectangle {
    id: cell

    property Item imagePickerItem: null
    property string resourceId: ""
    property string resourceName: ""
    property int originalWidth: 0
    property int originalHeight: 0

    color: Qt.rgba(0.95, 0.95, 0.95, 1)
    border.color: current ? "#04FFC5" : "black"
    border.width: current ? 2 : 1
    readonly property bool current: imagePickerItem !== null && imagePickerItem.currentImageId === resourceId

    Text {
        id: nameText
        textFormat: Text.PlainText
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.margins: 4
        height: 20
        text: cell.resourceName
        font.pointSize: 9
        elide: Text.ElideMiddle
        verticalAlignment: Text.AlignVCenter
    }

    Item {
        id: pictureArea
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: nameText.bottom
        anchors.bottom: parent.bottom
        anchors.margins: 4

        Rectangle {
            visible: cell.resourceId === "_basic"
            anchors.fill: parent
            color: "#D7D6D5"
            radius: 0.2 * width
        }

        Image {
            visible: cell.resourceId !== "_basic"
            anchors.centerIn: parent
            readonly property bool wide: cell.originalWidth > cell.originalHeight
            width: cell.originalWidth === 0 || wide ? pictureArea.width
                                                    : pictureArea.height / cell.originalHeight * cell.originalWidth
            height: cell.originalHeight === 0 ? pictureArea.height
                                              : (wide ? pictureArea.width / cell.originalWidth * cell.originalHeight
                                                      : pictureArea.height)
            // Asked for only once laid out: a one-pixel request of a wide drawing has no height.
            source: cell.resourceId === "_basic" || width < 2 || height < 2
                    ? "" : "image://imageProvider/" + cell.resourceId + ":preserveAspectFit"
            cache: false
            sourceSize: Qt.size(Math.max(1, width), Math.max(1, height))
            fillMode: cell.resourceId === "_default" ? Image.Stretch : Image.PreserveAspectFit
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: {
            cell.imagePickerItem.currentImageId = cell.resourceId
            cell.imagePickerItem.closing(cell.resourceId)
        }
    }
}
