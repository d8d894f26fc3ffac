import QtQuick 2.12
import QtQuick.Controls 2.12

// The layout editor's toolbox: the generic widget types, a separator, then
// the network-bound ones; each is dragged onto the page to create a widget.
Rectangle {
    id: toolbox

    property Item editContentItem: null
    property QtObject currentLayout: null
    property Item testWindowLoaderItem: null
    property Item layoutEditorPageItem: null

    color: Qt.rgba(0.2, 0.2, 0.2, 1)

    Text {
        id: title
        textFormat: Text.PlainText
        x: 10
        height: 30
        text: "Toolbox"
        font.pointSize: 12
        color: "#B3B3B3"
        verticalAlignment: Text.AlignVCenter
    }

    Flickable {
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        contentHeight: column.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: column
            width: parent.width

            Repeater {
                model: _application.genericWidgets
                ToolboxDelegateItem {
                    objectName: "toolbox_" + widgetType
                    width: column.width
                    widgetName: model.qtObject.widgetName
                    widgetType: model.qtObject.widgetType
                    qmlUrl: model.qtObject.qmlUrl
                    editContentItem: toolbox.editContentItem
                    currentLayout: toolbox.currentLayout
                    testWindowLoaderItem: toolbox.testWindowLoaderItem
                    layoutEditorPageItem: toolbox.layoutEditorPageItem
                }
            }
            Rectangle {
                x: 10
                width: parent.width - 20
                height: 1
                color: "#4D4E4E"
            }
            Repeater {
                model: _application.allNonGenericWidgets
                ToolboxDelegateItem {
                    objectName: "toolbox_" + widgetType
                    width: column.width
                    widgetName: model.qtObject.widgetName
                    widgetType: model.qtObject.widgetType
                    qmlUrl: model.qtObject.qmlUrl
                    editContentItem: toolbox.editContentItem
                    currentLayout: toolbox.currentLayout
                    testWindowLoaderItem: toolbox.testWindowLoaderItem
                    layoutEditorPageItem: toolbox.layoutEditorPageItem
                }
            }
        }
    }
}
