import QtQuick 2.12

// A font property: the font's family name; a click or Return opens the font
// picker, whose choice is written when it closes.
FocusScope {
    id: editor

    // Tab and Backtab: the row moves to its neighbour.
    signal navigate(bool forward)

    property QtObject cppObject: null
    property Item fontPickerItem: null
    property QtObject undoInterface: null

    readonly property bool multiple: cppObject ? cppObject.hasMultipleValues === true : false

    function open() {
        if (!fontPickerItem || !cppObject)
            return
        fontPickerItem.client = editor
        fontPickerItem.currentFontCode = cppObject.stringValue
        fontPickerItem.show()
    }

    onActiveFocusChanged: {
        if (!activeFocus && fontPickerItem && fontPickerItem.client === editor)
            fontPickerItem.hide()
    }

    // Only the editor that opened the picker takes its choice.
    Connections {
        target: editor.fontPickerItem
        enabled: editor.fontPickerItem !== null && editor.fontPickerItem.client === editor
        function onClosing(code) {
            editor.fontPickerItem.client = null
            if (code)
                editor.cppObject.value = code
            if (editor.undoInterface)
                editor.undoInterface.closeUndoBlock()
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "black"
        border.color: editor.activeFocus ? "#04FFC5" : "#4D4E4E"
    }

    Text {
        objectName: "fontName"
        textFormat: Text.PlainText
        anchors.fill: parent
        anchors.margins: 4
        text: editor.multiple || !editor.cppObject ? "" : _application.fontCodeToName(editor.cppObject.stringValue)
        font.pointSize: 11
        color: "#B3B3B3"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
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
