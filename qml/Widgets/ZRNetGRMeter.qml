import QtQuick 2.12

// A gain-reduction meter: an amber bar that grows down from the top.
WidgetBase {
    id: grMeter
    objectName: "zrnetGRMeter"

    property real reduction: 0.3

    defaultWidthFraction: 0.025
    defaultHeightFraction: 0.3

    ZRNetMeterBar {
        objectName: "bar"
        anchors.fill: parent
        level: grMeter.reduction
        fromTop: true
        colourAt: function(position) { return "#ff9f0a" }
    }
}
