import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// The first page: start a new config, open one from a file or fetch one from a unit.
Rectangle {
    id: root

    signal newClickedSignal()
    signal loadClickedSignal()
    signal downloadClickedSignal()

    color: Qt.rgba(0, 0.02, 0.03, 1)

    Image {
        anchors.centerIn: parent
        height: parent.height
        width: parent.width
        fillMode: Image.PreserveAspectFit
        sourceSize.height: 1080
        source: "qrc:/initialPageBackground"
    }

    Image {
        anchors.horizontalCenter: parent.horizontalCenter
        anchors.bottom: band.top
        anchors.bottomMargin: 48
        height: 48
        fillMode: Image.PreserveAspectFit
        sourceSize.height: 96
        source: "qrc:/brandLogo"
    }

    Row {
        id: band
        anchors.centerIn: parent
        spacing: 24

        Repeater {
            model: [
                { "title": "Create", "subtitle": "new config", "name": "createButton" },
                { "title": "Load", "subtitle": "config from drive", "name": "loadButton" },
                { "title": "Download", "subtitle": "config from unit", "name": "downloadButton" }
            ]

            delegate: Button {
                id: button
                objectName: modelData.name
                width: 200
                height: 70
                hoverEnabled: true

                Keys.onReturnPressed: clicked()
                Keys.onEnterPressed: clicked()
                onClicked: {
                    if (index === 0)
                        root.newClickedSignal()
                    else if (index === 1)
                        root.loadClickedSignal()
                    else
                        root.downloadClickedSignal()
                }

                contentItem: Column {
                    spacing: 2
                    Text {
                        textFormat: Text.PlainText
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: modelData.title
                        font.pointSize: 18
                        font.bold: true
                        color: button.hovered ? "#04FFC5" : "#E6E6E6"
                    }
                    Text {
                        textFormat: Text.PlainText
                        anchors.horizontalCenter: parent.horizontalCenter
                        text: modelData.subtitle
                        font.pointSize: 11
                        color: "#B3B3B3"
                    }
                }

                background: Rectangle {
                    radius: 4
                    color: button.down ? "#0A1A1E" : Qt.rgba(0.07, 0.13, 0.15, 0.85)
                    border.width: button.hovered ? 2 : 1
                    border.color: button.hovered ? "#04FFC5" : "#2C4A50"

                    FocusFrame {
                        control: button
                        onAccent: button.hovered
                    }
                }
            }
        }
    }
}
