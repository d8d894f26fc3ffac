import QtQuick 2.12

// A dynamic label: a text the unit supplies, such as a channel's name.
WidgetBase {
    id: label
    objectName: "zrnetText"

    property string text: "Label"

    defaultWidthFraction: 0.16
    defaultHeightFraction: 0.06

    FontLoader {
        id: fontLoader
        source: "qrc:/lato"
    }

    Text {
        objectName: "label"
        anchors.fill: parent
        text: label.text
        color: "#d9d9d9"
        font.family: fontLoader.name
        font.pixelSize: 10000
        minimumPixelSize: 1
        fontSizeMode: Text.Fit
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
}
