import QtQuick 2.12
import "qrc:/Widgets"

// The root context's "previewContainer" drawn as a layout page draws it: each text child on its tab's page.
Item {
    width: 800
    height: 500

    property alias tabContainerItem: tabContainer

    Item {
        anchors.fill: parent
        anchors.margins: 40

        TabContainer {
            id: tabContainer
            cppWidget: previewContainer
            Component.onCompleted: {
                previewContainer.setQQuickItem(tabContainer, false)
                for (var i = 0; i < previewContainer.widgetChildren.count; ++i) {
                    var child = previewContainer.widgetChildren.get(i)
                    var page = tabContainer.getContainer(previewContainer.getContainerLocation(child))
                    var item = Qt.createComponent("qrc:/Widgets/TextWidget.qml").createObject(page, { cppWidget: child })
                    child.setQQuickItem(item, false)
                }
            }
        }
    }
}
