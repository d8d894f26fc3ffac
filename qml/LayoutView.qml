import QtQuick 2.12

// A read-only rendering of one layout, as the layout manager's thumbnails
// and the test window show it. Its widget items are made from the widgets'
// own components and follow the layout's create and delete requests.
Rectangle {
    id: view
    objectName: "layoutView"

    property QtObject currentLayout: null
    property bool isTestWindow: false
    // False while the view is out of sight: it then makes no widget items
    // until it is first wanted, so that a page of many thumbnails shows at once.
    property bool itemsWanted: true
    // The widget items this view made, and no others.
    property var createdItems: []
    property bool completed: false
    property bool itemsMade: false

    // One component per widget type, kept while the view lives.
    property var components: ({})

    color: "white"

    function componentFor(type) {
        if (!components[type])
            components[type] = Qt.createComponent(_application.getQmlUrlForType(type))
        return components[type]
    }

    // Makes one item for the widget under the parent item; its children are not included.
    function createWidgetItem(widget, parentItem) {
        if (!widget || !parentItem) {
            console.warn("No parent item for a widget of layout " + (currentLayout ? currentLayout.name : ""))
            return null
        }
        var component = componentFor(widget.type)
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return null
        }
        var item = component.createObject(parentItem, { cppWidget: widget, runner: true })
        widget.setQQuickItem(item, false)
        createdItems.push(item)
        return item
    }

    // Where this view puts the widget's item: the view itself at the top level,
    // else the page of its container's item in this view. Found among the
    // view's own items, so it does not hang on the order in which views registered.
    function parentItemFor(widget) {
        for (var i = 0; i < createdItems.length; ++i) {
            var container = createdItems[i].cppWidget
            if (container && container.isContainer && container.getContainerLocation(widget) >= 0)
                return createdItems[i].getContainer(container.getContainerLocation(widget))
        }
        return view
    }

    // Makes the item of a widget just added to the layout; a view that has
    // made no items yet shows it when it makes them all.
    function addWidgetItem(widget) {
        return itemsMade ? createWidgetItem(widget, parentItemFor(widget)) : null
    }

    // Makes the widget's item and, inside a container, those of its children.
    function createWidgetTree(widget, parentItem) {
        var item = createWidgetItem(widget, parentItem)
        if (!item || !widget.isContainer)
            return
        var children = widget.widgetChildren
        for (var i = 0; i < children.count; ++i) {
            var child = children.get(i)
            createWidgetTree(child, item.getContainer(widget.getContainerLocation(child)))
        }
    }

    function destroyWidgetItems() {
        var items = createdItems
        createdItems = []
        for (var i = items.length - 1; i >= 0; --i)
            items[i].destroy()
    }

    function build() {
        destroyWidgetItems()
        itemsMade = false
        if (!currentLayout)
            return
        if (itemsWanted)
            makeItems()
        currentLayout.registerContentItem(view, false)
    }

    function makeItems() {
        var widgets = currentLayout.widgets
        for (var i = 0; i < widgets.count; ++i)
            createWidgetTree(widgets.get(i), view)
        itemsMade = true
    }

    // The test window sets its layout after making the view.
    onCurrentLayoutChanged: if (completed) build()
    onItemsWantedChanged: if (completed && itemsWanted && !itemsMade && currentLayout) makeItems()

    Component.onCompleted: {
        completed = true
        build()
    }

    Component.onDestruction: destroyWidgetItems()

    Connections {
        target: view.currentLayout

        function onCreateRequest(widget, parentItem, containerLocation) {
            view.addWidgetItem(widget)
        }

        function onDeleteRequest(item) {
            var index = view.createdItems.indexOf(item)
            if (index < 0)
                return
            view.createdItems.splice(index, 1)
            item.destroy()
        }
    }
}
