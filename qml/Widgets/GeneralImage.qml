import QtQuick 2.12

// A picture of the config, fetched from the image provider by resource id.
WidgetBase {
    id: generalImage
    objectName: "generalImage"

    property string imageIdentifier: "_default"
    // Drawn once per item, so that items resized together do not all ask the
    // provider for new renderings at the same moment.
    readonly property int resizeDelay: Math.floor(Math.random() * 1000)

    defaultWidthFraction: 0.2
    defaultHeightFraction: 0.2

    onWidthChanged: resizeTimer.restart()
    onHeightChanged: resizeTimer.restart()

    function sourceFor(identifier) {
        return "image://imageProvider/" + identifier
    }

    Image {
        id: picture
        objectName: "picture"
        anchors.fill: parent
        source: generalImage.sourceFor(generalImage.imageIdentifier)
        sourceSize: Qt.size(100, 100)
        // In the layout editor every request reaches the provider, so edits show at once.
        cache: generalImage.runner
    }

    Timer {
        id: resizeTimer
        interval: generalImage.resizeDelay
        onTriggered: picture.sourceSize = Qt.size(generalImage.parentWidth, generalImage.parentHeight)
    }

    Connections {
        target: generalImage.cppWidget
        ignoreUnknownSignals: true

        // The picture behind the same id changed: clearing the source makes the provider render it afresh.
        function onImageChanged() {
            picture.source = ""
            picture.source = Qt.binding(function() { return generalImage.sourceFor(generalImage.imageIdentifier) })
        }
    }
}
