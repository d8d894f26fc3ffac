import QtQuick 2.12

// A fader: a slot between tick ladders, stretched to the item's height, with
// its cap at the unity mark.
WidgetBase {
    id: fader
    objectName: "zrnetFader"

    // Where the cap stands, from 0 (bottom) to 1 (top).
    property real position: 0.75

    defaultWidthFraction: 0.06
    defaultHeightFraction: 0.45

    // The cap keeps its drawing's proportions (32 by 20) and is twice as wide as the slot's drawing.
    readonly property real capWidth: Math.min(width, height / 4)
    readonly property real capHeight: capWidth * 20 / 32

    Image {
        id: track
        objectName: "track"
        anchors.horizontalCenter: parent.horizontalCenter
        width: fader.capWidth / 2
        height: fader.height
        source: width >= 1 && height >= 1 ? "image://imageProvider/default_gen_fader_1" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }

    Image {
        id: cap
        objectName: "cap"
        anchors.horizontalCenter: parent.horizontalCenter
        // The slot's ends lie 6 of the drawing's 160 units inside the track.
        readonly property real travelTop: fader.height * 6 / 160
        readonly property real travel: fader.height * 148 / 160
        y: travelTop + (1 - fader.position) * travel - height / 2
        width: fader.capWidth
        height: fader.capHeight
        source: width >= 1 && height >= 1 ? "image://imageProvider/default_th_0_fader_control_0:preserveAspectFit" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }
}
