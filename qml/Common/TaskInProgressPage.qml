import QtQuick 2.12
import QtQuick.Controls 2.12

// A full page that says what is under way, with an optional progress bar and Cancel.
Rectangle {
    id: root

    property bool editor: true
    property string text
    property real progress: 0
    property bool progressBarVisible: false
    property bool cancelAvailable: false

    signal requestCancelSignal()

    gradient: editor ? null : backgroundGradient
    color: "#333333"
    focus: visible

    Gradient {
        id: backgroundGradient
        GradientStop { position: 0.0; color: Qt.rgba(0, 0.02, 0.03, 1) }
        GradientStop { position: 1.0; color: Qt.rgba(0.07, 0.13, 0.15, 1) }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        onWheel: wheel.accepted = true
    }

    Keys.onBackPressed: if (cancelAvailable) requestCancelSignal()
    Keys.onEscapePressed: if (cancelAvailable) requestCancelSignal()

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 480)
        spacing: 24

        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: root.text
            font.pointSize: 18
            color: "#E6E6E6"
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }

        ProgressBar {
            id: bar
            visible: root.progressBarVisible
            width: parent.width
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
            visible: root.cancelAvailable
            anchors.horizontalCenter: parent.horizontalCenter
            text: "Cancel"
            onClicked: root.requestCancelSignal()
        }
    }
}
