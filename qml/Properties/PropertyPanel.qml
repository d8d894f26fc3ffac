import QtQuick 2.12
import QtQuick.Controls 2.12

// The layout editor's property panel: the selection's type, then one row per
// property the selected widgets share.
Rectangle {
    id: panel

    property QtObject currentLayout: null
    property Item editContentItem: null
    property QtObject colourPickerDialogObject: null
    property Item imagePickerItem: null
    property Item fontPickerItem: null
    property Item resourceEditorPageItem: null

    readonly property QtObject selectionManager: currentLayout ? currentLayout.selectionManager : null
    readonly property int selectionCount: selectionManager ? selectionManager.selectionCount : 0
    readonly property string typeName: selectionManager ? _application.getWidgetName(selectionManager.currentSelectionType) : ""

    color: Qt.rgba(0.2, 0.2, 0.2, 1)

    // The row after (or before) a row, skipping hidden ones and wrapping round.
    function neighbour(index, step) {
        var count = rows.count
        for (var i = 1; i <= count; ++i) {
            var candidate = rows.itemAt(((index + step * i) % count + count) % count)
            if (candidate && candidate.visible)
                return candidate
        }
        return null
    }

    Text {
        id: title
        textFormat: Text.PlainText
        x: 10
        height: 30
        text: "Properties"
        font.pointSize: 12
        color: "#B3B3B3"
        verticalAlignment: Text.AlignVCenter
    }

    Flickable {
        id: flickable
        anchors.top: title.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        contentHeight: column.height
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Column {
            id: column
            width: flickable.width - 8
            spacing: 2
            visible: panel.selectionCount > 0

            Item {
                objectName: "typeRow"
                width: column.width
                height: 30

                Text {
                    textFormat: Text.PlainText
                    x: 6
                    width: 125 - 6
                    height: parent.height
                    text: "Type"
                    font.pointSize: 11
                    color: Qt.rgba(0.7, 0.7, 0.7, 1)
                    verticalAlignment: Text.AlignVCenter
                }
                Text {
                    objectName: "typeName"
                    textFormat: Text.PlainText
                    x: 135
                    width: parent.width - x - 4
                    height: parent.height
                    text: panel.typeName
                    font.pointSize: 11
                    color: "#B3B3B3"
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                }
            }

            Repeater {
                id: rows
                model: panel.selectionManager ? panel.selectionManager.currentSelectionProperties : null

                PropertyDelegateItem {
                    objectName: "propertyRow_" + (modelItem ? modelItem.name : "")
                    width: column.width
                    visible: modelItem ? modelItem.visible : false
                    modelItem: model.qtObject
                    currentLayout: panel.currentLayout
                    repeater: rows
                    colourPickerDialogObject: panel.colourPickerDialogObject
                    imagePickerItem: panel.imagePickerItem
                    fontPickerItem: panel.fontPickerItem
                    resourceEditorPageItem: panel.resourceEditorPageItem
                    editContentItem: panel.editContentItem
                    hideCustomImageButton: panel.typeName === "Chrom Meter"
                    nextItem: panel.neighbour(index, 1)
                    previousItem: panel.neighbour(index, -1)
                }
            }
        }
    }
}
