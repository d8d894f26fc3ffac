import QtQuick 2.12
import QtTest 1.12

// The main window's keys reach the layout editor it hosts: select all,
// delete, Tab, the arrows, undo and both redo keys.
TestCase {
    id: testCase
    name: "MainWindowEditorKeys"
    when: windowShown

    property var window: null

    function initTestCase() {
        qmlWarnings.start()
    }

    function cleanup() {
        if (window)
            window.destroy()
        window = null
        wait(0)
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function part(name) {
        var found = findChild(window.contentItem, name) || findChild(window.menuBar, name)
        verify(found !== null, name)
        return found
    }

    function openEditor() {
        var component = Qt.createComponent("qrc:/MainWindow.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = component.createObject(null, { quitApplication: function() {} })
        window.requestActivate()
        tryCompare(window, "active", true)
        mouseClick(part("createButton"))
        tryCompare(window, "mainMenuEnabled", true)
        mouseClick(part("layoutEditorButton"))
        tryCompare(part("layoutEditorPage"), "visible", true)
        var layout = part("layoutEditorPage").currentLayout
        verify(layout !== null)
        return layout
    }

    function test_editingKeysReachThePage() {
        var layout = openEditor()
        var page = part("layoutEditorPage")
        var first = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        layout.createAndAddWidget("text", null, -1, 0.5, 0.5, 0.2, 0.1)
        layout.closeUndoBlock()
        page.rebuild()
        verify(page.activeFocus)

        keyClick(Qt.Key_Tab)
        verify(first.selected)
        compare(layout.selectionManager.selectionCount, 1)

        _application.snapToGrid = false
        _application.snapSpacing = 5
        var before = first.xFraction
        keyClick(Qt.Key_Right)
        fuzzyCompare(first.xFraction, before + 0.05, 1e-6)

        keySequence("Ctrl+A")
        compare(layout.selectionManager.selectionCount, 2)
        keyClick(Qt.Key_Delete)
        compare(layout.widgets.count, 0)

        keySequence("Ctrl+Z")
        compare(layout.widgets.count, 2)
        keySequence("Ctrl+Shift+Z")
        compare(layout.widgets.count, 0)
        keySequence("Ctrl+Z")
        compare(layout.widgets.count, 2)
        keySequence("Ctrl+Y")
        compare(layout.widgets.count, 0)
    }
}
