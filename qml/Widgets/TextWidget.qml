import QtQuick 2.12

// A static label: the text is drawn at the largest size that fits the item.
WidgetBase {
    id: textWidget

    property alias text: label.text
    property string textColour: Qt.rgba(0.7, 0.7, 0.7, 1)
    property int textAlignment: Text.AlignLeft
    property int minFontSize: 1
    property string textFont: "lato"
    property color backgroundColour: "transparent"
    property real cornerRadius: 0.0

    defaultWidthFraction: 0.2
    defaultHeightFraction: 0.1

    FontLoader {
        id: fontLoader
        source: "qrc:/" + textWidget.textFont
    }

    Loader {
        id: background
        objectName: "background"
        anchors.fill: parent
        active: textWidget.backgroundColour.a > 0
        sourceComponent: Rectangle {
            color: textWidget.backgroundColour
            radius: textWidget.cornerRadius * width
        }
    }

    Text {
        id: label
        objectName: "label"
        textFormat: Text.PlainText
        anchors.fill: parent
        text: "Text..."
        font.family: fontLoader.name
        color: textWidget.textColour
        horizontalAlignment: textWidget.textAlignment
        verticalAlignment: Text.AlignVCenter
        // Fitting starts from the height: no larger size fits a line, and starting
        // higher only costs more tries on every layout.
        font.pixelSize: Math.max(minimumPixelSize, Math.ceil(height))
        minimumPixelSize: textWidget.minFontSize
        fontSizeMode: Text.Fit
    }
}
