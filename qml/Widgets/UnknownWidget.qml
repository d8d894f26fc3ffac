import QtQuick 2.12

// Shown for a widget type that has no component of its own.
WidgetBase {
    id: unknownWidget

    Rectangle {
        objectName: "plate"
        anchors.fill: parent
        color: "black"
        radius: 0.1 * width

        Text {
            objectName: "mark"
            textFormat: Text.PlainText
            anchors.centerIn: parent
            text: "?"
            color: "red"
            font.pixelSize: Math.max(1, Math.min(0.3 * unknownWidget.width, 0.3 * unknownWidget.height))
        }
    }
}
