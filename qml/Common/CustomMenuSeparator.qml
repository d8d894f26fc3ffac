import QtQuick 2.12
import QtQuick.Controls 2.12

MenuSeparator {
    topPadding: 4
    bottomPadding: 4
    leftPadding: 0
    rightPadding: 0

    contentItem: Rectangle {
        implicitWidth: 240
        implicitHeight: 1
        color: "#B2B2AE"
    }

    background: Rectangle {
        color: "black"
    }
}
