import QtQuick 2.12
import "Common"

// One layout of the layout manager: a live view of the page, sized for its
// orientation and fitted to its aspect ratio, with its details over it.
Rectangle {
    id: thumbnail

    property QtObject layout: null
    property int layoutIndex: -1
    // The width of a landscape thumbnail; a portrait one is this high.
    property real layoutWidth: 100
    // Whether the thumbnail is within sight; its view makes its widget items the first time it is.
    property bool inView: true
    property bool seen: false

    readonly property bool portrait: layout !== null && layout.orientation === 1
    readonly property bool fixedRatio: layout !== null && layout.fixedAspectRatio
    readonly property real ratio: fixedRatio && layout.aspectRatio2 > 0 ? layout.aspectRatio1 / layout.aspectRatio2 : 1

    signal clicked(int layoutIndex)
    signal doubleClicked(int layoutIndex)
    signal detailsClicked(int layoutIndex)

    width: portrait ? 0.75 * layoutWidth : layoutWidth
    height: portrait ? layoutWidth : 0.75 * layoutWidth
    color: "transparent"
    border.width: 2
    border.color: layout !== null && layout.selected ? "#04FFC5" : "black"

    onInViewChanged: if (inView) seen = true
    Component.onCompleted: if (inView) seen = true

    function devicesText(layout) {
        if (layout.desktop && layout.phone && layout.tablet)
            return "All"
        return (layout.desktop ? "Desktop " : "") + (layout.phone ? "Phone " : "") + (layout.tablet ? "Tablet" : "")
    }

    function orientationText(orientation) {
        return orientation === 0 ? "All" : (orientation === 1 ? "Portrait only" : "Landscape only")
    }

    LayoutView {
        objectName: "thumbnailLayoutView"
        anchors.centerIn: parent
        width: (thumbnail.fixedRatio ? Math.min(thumbnail.height * thumbnail.ratio, thumbnail.width)
                                     : thumbnail.width) - 4
        height: (thumbnail.fixedRatio ? Math.min(thumbnail.width / thumbnail.ratio, thumbnail.height)
                                      : thumbnail.height) - 4
        clip: true
        currentLayout: thumbnail.layout
        itemsWanted: thumbnail.seen
    }

    // In front of the widgets, which only show the page here.
    MouseArea {
        anchors.fill: parent
        onClicked: thumbnail.clicked(thumbnail.layoutIndex)
        onDoubleClicked: thumbnail.doubleClicked(thumbnail.layoutIndex)
    }

    Rectangle {
        objectName: "detailsPanel"
        x: 2
        y: 2
        width: Math.min(details.implicitWidth + 12, thumbnail.width - 4)
        clip: true
        height: details.implicitHeight + 8
        color: Qt.rgba(0, 0, 0, 0.7)

        Column {
            id: details
            x: 6
            y: 4
            spacing: 1

            Grid {
                id: detailsGrid
                columns: 2
                columnSpacing: 2
                rowSpacing: 1

                Text { textFormat: Text.PlainText; text: "Name: "; color: "#B3B3B3"; font.pointSize: 8 }
                Text {
                    objectName: "nameValue"
                    textFormat: Text.PlainText
                    width: Math.min(implicitWidth, thumbnail.width - 70)
                    text: thumbnail.layout ? thumbnail.layout.name : ""
                    elide: Text.ElideRight
                    color: "white"
                    font.pointSize: 8
                    font.bold: true
                }
                Text { textFormat: Text.PlainText; text: "Users: "; color: "#B3B3B3"; font.pointSize: 8 }
                Text {
                    objectName: "usersValue"
                    textFormat: Text.PlainText
                    text: thumbnail.layout ? (thumbnail.layout.allUsers ? "All" : thumbnail.layout.users) : ""
                    color: "white"
                    font.pointSize: 8
                }
                Text { textFormat: Text.PlainText; text: "Devices: "; color: "#B3B3B3"; font.pointSize: 8 }
                Text {
                    objectName: "devicesValue"
                    textFormat: Text.PlainText
                    text: thumbnail.layout ? thumbnail.devicesText(thumbnail.layout) : ""
                    color: "white"
                    font.pointSize: 8
                }
                Text { textFormat: Text.PlainText; text: "Orientation: "; color: "#B3B3B3"; font.pointSize: 8 }
                Text {
                    objectName: "orientationValue"
                    textFormat: Text.PlainText
                    text: thumbnail.layout ? thumbnail.orientationText(thumbnail.layout.orientation) : ""
                    color: "white"
                    font.pointSize: 8
                }
                Text { textFormat: Text.PlainText; text: "Scenes: "; color: "#B3B3B3"; font.pointSize: 8 }
                Text {
                    objectName: "scenesValue"
                    textFormat: Text.PlainText
                    text: thumbnail.layout ? (thumbnail.layout.allScenes ? "All" : thumbnail.layout.scenes) : ""
                    color: "white"
                    font.pointSize: 8
                }
            }

            Rectangle {
                width: Math.max(detailsGrid.width, aspectRatioText.width)
                height: 1
                color: "#B3B3B3"
            }

            Text {
                id: aspectRatioText
                objectName: "aspectRatioValue"
                textFormat: Text.PlainText
                text: !thumbnail.layout ? "" : (thumbnail.layout.fixedAspectRatio
                                                ? "Fixed Aspect Ratio: " + thumbnail.layout.aspectRatio1 + ":"
                                                  + thumbnail.layout.aspectRatio2
                                                : "Stretch To Fit")
                color: "white"
                font.pointSize: 8
            }
        }
    }

    KelvariButton {
        objectName: "detailsButton"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 4
        width: 70
        height: 20
        font.pointSize: 9
        text: "Details"
        onClicked: thumbnail.detailsClicked(thumbnail.layoutIndex)
    }
}
