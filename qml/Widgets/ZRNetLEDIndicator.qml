import QtQuick 2.12

// An indicator lamp, drawn unlit.
WidgetBase {
    id: led
    objectName: "zrnetLED"

    defaultWidthFraction: 0.035
    defaultHeightFraction: 0.065

    Image {
        objectName: "lamp"
        anchors.fill: parent
        fillMode: Image.PreserveAspectFit
        source: width >= 1 && height >= 1 ? "image://imageProvider/default_th_0_led_off_0:preserveAspectFit" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }
}
