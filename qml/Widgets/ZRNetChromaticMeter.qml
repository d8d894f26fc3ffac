import QtQuick 2.12

// A colour-band meter: the level is told by colour, from blue at the bottom
// through green and yellow to red at the top.
WidgetBase {
    id: chromaticMeter
    objectName: "zrnetChromaticMeter"

    defaultWidthFraction: 0.025
    defaultHeightFraction: 0.45

    ZRNetMeterBar {
        objectName: "bar"
        anchors.fill: parent
        level: 1
        colourAt: function(position) { return Qt.hsla(0.66 * (1 - position), 0.9, 0.5, 1) }
    }
}
