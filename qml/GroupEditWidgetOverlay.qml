import QtQuick 2.12
import QtQml 2.14
import "Common"
import "EditorGeometry.js" as Geometry

// The frame around the selection: dragging it moves the selected widgets,
// its eight handles resize them (Shift on a corner keeps the proportions),
// and the arrow keys nudge them. Positions go to the selection manager as
// fractions of the canvas.
Item {
    id: overlay
    objectName: "groupEditOverlay"

    property QtObject layout: null
    property QtObject selectionManager: layout ? layout.selectionManager : null
    property Item editContentItem: null
    property bool shiftHeld: false
    property bool snapToGrid: false
    property real snapSizeHorizontal: 0
    property real snapSizeVertical: 0
    readonly property bool dragActive: body.drag.active
    property int handleDrags: 0
    // While anything is dragged the frame keeps its place and size, so that a
    // handle's position stays measured from where the drag began.
    readonly property bool frozen: dragActive || handleDrags > 0
    property bool disableXHandler: false
    property bool disableYHandler: false

    readonly property real canvasWidth: editContentItem ? editContentItem.width : 0
    readonly property real canvasHeight: editContentItem ? editContentItem.height : 0

    visible: width > 0

    function nudge(horizontal, direction) {
        if (!selectionManager || canvasWidth <= 0 || canvasHeight <= 0)
            return
        if (horizontal)
            selectionManager.incrementGroupEditOverlayX(
                        Geometry.nudgeDelta(x, snapSizeHorizontal, direction, snapToGrid) / canvasWidth)
        else
            selectionManager.incrementGroupEditOverlayY(
                        Geometry.nudgeDelta(y, snapSizeVertical, direction, snapToGrid) / canvasHeight)
    }

    function left() { nudge(true, -1) }
    function right() { nudge(true, 1) }
    function up() { nudge(false, -1) }
    function down() { nudge(false, 1) }

    onXChanged: {
        if (!dragActive || disableXHandler || !selectionManager)
            return
        if (snapToGrid) {
            var snapped = Geometry.snap(x, snapSizeHorizontal)
            selectionManager.setGroupEditOverlayX(snapped / canvasWidth, true)
            disableXHandler = true
            x = snapped
            disableXHandler = false
        } else {
            selectionManager.setGroupEditOverlayX(x / canvasWidth, true)
        }
    }

    onYChanged: {
        if (!dragActive || disableYHandler || !selectionManager)
            return
        if (snapToGrid) {
            var snapped = Geometry.snap(y, snapSizeVertical)
            selectionManager.setGroupEditOverlayY(snapped / canvasHeight, true)
            disableYHandler = true
            y = snapped
            disableYHandler = false
        } else {
            selectionManager.setGroupEditOverlayY(y / canvasHeight, true)
        }
    }

    MouseArea {
        id: body
        objectName: "groupEditBody"
        anchors.fill: parent
        drag.target: overlay
        drag.threshold: 2
        drag.smoothed: false
        propagateComposedEvents: true
        onPressed: {
            if (overlay.editContentItem)
                overlay.editContentItem.setFocus()
        }
        // A click belongs to the widget underneath, which selects and deselects.
        onClicked: mouse.accepted = false
        drag.onActiveChanged: {
            if (overlay.selectionManager)
                overlay.selectionManager.selectionTransformStartOrEnd(drag.active)
        }
    }

    // The selection as it is now, relative to the held frame.
    Item {
        id: liveFrame
        readonly property rect selection: overlay.selectionManager ? overlay.selectionManager.selectionRect
                                                                   : Qt.rect(0, 0, 0, 0)
        readonly property bool live: overlay.handleDrags > 0
        x: live ? overlay.canvasWidth * selection.x - overlay.x : 0
        y: live ? overlay.canvasHeight * selection.y - overlay.y : 0
        width: live ? overlay.canvasWidth * selection.width : overlay.width
        height: live ? overlay.canvasHeight * selection.height : overlay.height
    }

    DashedFrame {
        x: liveFrame.x
        y: liveFrame.y
        width: liveFrame.width
        height: liveFrame.height
    }

    Repeater {
        model: 8

        Rectangle {
            id: handle
            objectName: "groupEditHandle" + index

            // Column: 0 left, 1 centre, 2 right; row: 0 top, 1 middle, 2 bottom.
            readonly property int column: [0, 1, 2, 0, 2, 0, 1, 2][index]
            readonly property int row: [0, 0, 0, 1, 1, 2, 2, 2][index]
            readonly property bool corner: column !== 1 && row !== 1
            readonly property bool dragged: handleArea.drag.active
            property bool guard: false

            readonly property real restX: liveFrame.x + (column === 0 ? 0 : (column === 1 ? (liveFrame.width - 10) / 2
                                                                                           : liveFrame.width - 10))
            readonly property real restY: liveFrame.y + (row === 0 ? 0 : (row === 1 ? (liveFrame.height - 10) / 2
                                                                                    : liveFrame.height - 10))

            width: 10
            height: 10
            z: 1
            color: "lightgreen"
            border.color: "black"
            border.width: 1

            Binding on x { value: handle.restX; when: !handle.dragged; restoreMode: Binding.RestoreNone }
            Binding on y {
                value: handle.restY
                when: !handle.dragged || (handle.corner && overlay.shiftHeld) || handle.row === 1
                restoreMode: Binding.RestoreNone
            }

            function reportX() {
                var manager = overlay.selectionManager
                if (!manager || overlay.canvasWidth <= 0)
                    return
                var s = overlay.snapSizeHorizontal
                var keepProportions = corner ? overlay.shiftHeld : false
                if (column === 0) {
                    var newLeft = handle.x + overlay.x
                    if (overlay.snapToGrid) {
                        newLeft = Geometry.snap(overlay.x + handle.x, s)
                        if (overlay.x + overlay.width - newLeft < 20)
                            newLeft -= s
                        guard = true
                        handle.x = newLeft - overlay.x
                        guard = false
                    }
                    manager.setGroupEditOverlayLeft(newLeft / overlay.canvasWidth, keepProportions)
                } else {
                    var newWidth = handle.x + 10
                    if (overlay.snapToGrid) {
                        newWidth = Geometry.snap(overlay.x + handle.x + 10, s) - overlay.x
                        if (newWidth < 20)
                            newWidth += s
                        guard = true
                        handle.x = newWidth - 10
                        guard = false
                    }
                    manager.setGroupEditOverlayWidth(newWidth / overlay.canvasWidth, keepProportions)
                }
            }

            function reportY() {
                var manager = overlay.selectionManager
                if (!manager || overlay.canvasHeight <= 0)
                    return
                var s = overlay.snapSizeVertical
                if (row === 0) {
                    var newTop = handle.y + overlay.y
                    if (overlay.snapToGrid) {
                        newTop = Geometry.snap(overlay.y + handle.y, s)
                        if (overlay.y + overlay.height - newTop < 20)
                            newTop -= s
                        guard = true
                        handle.y = newTop - overlay.y
                        guard = false
                    }
                    manager.setGroupEditOverlayTop(newTop / overlay.canvasHeight)
                } else {
                    var newHeight = handle.y + 10
                    if (overlay.snapToGrid) {
                        newHeight = Geometry.snap(overlay.y + handle.y + 10, s) - overlay.y
                        if (newHeight < 20)
                            newHeight += s
                        guard = true
                        handle.y = newHeight - 10
                        guard = false
                    }
                    manager.setGroupEditOverlayHeight(newHeight / overlay.canvasHeight)
                }
            }

            onXChanged: {
                if (dragged && !guard && column !== 1)
                    reportX()
            }
            onYChanged: {
                if (dragged && !guard && row !== 1 && !(corner && overlay.shiftHeld))
                    reportY()
            }

            MouseArea {
                id: handleArea
                anchors.fill: parent
                drag.target: handle
                drag.threshold: 1
                drag.smoothed: false
                drag.axis: handle.row === 1 ? Drag.XAxis
                         : handle.column === 1 ? Drag.YAxis
                         : (overlay.shiftHeld ? Drag.XAxis : Drag.XAndYAxis)
                drag.minimumX: handle.column === 2 ? 20 : -100000
                drag.maximumX: handle.column === 0 ? overlay.width - 30 : 100000
                drag.minimumY: handle.row === 2 ? 20 : -100000
                drag.maximumY: handle.row === 0 ? overlay.height - 30 : 100000
                onPositionChanged: overlay.shiftHeld = (mouse.modifiers & Qt.ShiftModifier) !== 0
                onPressed: overlay.shiftHeld = (mouse.modifiers & Qt.ShiftModifier) !== 0
                drag.onActiveChanged: {
                    overlay.handleDrags += drag.active ? 1 : -1
                    if (overlay.selectionManager)
                        overlay.selectionManager.selectionTransformStartOrEnd(drag.active)
                }
            }
        }
    }
}
