import QtQuick 2.12
import QtQuick.Window 2.12

// The frame of the main window's pop-ups: a 400 x 200 box over a dimmed
// background that swallows all mouse input. Children go into the box. While
// shown it holds the keyboard focus: Return and Enter press the default
// button unless the focused button took them.
Item {
    id: root

    default property alias content: box.data
    property alias box: box
    property Item defaultButton: null
    // Shown while the window lacked the keys (a file dialog closing): the focus is taken again once the
    // window has them, as a focus that only comes back with the window shows no frame.
    property bool focusAwaitsWindow: false

    // The default button takes the focus, framed as Tab would frame it, so
    // that it shows what Return presses; or the pop-up itself when it has none.
    function takeFocus() {
        if (defaultButton && defaultButton.visible && defaultButton.enabled) {
            defaultButton.forceActiveFocus(Qt.TabFocusReason)
            // A button that had the focus already keeps the reason it came by.
            defaultButton.focusReason = Qt.TabFocusReason
        } else {
            root.forceActiveFocus()
        }
    }

    function pressDefault() {
        if (defaultButton && defaultButton.visible && defaultButton.enabled)
            defaultButton.clicked()
    }

    anchors.fill: parent
    visible: false

    onVisibleChanged: {
        if (!visible)
            return
        takeFocus()
        focusAwaitsWindow = Window.activeFocusItem === null
    }
    Connections {
        target: root.focusAwaitsWindow ? root.Window.window : null
        function onActiveFocusItemChanged() {
            if (root.Window.activeFocusItem === null)
                return
            root.focusAwaitsWindow = false
            if (root.visible)
                root.takeFocus()
        }
    }
    Keys.onReturnPressed: pressDefault()
    Keys.onEnterPressed: pressDefault()

    Rectangle {
        anchors.fill: parent
        color: "black"
        opacity: 0.4
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.AllButtons
        hoverEnabled: true
        onWheel: wheel.accepted = true
    }

    Rectangle {
        id: box
        anchors.centerIn: parent
        width: 400
        height: 200
        color: "#333333"
        border.color: "black"
        border.width: 2
    }
}
