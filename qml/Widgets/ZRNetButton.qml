import QtQuick 2.12

// A push button, drawn released.
WidgetBase {
    id: button
    objectName: "zrnetButton"

    defaultWidthFraction: 0.08
    defaultHeightFraction: 0.09

    Image {
        objectName: "face"
        anchors.fill: parent
        fillMode: Image.PreserveAspectFit
        source: width >= 1 && height >= 1 ? "image://imageProvider/default_th_0_btn_off_0:preserveAspectFit" : ""
        sourceSize: Qt.size(Math.ceil(width), Math.ceil(height))
    }
}
