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
        textFormat: Text.PlainText
        anchors.fill: parent
        text: label.text
        color: "#d9d9d9"
        font.family: fontLoader.name
        // Fitting starts from the height: no larger size fits a line, and starting
        // higher only costs more tries on every layout.
        font.pixelSize: Math.max(minimumPixelSize, Math.ceil(height))
        minimumPixelSize: 1
        fontSizeMode: Text.Fit
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }
}
