import QtQuick 2.12

// A level meter: green up to the nominal level, then yellow, then red.
WidgetBase {
    id: meter
    objectName: "zrnetMeter"

    property real level: 0.62

    defaultWidthFraction: 0.025
    defaultHeightFraction: 0.45

    ZRNetMeterBar {
        objectName: "bar"
        anchors.fill: parent
        level: meter.level
        colourAt: function(position) {
            return position > 0.88 ? "#ff3b30" : position > 0.7 ? "#ffd60a" : "#32d74b"
        }
    }
}
