import QtQuick 2.12

// A colour property: a swatch over a checkerboard so that transparency shows,
// with the colour's text in white or black, whichever reads better. A click
// or Return opens the host's colour dialog for it.
FocusScope {
    id: editor

    // Tab and Backtab: the row moves to its neighbour.
    signal navigate(bool forward)

    property QtObject cppObject: null
    property QtObject colourPicker: null

    readonly property bool multiple: cppObject ? cppObject.hasMultipleValues === true : false
    readonly property color colour: cppObject ? cppObject.value : "transparent"

    function open() {
        if (!colourPicker || !cppObject)
            return
        colourPicker.open()
        colourPicker.color = cppObject.value
        colourPicker.target = cppObject
    }

    Image {
        anchors.fill: parent
        anchors.margins: 2
        source: "qrc:/Images/colourBackground.png"
        fillMode: Image.Tile
        sourceSize: Qt.size(20, 20)
        visible: !editor.multiple
    }

    Rectangle {
        anchors.fill: parent
        color: editor.multiple ? "transparent" : editor.colour
        border.width: 2
        border.color: editor.activeFocus ? Qt.rgba(1, 1, 1, 0.08) : "black"

        Text {
            objectName: "colourText"
            textFormat: Text.PlainText
            anchors.centerIn: parent
            visible: !editor.multiple
            text: editor.cppObject ? String(editor.cppObject.value) : ""
            font.pointSize: 11
            color: _application.getTextColourRatio("white", editor.colour) > 4.5 ? "white" : "black"
        }
    }

    MouseArea {
        anchors.fill: parent
        onClicked: {
            editor.forceActiveFocus()
            editor.open()
        }
    }

    Keys.onShortcutOverride: {
        if (event.key === Qt.Key_Up || event.key === Qt.Key_Down || event.key === Qt.Key_Left
                || event.key === Qt.Key_Right)
            event.accepted = true
    }
    Keys.onReturnPressed: open()
    Keys.onEnterPressed: open()
    Keys.onTabPressed: navigate(true)
    Keys.onBacktabPressed: navigate(false)
}
