import QtQuick 2.12
import QtTest 1.12

// What the editing page's tests share: a fresh config with one layout shown
// on the layout editor page in a 1920 x 1080 window, and no QML warnings.
TestCase {
    id: testCase

    when: windowShown
    visible: true
    width: 1920
    height: 1080

    property var page: null
    property var layout: null

    function initTestCase() {
        qmlWarnings.start()
    }

    // A new config holding one layout with the given fixed ratio (0 for none).
    function makeLayout(ratio1, ratio2, orientation, desktop) {
        _application.createNewConfig()
        var config = _application.currentConfig
        config.createNewLayout(true, "", desktop === undefined ? true : desktop, true, true,
                               orientation || 0, true, "", ratio1 > 0, ratio1 > 0 ? ratio1 : 4,
                               ratio2 > 0 ? ratio2 : 3, "Page")
        for (var i = 0; i < config.layouts.count; ++i) {
            if (config.layouts.get(i).name === "Page")
                return config.layouts.get(i)
        }
        return null
    }

    function showPage(ratio1, ratio2, orientation, desktop) {
        layout = makeLayout(ratio1, ratio2, orientation, desktop)
        var component = Qt.createComponent("qrc:/LayoutEditorPage.qml")
        compare(component.status, Component.Ready, component.errorString())
        page = createTemporaryObject(component, testCase, { width: testCase.width, height: testCase.height })
        page.layoutIndex = _application.currentConfig.layouts.indexOf(layout)
        compare(page.currentLayout, layout)
        page.forceActiveFocus()
        waitForRendering(page)
    }

    function init() {
        qmlWarnings.clear()
        _application.snapToGrid = false
        _application.snapSpacing = 5
        _application.aspectRatioIndex = 0
    }

    function cleanup() {
        if (page)
            page.destroy()
        page = null
        layout = null
        wait(0)
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function part(name) {
        var found = findChild(page, name)
        verify(found !== null, name)
        return found
    }

    function canvas() { return part("editContent") }

    // Drops a widget of the type from the toolbox at a point of the canvas.
    function dropFromToolbox(type, canvasX, canvasY) {
        var entry = part("toolbox_" + type)
        var target = canvas().mapToItem(entry, canvasX, canvasY)
        mousePress(entry, 20, 25)
        for (var i = 1; i <= 5; ++i)
            mouseMove(entry, 20 + (target.x - 20) * i / 5, 25 + (target.y - 25) * i / 5)
        mouseRelease(entry, target.x, target.y)
        wait(0)
    }

    function widgetItem(widget) {
        var items = page.dynamicallyCreatedItems
        for (var i = 0; i < items.length; ++i) {
            if (items[i].cppWidget === widget)
                return items[i]
        }
        return null
    }
}
