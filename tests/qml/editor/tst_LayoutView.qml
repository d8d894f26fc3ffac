import QtQuick 2.12
import QtTest 1.12

EditorPageTestCase {
    id: testCase
    name: "LayoutView"

    function makeView(properties) {
        var component = Qt.createComponent("qrc:/LayoutView.qml")
        compare(component.status, Component.Ready, component.errorString())
        properties.width = 400
        properties.height = 300
        var view = createTemporaryObject(component, testCase, properties)
        verify(view !== null)
        return view
    }

    function itemOf(view, widget) {
        for (var i = 0; i < view.createdItems.length; ++i) {
            if (view.createdItems[i].cppWidget === widget)
                return view.createdItems[i]
        }
        return null
    }

    // A page with a rectangle and a tab container holding a label on its second tab.
    function fillLayout() {
        layout = makeLayout(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.5, 0.5, 0.4, 0.4)
        var rect = layout.createAndAddWidget("rect", null, -1, 0.1, 0.1, 0.2, 0.2)
        var label = layout.createAndAddWidget("text", tabs, 1, 0.5, 0.5, 0.2, 0.2)
        layout.closeUndoBlock()
        return { tabs: tabs, rect: rect, label: label }
    }

    function test_buildsTheWidgetTree() {
        var widgets = fillLayout()
        var view = makeView({ currentLayout: layout })
        compare(view.createdItems.length, 3)
        compare(itemOf(view, widgets.rect).parent, view)
        compare(itemOf(view, widgets.label).parent, itemOf(view, widgets.tabs).getContainer(1))
        verify(itemOf(view, widgets.rect).runner)
        fuzzyCompare(itemOf(view, widgets.rect).width, 80, 0.01)

    }

    function test_followsCreateAndDeleteRequests() {
        var widgets = fillLayout()
        // The editor's canvas comes first among the layout's views; here the test
        // window's view registers before the thumbnail, as after a thumbnail is remade.
        var canvasStandIn = createTemporaryQmlObject("import QtQuick 2.12; Item {}", testCase)
        layout.registerContentItem(canvasStandIn, true)
        var testWindowView = makeView({ currentLayout: layout, isTestWindow: true })
        var view = makeView({ currentLayout: layout })

        layout.selectionManager.setSelection(widgets.tabs)
        layout.deletePressed()
        compare(view.createdItems.length, 1)
        compare(testWindowView.createdItems.length, 1)
        layout.undoPressed()
        var views = [view, testWindowView]
        for (var i = 0; i < views.length; ++i) {
            compare(views[i].createdItems.length, 3)
            compare(itemOf(views[i], widgets.label).parent, itemOf(views[i], widgets.tabs).getContainer(1))
        }
    }

    function test_testWindowViewTakesItsLayoutLate() {
        var widgets = fillLayout()
        var view = makeView({ isTestWindow: true })
        compare(view.createdItems.length, 0)
        view.currentLayout = layout
        compare(view.createdItems.length, 3)
    }

    function test_toolboxDropReachesTheThumbnail() {
        showPage(0, 0)
        var thumbnail = makeView({ currentLayout: layout })
        compare(layout.getThumbnailContentItem(), thumbnail)
        dropFromToolbox("rect", 200, 150)
        compare(layout.widgets.count, 1)
        var widget = layout.widgets.get(0)
        verify(widget.selected)
        compare(thumbnail.createdItems.length, 1)
        compare(thumbnail.createdItems[0].cppWidget, widget)
        // One creation, one undo step, and every view lets the item go.
        layout.undoPressed()
        compare(layout.widgets.count, 0)
        compare(thumbnail.createdItems.length, 0)
        verify(!layout.hasUndo)
    }

    function test_pastedContainerIsBuiltOnceInEveryView() {
        showPage(0, 0)
        var tabs = layout.createAndAddWidget("tab_container", null, -1, 0.1, 0.1, 0.4, 0.4)
        layout.createAndAddWidget("text", tabs, 0, 0.1, 0.1, 0.3, 0.3)
        layout.closeUndoBlock()
        var index = page.layoutIndex
        page.layoutIndex = -1
        page.layoutIndex = index
        compare(page.dynamicallyCreatedItems.length, 2)
        var thumbnail = makeView({ currentLayout: layout })
        compare(thumbnail.createdItems.length, 2)
        layout.selectionManager.setSelection(tabs)
        layout.copyPressed()
        layout.pastePressed()
        compare(layout.widgets.count, 2)
        compare(page.dynamicallyCreatedItems.length, 4)
        compare(thumbnail.createdItems.length, 4)
    }
}
