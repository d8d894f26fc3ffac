import QtQuick 2.12

// The bar of the meter widgets: a dark housing holding a ladder of segments,
// lit from the bottom (or from the top) up to the level and dimmed beyond it.
Rectangle {
    id: bar

    // The lit part, 0 to 1.
    property real level: 0
    property bool fromTop: false
    // The colour of the segment at a height, 0 (bottom) to 1 (top).
    property var colourAt: function(position) { return "#3ddc84" }

    readonly property real padding: Math.max(1, Math.round(Math.min(width, height) * 0.12))
    readonly property real pitch: Math.max(3, Math.min(8, Math.round(width * 0.35)))
    readonly property int segmentCount: Math.max(1, Math.floor((height - 2 * padding + 1) / pitch))

    color: "#141414"
    border.color: "#050505"
    border.width: 1
    radius: Math.min(width, height) * 0.12

    Column {
        objectName: "segments"
        x: bar.padding
        y: bar.padding
        width: bar.width - 2 * bar.padding
        spacing: 1

        Repeater {
            model: bar.segmentCount

            Rectangle {
                // Segment 0 is the top one.
                readonly property real position: 1 - (index + 0.5) / bar.segmentCount
                readonly property bool lit: bar.fromTop ? 1 - position <= bar.level : position <= bar.level
                width: parent.width
                height: bar.pitch - 1
                radius: 1
                color: bar.colourAt(position)
                opacity: lit ? 1 : 0.18
            }
        }
    }
}
