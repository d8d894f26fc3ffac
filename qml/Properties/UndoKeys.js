.pragma library

// The undo and redo keys of the property editors: Ctrl+Z undoes, Ctrl+Shift+Z
// and Ctrl+Y redo (Command counts as Control on macOS). Returns "undo",
// "redo" or "" for any other key.
function action(event) {
    if (!(event.modifiers & Qt.ControlModifier))
        return ""
    if (event.key === Qt.Key_Z)
        return (event.modifiers & Qt.ShiftModifier) ? "redo" : "undo"
    if (event.key === Qt.Key_Y)
        return "redo"
    return ""
}

// Runs the action on the undo interface; true when the key was one of them.
function handle(event, undoInterface) {
    var what = action(event)
    if (what === "")
        return false
    if (undoInterface) {
        if (what === "undo")
            undoInterface.undoPressed()
        else
            undoInterface.redoPressed()
    }
    return true
}
