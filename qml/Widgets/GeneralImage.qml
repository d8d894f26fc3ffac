import QtQuick 2.12

// A picture of the config, fetched from the image provider by resource id.
WidgetBase {
    id: generalImage
    objectName: "generalImage"

    property string imageIdentifier: "_default"
    // The id and the picture now behind it, as the widget asks the provider for it: a changed or
    // deleted picture makes a new request, which no cache has seen.
    property string imageRequest: "_default"
    // Drawn once per item, so that items resized together do not all ask the
    // provider for new renderings at the same moment.
    readonly property int resizeDelay: Math.floor(Math.random() * 1000)

    defaultWidthFraction: 0.2
    defaultHeightFraction: 0.2

    onWidthChanged: resizeTimer.restart()
    onHeightChanged: resizeTimer.restart()

    Image {
        id: picture
        objectName: "picture"
        anchors.fill: parent
        source: "image://imageProvider/" + generalImage.imageRequest
        sourceSize: Qt.size(100, 100)
        // In the layout editor every request reaches the provider, so edits show at once.
        cache: generalImage.runner
    }

    Timer {
        id: resizeTimer
        interval: generalImage.resizeDelay
        onTriggered: picture.sourceSize = Qt.size(generalImage.parentWidth, generalImage.parentHeight)
    }
}
