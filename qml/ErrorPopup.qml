import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// Heading, reason and Ok; the Back and Escape keys act as Ok.
PopupBox {
    id: root

    property string headlineText
    property string failureReasonText

    signal okClicked()

    defaultButton: okButton
    Keys.onEscapePressed: okClicked()
    Keys.onBackPressed: okClicked()

    Text {
        id: headline
        objectName: "errorHeadline"
        textFormat: Text.PlainText
        anchors.top: parent.top
        anchors.topMargin: 16
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 32
        text: root.headlineText
        font.pointSize: 14
        font.bold: true
        color: "#E6E6E6"
        horizontalAlignment: Text.AlignHCenter
        elide: Text.ElideRight
    }

    Flickable {
        id: reasonArea
        anchors.top: headline.bottom
        anchors.topMargin: 10
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 32
        height: 75
        clip: true
        contentWidth: width
        contentHeight: Math.max(height, reason.paintedHeight)
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar { policy: reason.paintedHeight > reasonArea.height ? ScrollBar.AlwaysOn : ScrollBar.AsNeeded }

        Text {
            id: reason
            objectName: "errorReason"
            textFormat: Text.PlainText
            width: reasonArea.width
            height: Math.max(reasonArea.height, paintedHeight)
            text: root.failureReasonText
            font.pointSize: 12
            color: "#B3B3B3"
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
        }
    }

    KelvariButton {
        id: okButton
        objectName: "errorOkButton"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        anchors.horizontalCenter: parent.horizontalCenter
        width: 80
        height: 40
        text: "Ok"
        accent: true
        onClicked: root.okClicked()
    }
}
