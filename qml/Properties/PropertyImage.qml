import QtQuick 2.12
import "PropertyInput.js" as Input

// An image property: the picture's name; a click or Return opens the image
// picker with the pictures that suit the selected widgets.
FocusScope {
    id: editor

    // Tab and Backtab: the row moves to its neighbour.
    signal navigate(bool forward)

    property QtObject cppObject: null
    property Item imagePickerItem: null
    property QtObject undoInterface: null
    property QtObject currentLayout: null

    readonly property bool multiple: cppObject ? cppObject.hasMultipleValues === true : false
    // The picture behind the value, found again whenever the list changes: it can be renamed, replaced or
    // deleted on the resource page while this row stays.
    readonly property QtObject resource: {
        var resources = _application.currentConfig.resourcesAndDefaults
        var id = cppObject ? cppObject.stringValue : ""
        for (var i = 0; i < resources.count; ++i) {
            if (resources.get(i).resourceId === id)
                return resources.get(i)
        }
        return null
    }

    function open() {
        if (!imagePickerItem || !cppObject)
            return
        imagePickerItem.client = editor
        var manager = currentLayout ? currentLayout.selectionManager : null
        imagePickerItem.setSelectionType(manager ? manager.currentSelectionType : "",
                                         Input.imageSubCategory(cppObject.name))
        imagePickerItem.currentImageId = cppObject.value
        imagePickerItem.show()
    }

    onActiveFocusChanged: {
        if (!activeFocus && imagePickerItem && imagePickerItem.client === editor)
            imagePickerItem.hide()
    }

    // Only the editor that opened the picker takes its choice.
    Connections {
        target: editor.imagePickerItem
        enabled: editor.imagePickerItem !== null && editor.imagePickerItem.client === editor
        function onClosing(imageId) {
            editor.imagePickerItem.client = null
            if (imageId !== undefined && imageId !== null && imageId !== "")
                editor.cppObject.value = imageId
            if (editor.undoInterface)
                editor.undoInterface.closeUndoBlock()
        }
    }

    Rectangle {
        anchors.fill: parent
        color: "black"
        border.color: editor.activeFocus ? "#04FFC5" : "#4D4E4E"
    }

    Text {
        objectName: "imageName"
        textFormat: Text.PlainText
        anchors.fill: parent
        anchors.margins: 4
        text: editor.multiple || !editor.cppObject ? ""
              : editor.resource ? editor.resource.nameProperty.value
              : _application.currentConfig.getResourceName(editor.cppObject.stringValue)
        font.pointSize: 11
        color: "#B3B3B3"
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideMiddle
    }

    MouseArea {
        anchors.fill: parent
        onClicked: {
            editor.forceActiveFocus()
            editor.open()
        }
    }

    Keys.onShortcutOverride: {
        if (event.key === Qt.Key_Up || event.key === Qt.Key_Down || event.key === Qt.Key_Left
                || event.key === Qt.Key_Right)
            event.accepted = true
    }
    Keys.onReturnPressed: open()
    Keys.onEnterPressed: open()
    Keys.onTabPressed: navigate(true)
    Keys.onBacktabPressed: navigate(false)
}
