import QtQuick 2.12
import QtTest 1.12

// Widgets on the canvas: dropping from the toolbox, selecting, dragging with
// snapping, the rubber band and the group overlay.
EditorPageTestCase {
    name: "EditorCanvas"

    function manager() { return layout.selectionManager }

    function test_toolboxDropCreatesAndSelectsOneUndoStep() {
        showPage(0, 0)
        dropFromToolbox("rect", 200, 100)
        compare(layout.widgets.count, 1)
        var widget = layout.widgets.get(0)
        compare(manager().selectionCount, 1)
        verify(widget.selected)
        var item = widgetItem(widget)
        verify(item !== null)
        fuzzyCompare(item.x + item.width / 2, 200, 2)
        layout.undoPressed()
        compare(layout.widgets.count, 0)
        verify(widgetItem(widget) === null)
    }

    function test_dropOutsideEveryAreaCreatesNothing() {
        showPage(0, 0)
        var entry = part("toolbox_rect")
        mousePress(entry, 20, 25)
        mouseMove(entry, 60, 25)
        mouseMove(entry, 100, 25)
        mouseRelease(entry, 100, 25)
        compare(layout.widgets.count, 0)
    }

    function test_clickingSelectsAndDeselects() {
        showPage(0, 0)
        var first = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        var second = layout.createAndAddWidget("rect", null, -1, 0.5, 0.5, 0.2, 0.2)
        page.rebuild()
        page.centreView()
        var firstItem = widgetItem(first)
        mouseClick(firstItem)
        compare(manager().selectionCount, 1)
        mouseClick(widgetItem(second), 5, 5, Qt.LeftButton, Qt.ControlModifier)
        compare(manager().selectionCount, 2)
        // One of several selected becomes the only one; the only one clicked again is deselected.
        mouseClick(firstItem)
        compare(manager().selectionCount, 1)
        verify(first.selected)
        mouseClick(firstItem)
        compare(manager().selectionCount, 0)
    }

    function test_dragSnapsToTheGrid_data() {
        return [ { tag: "134 to 130", to: 134, lands: 130 }, { tag: "135 to 140", to: 135, lands: 140 } ]
    }

    function test_dragSnapsToTheGrid(data) {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        _application.snapSpacing = 1
        _application.snapToGrid = true
        fuzzyCompare(canvas().width, 1000, 1e-6)
        var widget = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.1, 0.1)
        page.rebuild()
        page.centreView()
        var item = widgetItem(widget)
        var undoCountBefore = layout.hasUndo
        mousePress(canvas(), 105, 105)
        for (var i = 1; i <= 10; ++i)
            mouseMove(canvas(), 105 + (data.to - 100) * i / 10, 105)
        mouseRelease(canvas(), 105 + data.to - 100, 105)
        fuzzyCompare(widget.xFraction * 1000, data.lands, 0.01)
        // The whole drag is one undo step.
        layout.undoPressed()
        fuzzyCompare(widget.xFraction, 0.1, 1e-6)
    }

    function test_bandSelectsWhatItCovers() {
        showPage(0, 0)
        var inside = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.1, 0.1)
        var half = layout.createAndAddWidget("rect", null, -1, 0.25, 0.1, 0.1, 0.1)
        page.rebuild()
        page.centreView()
        var band = part("bandArea")
        var from = canvas().mapToItem(band, 0.05 * canvas().width, 0.05 * canvas().height)
        var to = canvas().mapToItem(band, 0.3 * canvas().width, 0.3 * canvas().height)
        mousePress(band, from.x, from.y)
        mouseMove(band, from.x + 20, from.y + 20)
        mouseMove(band, to.x, to.y)
        mouseRelease(band, to.x, to.y)
        verify(inside.selected)
        verify(!half.selected)
        mouseClick(band, from.x, from.y)
        compare(manager().selectionCount, 0)
    }

    function test_overlayHiddenWithoutSelection() {
        showPage(0, 0)
        var overlay = part("groupEditOverlay")
        verify(!overlay.visible)
        var widget = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        page.rebuild()
        page.centreView()
        manager().setSelection(widget)
        verify(overlay.visible)
        fuzzyCompare(overlay.width, 0.2 * canvas().width, 0.01)
    }

    function test_overlayDragSnapsToTenPixels_data() {
        return [ { tag: "34", to: 34, reports: 30 }, { tag: "35", to: 35, reports: 40 } ]
    }

    function test_overlayDragSnapsToTenPixels(data) {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        _application.snapSpacing = 1
        _application.snapToGrid = true
        var a = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.1, 0.1)
        var b = layout.createAndAddWidget("rect", null, -1, 0.3, 0.1, 0.1, 0.1)
        page.rebuild()
        page.centreView()
        manager().setSelection(a)
        manager().addToSelection(b)
        var overlay = part("groupEditOverlay")
        compare(overlay.x, 100)
        mousePress(canvas(), 250, 120)
        for (var i = 1; i <= 10; ++i)
            mouseMove(canvas(), 250 + (data.to - 100) * i / 10, 120)
        compare(overlay.x, data.reports)
        mouseRelease(canvas(), 250 + data.to - 100, 120)
        fuzzyCompare(a.xFraction * 1000, data.reports, 0.01)
        fuzzyCompare(b.xFraction * 1000, data.reports + 200, 0.01)
        layout.undoPressed()
        fuzzyCompare(a.xFraction, 0.1, 1e-6)
        fuzzyCompare(b.xFraction, 0.3, 1e-6)
    }

    function test_arrowKeysMoveToTheNextGridLine_data() {
        return [
            { tag: "left from 30", from: 30, key: "left", to: 20 },
            { tag: "right from 30", from: 30, key: "right", to: 40 },
            { tag: "left from 30.3", from: 30.3, key: "left", to: 20 }
        ]
    }

    function test_arrowKeysMoveToTheNextGridLine(data) {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        _application.snapSpacing = 1
        _application.snapToGrid = true
        var widget = layout.createAndAddWidget("rect", null, -1, data.from / 1000, 0.1, 0.1, 0.1)
        page.rebuild()
        page.centreView()
        manager().setSelection(widget)
        page[data.key]()
        fuzzyCompare(widget.xFraction * 1000, data.to, 0.01)
    }

    function test_rightHandleStopsAtThirtyPixels() {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        var widget = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        page.rebuild()
        page.centreView()
        manager().setSelection(widget)
        var handle = part("groupEditHandle4")
        var start = handle.mapToItem(canvas(), 5, 5)
        mousePress(canvas(), start.x, start.y)
        for (var i = 1; i <= 20; ++i)
            mouseMove(canvas(), start.x - 10 * i, start.y)
        mouseRelease(canvas(), start.x - 200, start.y)
        fuzzyCompare(widget.widthFraction * 1000, 30, 0.01)
        fuzzyCompare(widget.xFraction, 0.1, 1e-6)
    }

    function test_shiftCornerKeepsProportionsAndTheBottomEdge() {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        var widget = layout.createAndAddWidget("rect", null, -1, 0.2, 0.2, 0.2, 0.2)
        page.rebuild()
        page.centreView()
        manager().setSelection(widget)
        // A test cannot hold Shift while it moves the mouse, so the handle reports as a drag would.
        var handle = part("groupEditHandle0")
        var overlay = part("groupEditOverlay")
        manager().selectionTransformStartOrEnd(true)
        overlay.shiftHeld = true
        handle.x = -50
        handle.reportX()
        manager().selectionTransformStartOrEnd(false)
        // The left edge went out by 50 pixels: a factor of 1.25 on both sides, bottom fixed.
        fuzzyCompare(widget.widthFraction * 1000, 250, 0.5)
        fuzzyCompare(widget.heightFraction, 0.25, 1e-4)
        fuzzyCompare(widget.yFraction + widget.heightFraction, 0.4, 1e-4)
    }

    function test_clickOnTheFrameReachesTheWidgetBelow() {
        showPage(0, 0)
        var a = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.1, 0.1)
        var b = layout.createAndAddWidget("rect", null, -1, 0.3, 0.1, 0.1, 0.1)
        page.rebuild()
        page.centreView()
        manager().setSelection(a)
        manager().addToSelection(b)
        var item = widgetItem(b)
        mouseClick(item, item.width / 2, item.height / 2)
        compare(manager().selectionCount, 1)
        verify(b.selected)
    }
}
