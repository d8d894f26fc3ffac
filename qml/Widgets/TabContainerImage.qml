import QtQuick 2.12
import QtGraphicalEffects 1.12

// One tab button's picture from the image provider. It is first requested
// at 100 by 100 pixels and at its shown size a random moment after each
// resize, so that many buttons do not all reload at once. A pressed button
// darkens in the picture's shape.
Item {
    id: tabImage

    // The picture's id and the picture now behind it, so that a changed picture is a new request.
    property string imageRequest
    property bool cache: false
    property bool masked: false
    property color overlayColour: Qt.rgba(0, 0, 0, 0.2)

    function restartResizeTimer() {
        resizeTimer.interval = 1000 * Math.random()
        resizeTimer.restart()
    }

    onWidthChanged: restartResizeTimer()
    onHeightChanged: restartResizeTimer()

    Image {
        id: picture
        objectName: "picture"
        anchors.fill: parent
        source: "image://imageProvider/" + tabImage.imageRequest
        sourceSize: Qt.size(100, 100)
        cache: tabImage.cache
    }

    Timer {
        id: resizeTimer
        onTriggered: picture.sourceSize = Qt.size(tabImage.width, tabImage.height)
    }

    Rectangle {
        id: overlay
        anchors.fill: parent
        visible: false
        color: tabImage.overlayColour
    }

    Loader {
        anchors.fill: parent
        active: tabImage.masked
        sourceComponent: OpacityMask {
            source: overlay
            maskSource: picture
        }
    }
}
