import QtQuick 2.12

// A filled rectangle whose corner radius is a fraction of its width.
WidgetBase {
    id: rectangleWidget
    objectName: "rectangleWidget"

    property string colour: "#000000"
    property real cornerRadius: 0

    defaultWidthFraction: 0.2
    defaultHeightFraction: 0.2

    Rectangle {
        objectName: "fill"
        anchors.fill: parent
        color: rectangleWidget.colour
        radius: rectangleWidget.cornerRadius * width
    }
}
