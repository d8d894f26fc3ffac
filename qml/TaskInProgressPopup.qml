import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// What is under way, with an optional progress bar and an optional Cancel,
// which Escape and Back also request.
PopupBox {
    id: root

    property string text
    property real progress: 0
    property bool progressBarVisible: false
    property bool cancelAvailable: false

    signal requestCancelSignal()

    defaultButton: cancelButton
    onCancelAvailableChanged: if (visible) takeFocus()
    Keys.onEscapePressed: if (cancelAvailable) requestCancelSignal()
    Keys.onBackPressed: if (cancelAvailable) requestCancelSignal()

    Column {
        anchors.centerIn: parent
        width: parent.width
        spacing: 16

        Text {
            objectName: "taskInProgressText"
            textFormat: Text.PlainText
            anchors.horizontalCenter: parent.horizontalCenter
            width: parent.width - 32
            text: root.text
            font.pointSize: 18
            color: "#E6E6E6"
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
        }

        ProgressBar {
            id: bar
            objectName: "taskInProgressBar"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: root.progressBarVisible
            width: parent.width * 0.9
            height: 30
            value: root.progress

            background: Rectangle {
                color: "#1A1A1A"
                radius: 3
            }
            contentItem: Item {
                Rectangle {
                    width: bar.visualPosition * parent.width
                    height: parent.height
                    radius: 3
                    color: "#04FFC5"
                }
            }
        }

        KelvariButton {
            id: cancelButton
            objectName: "taskInProgressCancelButton"
            anchors.horizontalCenter: parent.horizontalCenter
            visible: root.cancelAvailable
            width: 120
            height: 40
            text: "Cancel"
            onClicked: root.requestCancelSignal()
        }
    }
}
