import QtQuick 2.12
import QtQuick.Window 2.12
import QtTest 1.12

// Pages of the real application in a 1920 x 1080 window; any QML warning fails the test.
TestCase {
    id: testCase
    when: windowShown
    visible: true
    width: 1920
    height: 1080

    property var page: null
    property var layout: null
    property var window: null
    readonly property var config: _application.currentConfig

    function initTestCase() { qmlWarnings.start() }

    function init() {
        qmlWarnings.clear()
        _application.snapToGrid = false
        _application.snapSpacing = 5
        _application.aspectRatioIndex = 0
    }

    function cleanup() {
        var hadWindow = window !== null
        if (window || page)
            (window || page).destroy()
        // The window has no parent, so the collector may take it once nothing refers to it, and taken while it is
        // being destroyed it crashes: it stays referred to until it is gone.
        tryVerify(function() { return window === null }, 5000, "the window is gone")
        page = layout = window = null
        wait(0)
        // The keys of the next test go to the test's own window again.
        if (hadWindow) {
            testCase.Window.window.requestActivate()
            tryCompare(testCase.Window.window, "active", true)
        }
        compare(qmlWarnings.messages, [], "QML warnings")
    }

    function create(url, properties) {
        var component = Qt.createComponent(url)
        compare(component.status, Component.Ready, component.errorString())
        return createTemporaryObject(component, testCase, properties)
    }

    // A new config holding a layout "Page" with the given fixed ratio (0 for none).
    function makeLayout(ratio1, ratio2, orientation, desktop) {
        _application.createNewConfig()
        config.createNewLayout(true, "", desktop !== false, true, true, orientation || 0, true, "", ratio1 > 0,
                               ratio1 || 4, ratio2 || 3, "Page")
        for (var i = 0; config.layouts.get(i).name !== "Page"; ++i) {}
        return config.layouts.get(i)
    }

    function showPage(ratio1, ratio2, orientation, desktop) {
        layout = makeLayout(ratio1, ratio2, orientation, desktop)
        page = create("qrc:/LayoutEditorPage.qml", { width: testCase.width, height: testCase.height })
        page.layoutIndex = config.layouts.indexOf(layout)
        compare(page.currentLayout, layout)
        page.forceActiveFocus()
        waitForRendering(page)
    }

    // The page with a canvas 1000 pixels wide, a grid of 10 pixels and widgets at these fractions.
    function showWidgets(rects, type) {
        showPage(0, 0)
        page.zoomFactor = 1000 / 1024
        _application.snapSpacing = 1
        var widgets = rects.map(function(r) {
            return layout.createAndAddWidget(type || "rect", null, -1, r[0], r[1], r[2], r[3]) })
        layout.closeUndoBlock()
        page.rebuild()
        page.centreView()
        return widgets
    }

    // One widget shown as showWidgets shows it, and selected.
    function select(type, rect) {
        var widget = showWidgets([rect || [0.1, 0.1, 0.3, 0.3]], type)[0]
        layout.selectionManager.setSelection(widget)
        wait(0)
        return widget
    }

    // The program's main window over a new config, active, as a user meets it.
    // A file dialog that opens nothing.
    function standInDialog() {
        return createTemporaryQmlObject("import QtQml 2.12; QtObject { property url file; property url folder;"
                                        + " signal accepted(); signal rejected(); function open() {} }", testCase)
    }

    function showMainWindow(properties) {
        properties = properties || {}
        properties.quitApplication = function() {}
        window = Qt.createComponent("qrc:/MainWindow.qml").createObject(null, properties)
        window.requestActivate()
        tryCompare(window, "active", true)
        window.width = 1920
        window.height = 1080
        mouseClick(findChild(window.contentItem, "createButton"))
        tryCompare(window, "mainMenuEnabled", true)
    }

    // Goes to one of the main window's pages by its button.
    function openPage(buttonName, pageName) {
        mouseClick(findChild(window.contentItem, buttonName))
        page = findChild(window.contentItem, pageName)
        tryCompare(page, "visible", true)
        waitForRendering(page)
    }

    function part(name) {
        var found = findChild(page, name)
        verify(found !== null, name)
        return found
    }

    function canvas() { return part("editContent") }

    function drag(item, fromX, fromY, toX, toY, steps) {
        mousePress(item, fromX, fromY)
        for (var i = 1; i <= steps; ++i)
            mouseMove(item, fromX + (toX - fromX) * i / steps, fromY + (toY - fromY) * i / steps)
        mouseRelease(item, toX, toY)
        wait(0)
    }

    function dropFromToolbox(type, canvasX, canvasY) {
        var target = canvas().mapToItem(part("toolbox_" + type), canvasX, canvasY)
        drag(part("toolbox_" + type), 20, 25, target.x, target.y, 5)
    }

    function widgetItem(widget) {
        return page.dynamicallyCreatedItems.filter(function(item) { return item.cppWidget === widget })[0] || null
    }

    function row(name) {
        var rows = layout.selectionManager.currentSelectionProperties
        for (var i = 0; i < rows.count && rows.get(i).name !== name; ++i) {}
        verify(i < rows.count, "no property " + name)
        return rows.get(i)
    }

    function editor(name) { return part("propertyRow_" + name).focusItem }

    function type(field, text) {
        field.forceActiveFocus()
        field.selectAll()
        for (var key of text)
            keyClick(key)
    }
}
