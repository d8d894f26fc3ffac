import QtQuick 2.12

// A source selector: a drop-down box showing the chosen source.
WidgetBase {
    id: selector
    objectName: "zrnetSourceSelector"

    property string sourceName: "Source"

    defaultWidthFraction: 0.16
    defaultHeightFraction: 0.08

    FontLoader {
        id: fontLoader
        source: "qrc:/lato"
    }

    Rectangle {
        objectName: "box"
        anchors.fill: parent
        radius: Math.min(width, height) * 0.15
        border.color: "#5a5a5a"
        border.width: 1
        gradient: Gradient {
            GradientStop { position: 0; color: "#3c3c3c" }
            GradientStop { position: 1; color: "#232323" }
        }

        Text {
            objectName: "sourceName"
            textFormat: Text.PlainText
            anchors { left: parent.left; right: arrow.left; top: parent.top; bottom: parent.bottom }
            anchors.leftMargin: parent.height * 0.3
            anchors.topMargin: parent.height * 0.2
            anchors.bottomMargin: parent.height * 0.2
            text: selector.sourceName
            color: "#e0e0e0"
            font.family: fontLoader.name
            // Fitting starts from the height: no larger size fits a line, and starting
            // higher only costs more tries on every layout.
            font.pixelSize: Math.max(minimumPixelSize, Math.ceil(height))
            minimumPixelSize: 1
            fontSizeMode: Text.Fit
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }

        // A down-pointing chevron in the box's right end.
        Canvas {
            id: arrow
            objectName: "arrow"
            anchors { right: parent.right; rightMargin: parent.height * 0.25; verticalCenter: parent.verticalCenter }
            width: parent.height * 0.4
            height: width * 0.6
            onWidthChanged: requestPaint()
            onPaint: {
                var context = getContext("2d")
                context.reset()
                context.lineWidth = Math.max(1, width * 0.18)
                context.strokeStyle = "#bdbdbd"
                context.lineCap = "round"
                context.lineJoin = "round"
                var inset = context.lineWidth / 2
                context.beginPath()
                context.moveTo(inset, inset)
                context.lineTo(width / 2, height - inset)
                context.lineTo(width - inset, inset)
                context.stroke()
            }
        }
    }
}
