import QtQuick 2.12

// One image of the resource editor: its picture fitted to the square cell
// with its proportions kept, and its name in the corner.
Rectangle {
    id: cell

    property QtObject resource: null
    property bool selected: false

    signal clicked()

    color: "transparent"
    border.width: 2
    border.color: selected ? "#04FFC5" : "#000000"

    Item {
        id: pictureArea
        anchors.fill: parent
        anchors.margins: 2 + 4

        readonly property real naturalWidth: cell.resource && cell.resource.originalWidth !== undefined
                                             ? cell.resource.originalWidth : 0
        readonly property real naturalHeight: cell.resource && cell.resource.originalHeight !== undefined
                                              ? cell.resource.originalHeight : 0

        Image {
            objectName: "resourcePicture"
            anchors.centerIn: parent
            width: pictureArea.naturalWidth <= 0 || pictureArea.naturalWidth > pictureArea.naturalHeight
                   ? parent.width : parent.height * pictureArea.naturalWidth / pictureArea.naturalHeight
            height: pictureArea.naturalWidth <= 0 || pictureArea.naturalWidth <= pictureArea.naturalHeight
                    ? parent.height : parent.width * pictureArea.naturalHeight / pictureArea.naturalWidth
            sourceSize: Qt.size(width, height)
            source: cell.resource ? "image://imageProvider/" + cell.resource.resourceId + ":preserveAspectFit" : ""
            cache: false
            asynchronous: false
            fillMode: Image.PreserveAspectFit
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: cell.clicked()
    }

    Rectangle {
        x: 5
        y: 5
        width: Math.min(nameText.implicitWidth + 8, cell.width - 10)
        height: nameText.implicitHeight + 4
        color: Qt.rgba(1, 1, 1, 0.8)
        border.color: "black"
        border.width: 1

        Text {
            id: nameText
            objectName: "resourceName"
            textFormat: Text.PlainText
            x: 4
            y: 2
            width: parent.width - 8
            text: cell.resource && cell.resource.nameProperty ? cell.resource.nameProperty.value : ""
            elide: Text.ElideRight
            font.pointSize: 9
            color: "black"
        }
    }
}
