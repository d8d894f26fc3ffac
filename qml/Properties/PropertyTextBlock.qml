import QtQuick 2.12
import QtQuick.Controls 2.12
import "PropertyInput.js" as Input
import "UndoKeys.js" as UndoKeys

// The multi-line editor of a text block property: every change is written at
// once; leaving it, or the page asking before a change, closes the undo block.
// Tab is typed text here.
ScrollView {
    id: block

    property QtObject cppProperty: null
    property QtObject layout: null
    property alias textBlockAlias: textArea
    property bool updating: false
    // Typed text was written and its undo step is still open.
    property bool written: false

    clip: true

    function showProperty() {
        updating = true
        textArea.text = cppProperty ? cppProperty.stringValue : ""
        updating = false
    }

    function closeStep() {
        written = false
        if (layout)
            layout.closeUndoBlock()
    }

    onCppPropertyChanged: showProperty()
    Component.onCompleted: showProperty()
    Component.onDestruction: closeStep()

    // The page asks before any change it starts and before a file action: the text typed is a step of its own.
    Connections {
        target: block.layout
        ignoreUnknownSignals: true
        function onCommitRequest() {
            if (block.written)
                block.closeStep()
        }
    }

    Connections {
        target: block.cppProperty
        function onValueChanged() {
            if (!block.updating)
                block.showProperty()
        }
    }

    TextArea {
        id: textArea
        objectName: "textBlockArea"
        enabled: block.cppProperty ? block.cppProperty.editable : false
        horizontalAlignment: TextEdit.AlignLeft
        wrapMode: TextEdit.Wrap
        selectByMouse: true
        color: "#B3B3B3"
        font.pointSize: 11
        background: Rectangle {
            color: textArea.activeFocus ? "#1E1E1E" : "black"
            border.color: textArea.activeFocus ? "#04FFC5" : "#4D4E4E"
        }

        onTextChanged: {
            if (block.updating || !block.cppProperty)
                return
            if (block.cppProperty.groupType === Input.Type.TextBlock || text !== "") {
                block.updating = true
                block.cppProperty.value = text
                block.updating = false
                block.written = true
            }
        }
        onActiveFocusChanged: if (!activeFocus) block.closeStep()
        Keys.onShortcutOverride: if (UndoKeys.action(event) !== "") event.accepted = true
        Keys.onPressed: if (UndoKeys.handle(event, block.layout)) event.accepted = true
    }
}
