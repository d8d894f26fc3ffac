import QtQuick 2.12
import QtGraphicalEffects 1.12

// One tab button's picture from the image provider. It is first requested
// at 100 by 100 pixels and at its shown size a random moment after each
// resize, so that many buttons do not all reload at once. A pressed button
// darkens in the picture's shape.
Item {
    id: tabImage

    property string imageIdentifier
    // The tab container widget, whose image signals reload the picture.
    property QtObject widget: null
    // Whether this is the current tab's picture (else the other tabs').
    property bool currentTabPicture: false
    property bool cache: false
    property bool masked: false
    property color overlayColour: Qt.rgba(0, 0, 0, 0.2)

    function imageSource() {
        return "image://imageProvider/" + imageIdentifier
    }

    // A changed resource keeps its id, so the source is cleared and bound
    // again to load it anew.
    function reload() {
        picture.source = ""
        picture.source = Qt.binding(function() { return tabImage.imageSource() })
    }

    function restartResizeTimer() {
        resizeTimer.interval = 1000 * Math.random()
        resizeTimer.restart()
    }

    onWidthChanged: restartResizeTimer()
    onHeightChanged: restartResizeTimer()

    Image {
        id: picture
        anchors.fill: parent
        source: tabImage.imageSource()
        sourceSize: Qt.size(100, 100)
        cache: tabImage.cache
    }

    Timer {
        id: resizeTimer
        onTriggered: picture.sourceSize = Qt.size(tabImage.width, tabImage.height)
    }

    Connections {
        target: tabImage.widget
        ignoreUnknownSignals: true
        function onOffImageChanged() {
            if (!tabImage.currentTabPicture)
                tabImage.reload()
        }
        function onOnImageChanged() {
            if (tabImage.currentTabPicture)
                tabImage.reload()
        }
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
