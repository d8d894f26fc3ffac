import QtQuick 2.12
import "../EditorGeometry.js" as Geometry

// The editor's handle on one widget item: clicks select, drags move the
// selection (one undo step per drag), snapping to the canvas's grid.
MouseArea {
    id: overlay
    objectName: "editWidgetOverlay"

    property Item widget: null
    property QtObject cppWidget: null
    property QtObject layout: null
    property QtObject selectionManager: layout ? layout.selectionManager : null
    property Item editContent: null
    readonly property bool selected: cppWidget ? cppWidget.selected : false
    readonly property bool hovered: containsMouse
    readonly property bool dragActive: drag.active

    // Raised while the overlay puts the item back on the grid itself.
    property bool correcting: false

    hoverEnabled: true
    drag.target: widget
    drag.threshold: 2
    drag.smoothed: false

    onPressed: {
        if (editContent)
            editContent.setFocus()
    }

    onClicked: {
        if (!selectionManager)
            return
        var adding = (mouse.modifiers & (Qt.ControlModifier | Qt.ShiftModifier)) !== 0
        if (!selected) {
            if (adding)
                selectionManager.addToSelection(cppWidget)
            else
                selectionManager.setSelection(cppWidget)
        } else if (adding) {
            selectionManager.removeFromSelection(cppWidget)
        } else {
            selectionManager.setSelection(selectionManager.selectionCount === 1 ? null : cppWidget)
        }
    }

    onDragActiveChanged: {
        if (!selectionManager)
            return
        if (dragActive && !selected)
            selectionManager.setSelection(cppWidget)
        selectionManager.selectionTransformStartOrEnd(dragActive)
    }

    function follow(horizontal) {
        if (!dragActive || correcting || !editContent || !widget || !widget.parent || !selectionManager)
            return
        var origin = widget.mapToItem(editContent, 0, 0)
        var canvasSize = horizontal ? editContent.width : editContent.height
        var position = horizontal ? origin.x : origin.y
        if (editContent.snapToGrid) {
            position = Geometry.snap(position, horizontal ? editContent.snapSizeHorizontal
                                                          : editContent.snapSizeVertical)
            var local = widget.parent.mapFromItem(editContent, position, position)
            correcting = true
            if (horizontal)
                widget.x = local.x
            else
                widget.y = local.y
            correcting = false
        }
        if (horizontal)
            selectionManager.setGroupEditOverlayX(position / canvasSize, false)
        else
            selectionManager.setGroupEditOverlayY(position / canvasSize, false)
    }

    Connections {
        target: overlay.widget
        function onXChanged() { overlay.follow(true) }
        function onYChanged() { overlay.follow(false) }
    }
}
