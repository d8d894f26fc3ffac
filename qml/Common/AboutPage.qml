import QtQuick 2.12
import QtQuick.Controls 2.12
import "FontNotices.js" as FontNotices

// The About page of both front ends; "editor" picks the product line.
Rectangle {
    id: root

    property bool editor: true

    color: "#333333"
    visible: false

    // Escape closes the page as Close does; the keyboard stays on the page while it is shown.
    function takeFocus() {
        closeButton.forceActiveFocus(Qt.TabFocusReason)
    }

    onVisibleChanged: if (visible) takeFocus()
    Keys.onEscapePressed: visible = false

    // Swallows the clicks meant for the page below.
    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: wheel.accepted = true
    }

    Column {
        id: heading
        anchors.top: parent.top
        anchors.topMargin: 40
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(parent.width - 80, 720)
        spacing: 10

        Text {
            textFormat: Text.PlainText
            text: "About"
            font.pointSize: 22
            font.bold: true
            color: "#E6E6E6"
        }

        Text {
            objectName: "aboutVersionLine"
            textFormat: Text.PlainText
            text: (root.editor ? "Kelvari Editor " : "Kelvari App ") + _application.fullVersion
            font.pointSize: 14
            color: "#04FFC5"
        }

        Text {
            textFormat: Text.PlainText
            width: parent.width
            text: "Copyright \u00A9 Brelvan. All rights reserved. The fonts listed below are used under their own licences."
            wrapMode: Text.WordWrap
            font.pointSize: 11
            color: "#B3B3B3"
        }
    }

    Rectangle {
        id: noticeFrame
        anchors.top: heading.bottom
        anchors.topMargin: 20
        anchors.bottom: closeButton.top
        anchors.bottomMargin: 20
        anchors.horizontalCenter: parent.horizontalCenter
        width: heading.width
        color: "#262626"
        border.color: "#1A1A1A"
        border.width: 1
        radius: 3

        Flickable {
            id: noticeFlickable
            anchors.fill: parent
            anchors.margins: 12
            clip: true
            contentWidth: width
            contentHeight: noticeText.paintedHeight
            boundsBehavior: Flickable.StopAtBounds
            ScrollBar.vertical: ScrollBar { policy: ScrollBar.AlwaysOn }

            Text {
                id: noticeText
                objectName: "aboutNoticeText"
                textFormat: Text.PlainText
                width: noticeFlickable.width - 16
                text: FontNotices.text
                wrapMode: Text.Wrap
                font.pointSize: 10
                color: "#B3B3B3"
            }
        }
    }

    KelvariButton {
        id: closeButton
        objectName: "aboutCloseButton"
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 30
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Close"
        onClicked: root.visible = false
    }
}
