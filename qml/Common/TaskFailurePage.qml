import QtQuick 2.12
import QtQuick.Controls 2.12

// A full page that says what failed and why, with Ok.
Rectangle {
    id: root

    property bool editor: true
    property string text
    property string failureReasonText

    signal okClicked()

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

    Keys.onBackPressed: okClicked()
    Keys.onEscapePressed: okClicked()
    Keys.onReturnPressed: okClicked()
    Keys.onEnterPressed: okClicked()

    Column {
        anchors.centerIn: parent
        width: Math.min(parent.width - 40, 520)
        spacing: 20

        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: root.text
            font.pointSize: 18
            color: "#E6E6E6"
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }

        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: root.failureReasonText
            font.pointSize: 16
            color: "#B3B3B3"
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
        }

        KelvariButton {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 80
            text: "Ok"
            accent: true
            onClicked: root.okClicked()
        }
    }
}
