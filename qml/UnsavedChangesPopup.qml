import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"

// Save, Discard or Cancel; Save is the default, Escape and Back mean Cancel.
PopupBox {
    id: root

    signal saveClicked()
    signal discardClicked()
    signal cancelClicked()

    defaultButton: saveButton
    Keys.onEscapePressed: cancelClicked()
    Keys.onBackPressed: cancelClicked()

    Text {
        id: headline
        textFormat: Text.PlainText
        anchors.top: parent.top
        anchors.topMargin: 16
        anchors.horizontalCenter: parent.horizontalCenter
        text: "Unsaved changes"
        font.pointSize: 14
        font.bold: true
        color: "#E6E6E6"
    }

    Text {
        textFormat: Text.PlainText
        anchors.top: headline.bottom
        anchors.bottom: buttons.top
        anchors.horizontalCenter: parent.horizontalCenter
        width: parent.width - 32
        text: "This configuration has unsaved changes.\nWhat would you like to do?"
        font.pointSize: 12
        color: "#B3B3B3"
        wrapMode: Text.Wrap
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
    }

    Row {
        id: buttons
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 14
        anchors.horizontalCenter: parent.horizontalCenter
        spacing: 12

        KelvariButton {
            id: saveButton
            objectName: "unsavedSaveButton"
            width: 110
            text: "Save"
            accent: true
            onClicked: root.saveClicked()
        }
        KelvariButton {
            objectName: "unsavedDiscardButton"
            width: 110
            text: "Discard"
            onClicked: root.discardClicked()
        }
        KelvariButton {
            objectName: "unsavedCancelButton"
            width: 110
            text: "Cancel"
            onClicked: root.cancelClicked()
        }
    }
}
