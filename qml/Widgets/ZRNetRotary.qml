import QtQuick 2.12

// A rotary control: a knob over its scale, as large as the item allows,
// pointing straight up (the middle of its travel).
WidgetBase {
    id: rotary
    objectName: "zrnetRotary"

    // The pointer's angle from straight up, in degrees; the travel is 135 either side.
    property real angle: 0

    defaultWidthFraction: 0.08
    defaultHeightFraction: 0.15

    readonly property real side: Math.min(width, height)

    Image {
        id: scale
        objectName: "scale"
        anchors.centerIn: parent
        width: rotary.side
        height: rotary.side
        source: width >= 1 ? "image://imageProvider/default_gen_rotary_0:preserveAspectFit" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }

    Image {
        id: knob
        objectName: "knob"
        anchors.centerIn: parent
        width: rotary.side
        height: rotary.side
        rotation: rotary.angle
        smooth: true
        source: width >= 1 ? "image://imageProvider/default_th_0_rotary_pointer_0:preserveAspectFit" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }
}
