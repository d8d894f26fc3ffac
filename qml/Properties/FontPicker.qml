import QtQuick 2.12
import QtQuick.Controls 2.12

// Lists the built-in fonts, each shown in itself; a click chooses one.
Rectangle {
    id: picker

    property string currentFontCode: ""
    // The editor the picker was opened for.
    property QtObject client: null

    signal closing(string newFontCode)

    color: Qt.rgba(0.2, 0.2, 0.2, 1)
    border.color: "black"
    border.width: 2

    // Every font is loaded while the picker exists.
    Repeater {
        model: _application.fontCodes
        Item {
            FontLoader { source: "qrc:/" + modelData }
        }
    }

    onCurrentFontCodeChanged: {
        var index = _application.fontCodes.indexOf(currentFontCode)
        if (index >= 0)
            list.positionViewAtIndex(index, ListView.Contain)
    }

    ListView {
        id: list
        objectName: "fontList"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: closeButton.top
        anchors.margins: 4
        clip: true
        model: _application.fontCodes
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: PickerScrollBar {}

        delegate: FontPickerDelegate {
            width: list.width
            fontCode: modelData
            fontPickerItem: picker
        }
    }

    PickerButton {
        id: closeButton
        objectName: "fontPickerClose"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 4
        onClicked: picker.closing(picker.currentFontCode)
    }
}
