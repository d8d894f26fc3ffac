import QtQuick 2.12
import ".."
import "PropertyInput.js" as Input

// One row of the property panel: the property's name and the editor that
// suits its type. Tab and Backtab move to the next and previous rows.
FocusScope {
    id: row

    property QtObject modelItem: null
    property QtObject currentLayout: null
    property Item repeater: null
    property QtObject colourPickerDialogObject: null
    property Item imagePickerItem: null
    property Item fontPickerItem: null
    property Item resourceEditorPageItem: null
    property Item editContentItem: null
    property Item nextItem: null
    property Item previousItem: null
    property bool hideCustomImageButton: false
    readonly property Item focusItem: editorLoader.item

    readonly property var groupType: modelItem ? modelItem.groupType : undefined
    readonly property bool ctrlHeld: editContentItem !== null && editContentItem.ctrlHeld === true

    height: groupType === Input.Type.TextBlock ? 150 : 30

    function focusEditor() {
        if (focusItem)
            focusItem.forceActiveFocus()
    }

    // The text block takes Tab as text and has no such signal.
    Connections {
        target: editorLoader.item
        ignoreUnknownSignals: true
        function onNavigate(forward) {
            var neighbour = forward ? row.nextItem : row.previousItem
            if (!row.ctrlHeld && neighbour)
                neighbour.focusEditor()
        }
    }

    Item {
        id: labelArea
        width: 125
        height: 30

        Text {
            textFormat: Text.PlainText
            anchors.fill: parent
            anchors.leftMargin: 6
            anchors.rightMargin: newImageButton.visible ? 24 : 0
            text: row.modelItem ? row.modelItem.name : ""
            font.pointSize: 11
            color: Qt.rgba(0.7, 0.7, 0.7, 1)
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }

        ToolbarButton {
            id: newImageButton
            objectName: "newImageButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            width: 20
            height: 20
            visible: row.groupType === Input.Type.Image && !row.hideCustomImageButton
            buttonEnabled: row.resourceEditorPageItem !== null
            source: buttonEnabled ? "qrc:/Images/Icon_NewImage.svg" : "qrc:/Images/Icon_NewImage_Disabled.svg"
            tooltipText: "New Image"
            onClicked: {
                newImageConnection.enabled = true
                row.resourceEditorPageItem.openFileDialogForNew()
            }
        }
    }

    Connections {
        id: newImageConnection
        target: row.resourceEditorPageItem
        enabled: false
        ignoreUnknownSignals: true
        function onNewResourceId(resourceId) {
            newImageConnection.enabled = false
            row.modelItem.value = resourceId
            if (row.currentLayout)
                row.currentLayout.closeUndoBlock()
        }
    }

    Loader {
        id: editorLoader
        x: labelArea.width + 10
        width: row.width - x - 4
        height: row.groupType === Input.Type.TextBlock ? 146 : 26
        y: 2
        focus: true
        sourceComponent: {
            switch (row.groupType) {
            case Input.Type.Combo: return comboEditor
            case Input.Type.TextBlock: return textBlockEditor
            case Input.Type.Colour: return colourEditor
            case Input.Type.Image: return imageEditor
            case Input.Type.Font: return fontEditor
            }
            return textEditor
        }
    }

    Component {
        id: textEditor
        PropertyTextField {
            objectName: "propertyTextField"
            cppProperty: row.modelItem
            undoInterface: row.currentLayout
        }
    }
    Component {
        id: textBlockEditor
        PropertyTextBlock {
            objectName: "propertyTextBlock"
            cppProperty: row.modelItem
            layout: row.currentLayout
        }
    }
    Component {
        id: comboEditor
        PropertyComboBox {
            objectName: "propertyComboBox"
            modelItem: row.modelItem
            layout: row.currentLayout
        }
    }
    Component {
        id: colourEditor
        PropertyColour {
            objectName: "propertyColour"
            cppObject: row.modelItem
            colourPicker: row.colourPickerDialogObject
        }
    }
    Component {
        id: imageEditor
        PropertyImage {
            objectName: "propertyImage"
            cppObject: row.modelItem
            imagePickerItem: row.imagePickerItem
            undoInterface: row.currentLayout
            currentLayout: row.currentLayout
        }
    }
    Component {
        id: fontEditor
        PropertyFont {
            objectName: "propertyFont"
            cppObject: row.modelItem
            fontPickerItem: row.fontPickerItem
            undoInterface: row.currentLayout
        }
    }
}
