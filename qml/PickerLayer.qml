import QtQuick 2.12

// The translucent layer a picker is shown on; a click beside the picker closes it.
Rectangle {
    id: layer

    signal outsideClicked()

    color: Qt.rgba(0, 0, 0, 0.2)
    visible: false
    z: 10

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onClicked: layer.outsideClicked()
        onWheel: wheel.accepted = true
    }
}
