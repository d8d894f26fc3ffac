import QtQuick 2.12
import QtTest 1.12

EditorPageTestCase {
    name: "LayoutEditorPage"

    function test_canvasSizeFollowsTheViewAtZoom_data() {
        return [
            { tag: "16:9", index: 1, width: 819.2, height: 460.8 },
            { tag: "3:4", index: 2, width: 614.4, height: 819.2 }
        ]
    }

    function test_canvasSizeFollowsTheViewAtZoom(data) {
        showPage(0, 0)
        compare(page.zoomFactor, 0.8)
        page.viewChosen(data.index)
        fuzzyCompare(canvas().width, data.width, 0.001)
        fuzzyCompare(canvas().height, data.height, 0.001)
        compare(_application.aspectRatioIndex, data.index)
    }

    function test_zoomStaysWithinItsRange() {
        showPage(0, 0)
        for (var i = 0; i < 40; ++i)
            part("zoomInButton").clicked()
        compare(page.zoomFactor, 3.0)
        for (var j = 0; j < 40; ++j)
            page.zoom(Qt.point(100, 100), -0.5)
        compare(page.zoomFactor, 0.1)
        mouseWheel(part("wheelArea"), 300, 300, 0, 120 * 40, Qt.NoButton, Qt.ControlModifier)
        compare(page.zoomFactor, 3.0)
    }

    function test_ctrlWheelKeepsThePointUnderTheMouse() {
        showPage(0, 0)
        var view = part("editView")
        var before = canvas().mapFromItem(view, 300, 200)
        var fx = before.x / canvas().width
        mouseWheel(part("wheelArea"), 300, 200, 0, 120, Qt.NoButton, Qt.ControlModifier)
        fuzzyCompare(page.zoomFactor, 0.9, 1e-6)
        var after = canvas().mapFromItem(view, 300, 200)
        fuzzyCompare(after.x / canvas().width, fx, 1e-3)
    }

    function test_gridSpacingSteps_data() {
        return [
            { tag: "up from 97", start: 97, button: "increaseGridButton", result: 99 },
            { tag: "up from 1", start: 1, button: "increaseGridButton", result: 5 },
            { tag: "up from 50", start: 50, button: "increaseGridButton", result: 55 },
            { tag: "down from 3", start: 3, button: "decreaseGridButton", result: 1 },
            { tag: "down from 99", start: 99, button: "decreaseGridButton", result: 95 },
            { tag: "down from 50", start: 50, button: "decreaseGridButton", result: 45 }
        ]
    }

    function test_gridSpacingSteps(data) {
        showPage(0, 0)
        _application.snapSpacing = data.start
        mouseClick(part(data.button))
        compare(_application.snapSpacing, data.result)
        compare(part("snapSpacingField").text, String(data.result))
    }

    function test_spacingFieldTakesOnlyOneToNinetyNine() {
        showPage(0, 0)
        var field = part("snapSpacingField")
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_0)
        compare(_application.snapSpacing, 5)
        keyClick(Qt.Key_Backspace)
        keyClick(Qt.Key_4)
        keyClick(Qt.Key_2)
        compare(_application.snapSpacing, 42)
        keyClick(Qt.Key_7)
        compare(field.text, "42")
    }

    function test_fixedRatioIsOfferedFirst() {
        showPage(5, 4)
        var combo = part("viewComboBox")
        compare(combo.count, 5)
        compare(combo.currentIndex, 0)
        compare(combo.displayText, "5:4")
        compare(page.viewRatio, 1.25)
        // A standard choice is remembered counted without the fixed ratio.
        page.viewChosen(3)
        compare(_application.aspectRatioIndex, 2)
    }

    function test_viewForPortraitTabletLayout() {
        showPage(0, 0, 1, false)
        compare(part("viewComboBox").currentIndex, 2)
        fuzzyCompare(canvas().width, 614.4, 0.001)
    }

    function test_toolbarEnablingFollowsTheLayout() {
        showPage(0, 0)
        verify(!part("cutButton").buttonEnabled)
        verify(!part("alignButton").buttonEnabled)
        verify(!part("undoButton").buttonEnabled)
        verify(!part("lightGridButton").buttonEnabled)
        mouseClick(part("showGridButton"))
        verify(page.gridShown)
        verify(part("lightGridButton").buttonEnabled)
    }

    function test_tooltipShowsAfterResting() {
        showPage(0, 0)
        var button = part("zoomInButton")
        mouseMove(button, 10, 10)
        verify(!button.tooltipShown)
        tryVerify(function() { return button.tooltipShown }, 2000)
        mouseMove(page, 5, 400)
        verify(!button.tooltipShown)
    }

    function test_panelWidthIsStoredWithinItsRange() {
        showPage(0, 0)
        _application.propertyPanelWidth = 300
        page.destroy()
        showPage(0, 0)
        var panel = part("propertyPanel")
        compare(panel.width, 300)
        var edge = panel.mapToItem(page, -2, 200)
        mousePress(page, edge.x, edge.y)
        for (var i = 1; i <= 10; ++i)
            mouseMove(page, edge.x - 15 * i, edge.y)
        mouseRelease(page, edge.x - 150, edge.y)
        compare(panel.width, 450)
        // Wider than 400 is shown but not kept; the last width within the range is.
        compare(_application.propertyPanelWidth, 390)
        mousePress(page, edge.x - 150, edge.y)
        for (var j = 1; j <= 10; ++j)
            mouseMove(page, edge.x - 150 + 20 * j, edge.y)
        mouseRelease(page, edge.x + 50, edge.y)
        compare(panel.width, 250)
        compare(_application.propertyPanelWidth, 250)
    }
}
