import QtQuick 2.12
import QtQuick.Shapes 1.12

// A ring drawn clockwise from the top: the right half over the first half of
// the duration, then the left half over the second; it starts again while running.
Item {
    id: root

    property int duration: 10000
    property bool running: false
    property real strokeWidth: 10
    property color strokeColor: "blue"

    property real rightSweep: 0
    property real leftSweep: 0

    implicitWidth: 100
    implicitHeight: 100

    readonly property real radius: Math.max(0, Math.min(width, height) / 2 - strokeWidth / 2)

    onRunningChanged: {
        if (!running) {
            rightSweep = 0
            leftSweep = 0
        }
    }

    SequentialAnimation {
        running: root.running
        loops: Animation.Infinite

        ScriptAction { script: { root.rightSweep = 0; root.leftSweep = 0 } }
        NumberAnimation { target: root; property: "rightSweep"; from: 0; to: 180; duration: root.duration / 2 }
        NumberAnimation { target: root; property: "leftSweep"; from: 0; to: 180; duration: root.duration / 2 }
    }

    Shape {
        anchors.fill: parent

        ShapePath {
            strokeColor: root.strokeColor
            strokeWidth: root.strokeWidth
            fillColor: "transparent"
            capStyle: ShapePath.FlatCap

            PathAngleArc {
                centerX: root.width / 2
                centerY: root.height / 2
                radiusX: root.radius
                radiusY: root.radius
                startAngle: -90
                sweepAngle: root.rightSweep
            }
        }

        ShapePath {
            strokeColor: root.strokeColor
            strokeWidth: root.strokeWidth
            fillColor: "transparent"
            capStyle: ShapePath.FlatCap

            PathAngleArc {
                centerX: root.width / 2
                centerY: root.height / 2
                radiusX: root.radius
                radiusY: root.radius
                startAngle: 90
                sweepAngle: root.leftSweep
            }
        }
    }
}
