import QtQuick 2.12
import QtQuick.Controls 2.12
import "PropertyInput.js" as Input
import "UndoKeys.js" as UndoKeys

// The one-line editor of a property. Each accepted change is written at once,
// except a whole number, which is written when the edit is finished (Return,
// focus leaving, the row going away), so that typing "10" never passes through
// "1". Finishing an edit closes the undo block.
TextField {
    id: field

    // Tab and Backtab: the row moves to its neighbour.
    signal navigate(bool forward)

    property QtObject cppProperty: null
    property QtObject undoInterface: null
    property bool rejected: false
    // An accepted whole number waiting for the end of the edit.
    property var pendingValue: undefined
    // A typed value was written and its undo step is still open.
    property bool written: false
    property bool updating: false

    readonly property var groupType: cppProperty ? cppProperty.groupType : undefined

    color: cppProperty && cppProperty.editable ? "#B3B3B3" : "#000000"
    font.pointSize: 11
    selectByMouse: true
    rightPadding: Input.checksInput(groupType) ? height + 8 : 6
    leftPadding: 6
    verticalAlignment: TextInput.AlignVCenter

    background: Rectangle {
        color: field.activeFocus ? "#1E1E1E" : "black"
        border.color: field.activeFocus ? "#04FFC5" : "#4D4E4E"
    }

    function showProperty() {
        updating = true
        text = cppProperty ? cppProperty.stringValue : ""
        updating = false
        rejected = false
        pendingValue = undefined
    }

    function bounds() {
        if (groupType === Input.Type.Int)
            return { low: cppProperty.lowIntBound(), high: cppProperty.highIntBound() }
        if (groupType === Input.Type.SizeFraction)
            return { low: cppProperty.lowFloatBound(), high: cppProperty.highFloatBound() }
        return null
    }

    function writePending() {
        if (pendingValue === undefined || !cppProperty)
            return
        var value = pendingValue
        pendingValue = undefined
        cppProperty.value = value
    }

    function commit() {
        writePending()
        written = false
        if (undoInterface)
            undoInterface.closeUndoBlock()
    }

    onCppPropertyChanged: showProperty()
    Component.onCompleted: showProperty()
    // The row goes before its property: the selection the number was typed for still gets it.
    Component.onDestruction: commit()

    onTextChanged: {
        if (updating || !cppProperty)
            return
        var result = Input.read(groupType, cppProperty.type === Input.Type.String || groupType === Input.Type.String,
                                text, bounds())
        rejected = result.rejected
        pendingValue = groupType === Input.Type.Int && !result.rejected ? result.value : undefined
        if (result.write) {
            updating = true
            cppProperty.value = result.value
            updating = false
            written = true
        }
    }

    onAccepted: commit()
    onActiveFocusChanged: {
        if (activeFocus)
            return
        commit()
        // What was written, not what was typed (a rejected text stays only while it is edited).
        showProperty()
    }

    Connections {
        target: field.cppProperty
        function onValueChanged() {
            if (!field.updating && field.pendingValue === undefined)
                field.showProperty()
        }
    }

    // The page asks before any change it starts (undo and redo among them, by key or by toolbar button) and
    // before a file action: the value typed becomes a step of its own, for the widgets it was typed for, ahead
    // of that change, and is there when unsaved changes are looked for.
    Connections {
        target: field.undoInterface
        ignoreUnknownSignals: true
        function onCommitRequest() {
            if (field.pendingValue !== undefined || field.written)
                field.commit()
        }
    }

    Keys.onShortcutOverride: {
        if (UndoKeys.action(event) !== "" || event.key === Qt.Key_Up || event.key === Qt.Key_Down)
            event.accepted = true
    }
    Keys.onPressed: {
        if (UndoKeys.handle(event, undoInterface))
            event.accepted = true
        else if (event.key === Qt.Key_Up || event.key === Qt.Key_Down)
            event.accepted = true
    }

    Text {
        objectName: "rejectedMark"
        textFormat: Text.PlainText
        anchors.right: parent.right
        anchors.rightMargin: 5
        anchors.verticalCenter: parent.verticalCenter
        visible: field.rejected && Input.checksInput(field.groupType)
        text: "!"
        color: "red"
        font.bold: true
        font.pixelSize: Math.max(10, field.height - 6)
    }
    Keys.onTabPressed: navigate(true)
    Keys.onBacktabPressed: navigate(false)
}
