import QtQuick 2.12
import "qrc:/Widgets"

// A tab container with text, rectangle and image widgets on its tabs, laid out as
// the layout page does it: each child's item is parented to the page of its
// tab. The test that loads it sets "previewContainer" in the root context.
Rectangle {
    id: canvas
    width: 800
    height: 500
    color: "#333333"

    property alias tabContainerItem: tabContainer

    function componentFor(type) {
        var files = { "text": "TextWidget.qml", "rect": "RectangleWidget.qml", "image": "GeneralImage.qml" }
        return Qt.createComponent("qrc:/Widgets/" + files[type])
    }

    function addChildItems() {
        var children = previewContainer.widgetChildren
        for (var i = 0; i < children.count; ++i) {
            var child = children.get(i)
            var page = tabContainer.getContainer(previewContainer.getContainerLocation(child))
            var item = componentFor(child.type).createObject(page, { cppWidget: child })
            child.setQQuickItem(item, false)
        }
    }

    Item {
        id: page
        anchors.fill: parent
        anchors.margins: 40

        TabContainer {
            id: tabContainer
            cppWidget: previewContainer
            Component.onCompleted: previewContainer.setQQuickItem(tabContainer, false)
        }
    }

    Component.onCompleted: addChildItems()
}
