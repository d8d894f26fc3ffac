import QtQuick 2.12
import "EditorGeometry.js" as Geometry

// One widget type of the toolbox: its name and a small picture. Dragging it
// onto the page creates a widget of that type where it is dropped.
Item {
    id: entry

    property Item editContentItem: null
    property QtObject currentLayout: null
    property Item testWindowLoaderItem: null
    property Item layoutEditorPageItem: null
    property string widgetName: ""
    property string widgetType: ""
    property string qmlUrl: ""

    property Item dragItem: null

    height: 50

    Text {
        textFormat: Text.PlainText
        anchors.left: parent.left
        anchors.leftMargin: 10
        anchors.right: previewBox.left
        anchors.rightMargin: 6
        anchors.verticalCenter: parent.verticalCenter
        text: entry.widgetName
        font.pointSize: 11
        color: Qt.rgba(0.7, 0.7, 0.7, 1)
        elide: Text.ElideRight
    }

    Item {
        id: previewBox
        anchors.right: parent.right
        anchors.rightMargin: 20
        anchors.verticalCenter: parent.verticalCenter
        width: 40
        height: 40
        clip: true

        WidgetPreview {
            id: preview
            readonly property real ratio: defaultHeightFraction > 0 ? defaultWidthFraction / defaultHeightFraction : 1
            anchors.centerIn: parent
            width: ratio >= 1 ? 40 : 40 * ratio
            height: ratio >= 1 ? 40 / ratio : 40
            qmlUrl: entry.qmlUrl
        }
    }

    Component {
        id: dragItemComponent

        WidgetPreview {
            visible: false
            z: 100
            opacity: 0.8
        }
    }

    MouseArea {
        id: mouseArea
        anchors.fill: parent
        preventStealing: true

        property point pressPoint

        onPressed: {
            if (!entry.layoutEditorPageItem || !entry.editContentItem || !entry.currentLayout)
                return
            pressPoint = Qt.point(mouse.x, mouse.y)
            entry.dragItem = dragItemComponent.createObject(entry.layoutEditorPageItem, { qmlUrl: entry.qmlUrl })
            entry.dragItem.width = entry.dragItem.defaultWidthFraction * entry.editContentItem.width
            entry.dragItem.height = entry.dragItem.defaultHeightFraction * entry.editContentItem.height
            entry.placeDragItem(mouse.x, mouse.y)
        }

        onPositionChanged: {
            if (!entry.dragItem)
                return
            if (!entry.dragItem.visible && Math.abs(mouse.x - pressPoint.x) + Math.abs(mouse.y - pressPoint.y) > 4)
                entry.dragItem.visible = true
            entry.placeDragItem(mouse.x, mouse.y)
            entry.currentLayout.updateDropAreaHighlights(entry.dragItem,
                                                         entry.currentLayout.isWidgetTypeAContainer(entry.widgetType))
        }

        onReleased: entry.drop()
        onCanceled: entry.drop()
    }

    function placeDragItem(mouseX, mouseY) {
        var page = layoutEditorPageItem
        var canvas = editContentItem
        var inCanvas = entry.mapToItem(canvas, mouseX, mouseY)
        var topLeft
        if (canvas.snapToGrid)
            topLeft = canvas.mapToItem(page, Geometry.snapDown(inCanvas.x, canvas.snapSizeHorizontal),
                                       Geometry.snapDown(inCanvas.y, canvas.snapSizeVertical))
        else
            topLeft = canvas.mapToItem(page, inCanvas.x - dragItem.width / 2, inCanvas.y - dragItem.height / 2)
        dragItem.x = topLeft.x
        dragItem.y = topLeft.y
    }

    function drop() {
        if (!dragItem)
            return
        var item = dragItem
        dragItem = null
        var layout = currentLayout
        var area = item.visible ? layout.findDropArea(item, layout.isWidgetTypeAContainer(widgetType)) : null
        if (area) {
            var target = area.container
            var position = item.mapToItem(target, 0, 0)
            layout.closeUndoBlock()
            var widget = layout.createAndAddWidget(widgetType, area.cppWidget, area.containerLocation,
                                                   position.x / target.width, position.y / target.height,
                                                   item.width / target.width, item.height / target.height)
            layout.closeUndoBlock()
            layoutEditorPageItem.createWidgetItem(widget, target)
            if (layout.selectionManager)
                layout.selectionManager.setSelection(widget)
            // The layout manager's thumbnail and the test window show the new widget too.
            var thumbnail = layout.getThumbnailContentItem()
            if (thumbnail && !thumbnail.isTestWindow)
                thumbnail.addWidgetItem(widget)
            var testWindow = testWindowLoaderItem ? testWindowLoaderItem.item : null
            if (testWindow && testWindow.layoutView)
                testWindow.layoutView.addWidgetItem(widget)
            layout.assertValid()
        }
        layout.updateDropAreaHighlights(null, false)
        item.destroy()
    }
}
