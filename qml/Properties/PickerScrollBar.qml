import QtQuick 2.12
import QtQuick.Controls 2.12

// The pickers' scroll bar, always shown.
ScrollBar {
    id: bar

    policy: ScrollBar.AlwaysOn
    width: 10

    contentItem: Rectangle {
        implicitWidth: 10
        radius: 3
        color: bar.pressed ? "#CCCCCC" : "#5A5A5A"
    }
    background: Rectangle {
        radius: 4
        color: Qt.rgba(0, 0, 0, 0.5)
    }
}
