import QtQuick 2.12
import QtTest 1.12

// The views of a layout (thumbnail, test window, canvas) build its widget tree and follow its changes.
EditorPageTestCase {
    id: testCase
    name: "LayoutView"

    function makeView(layout, isTestWindow) {
        return create("qrc:/LayoutView.qml", { width: 400, height: 300, currentLayout: layout, isTestWindow: !!isTestWindow })
    }

    function itemOf(view, widget) {
        return view.createdItems.filter(function(item) { return item.cppWidget === widget })[0] || null
    }

    // A page with a tab container holding a label on its second tab, and a rectangle.
    function fillLayout() {
        layout = makeLayout(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.5, 0.5, 0.4, 0.4)
        var rect = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        var label = layout.createAndAddWidget("text", tabs, 1, 0.5, 0.5, 0.2, 0.2)
        layout.closeUndoBlock()
        return { tabs: tabs, rect: rect, label: label }
    }

    function test_buildsTheTreeAndFollowsDeleteAndUndoInEveryView() {
        var widgets = fillLayout()
        // The editor's canvas comes first among the layout's views; here the test
        // window's view registers before the thumbnail, as after a thumbnail is remade.
        layout.registerContentItem(createTemporaryQmlObject("import QtQuick 2.12; Item {}", testCase), true)
        var testWindowView = makeView(layout, true)
        var view = makeView(layout)
        compare([itemOf(view, widgets.rect).parent, itemOf(view, widgets.rect).runner], [view, true])
        fuzzyCompare(itemOf(view, widgets.rect).width, 80, 0.01)
        layout.selectionManager.setSelection(widgets.tabs)
        layout.deletePressed()
        compare([view.createdItems.length, testWindowView.createdItems.length], [1, 1])
        layout.undoPressed()
        for (var v of [view, testWindowView]) {
            compare(v.createdItems.length, 3)
            compare(itemOf(v, widgets.label).parent, itemOf(v, widgets.tabs).getContainer(1))
        }
    }

    function test_testWindowViewTakesItsLayoutLate() {
        fillLayout()
        var view = makeView(null, true)
        compare(view.createdItems.length, 0)
        view.currentLayout = layout
        compare(view.createdItems.length, 3)
    }

    function test_toolboxDropCreatesSelectsAndReachesTheThumbnailInOneUndoStep() {
        showPage(0, 0)
        var thumbnail = makeView(layout)
        compare(layout.getThumbnailContentItem(), thumbnail)
        // A drop outside every area creates nothing.
        drag(part("toolbox_rect"), 20, 25, 100, 25, 2)
        compare(layout.widgets.count, 0)
        dropFromToolbox("rect", 200, 150)
        var widget = layout.widgets.get(0)
        compare([layout.widgets.count, layout.selectionManager.selectionCount, widget.selected], [1, 1, true])
        fuzzyCompare(widgetItem(widget).x + widgetItem(widget).width / 2, 200, 2)
        compare([thumbnail.createdItems.length, thumbnail.createdItems[0].cppWidget], [1, widget])
        layout.undoPressed()
        compare([layout.widgets.count, thumbnail.createdItems.length, widgetItem(widget), layout.hasUndo],
                [0, 0, null, false])
    }

    function test_pastedContainerIsBuiltOnceInEveryView() {
        showPage(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.1, 0.1, 0.4, 0.4)
        layout.createAndAddWidget("text", tabs, 0, 0.1, 0.1, 0.3, 0.3)
        layout.closeUndoBlock()
        var index = page.layoutIndex
        page.layoutIndex = -1
        page.layoutIndex = index
        var thumbnail = makeView(layout)
        compare([page.dynamicallyCreatedItems.length, thumbnail.createdItems.length], [2, 2])
        layout.selectionManager.setSelection(tabs)
        layout.copyPressed()
        layout.pastePressed()
        compare([layout.widgets.count, page.dynamicallyCreatedItems.length, thumbnail.createdItems.length], [2, 4, 4])
    }
}
