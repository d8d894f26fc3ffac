import QtQuick 2.12
import QtQuick.Controls 2.12
import ".."
import "PropertyInput.js" as Input

// A grid of the pictures that suit the selected widgets, narrowed by theme
// and by on or off; a click chooses one.
Rectangle {
    id: picker

    property string currentImageId: ""
    property string currentSelectionType: ""
    property string currentSelectionTypeSubCategory: ""
    property int resourceItemWidth: 90
    property string filterPattern: ""
    // The editor the picker was opened for.
    property QtObject client: null
    property alias shownModel: filterModel

    signal closing(var newImageId)

    color: Qt.rgba(0.2, 0.2, 0.2, 1)
    border.color: "black"
    border.width: 2

    function setSelectionType(selectionType, subCategory) {
        currentSelectionType = selectionType
        currentSelectionTypeSubCategory = subCategory
        if (subCategory === "on")
            onOffBox.currentIndex = 0
        else if (subCategory === "off")
            onOffBox.currentIndex = 1
        setFilter()
    }

    function setFilter() {
        filterPattern = Input.imageFilterPattern(currentSelectionType, currentSelectionTypeSubCategory,
                                                 themeBox.currentIndex, onOffBox.currentIndex === 0 ? "on" : "off")
    }

    function scrollToCurrent() {
        for (var i = 0; i < filterModel.count; ++i) {
            if (filterModel.shownItems.get(i).model.qtObject.resourceId === currentImageId) {
                grid.positionViewAtIndex(i, GridView.Contain)
                return
            }
        }
    }

    onFilterPatternChanged: filterModel.refilter()
    onCurrentImageIdChanged: scrollToCurrent()

    FilterProxyModel {
        id: filterModel
        model: _application.currentConfig.resourcesAndDefaults
        filterAccepts: function(item) {
            return picker.filterPattern !== "" && new RegExp(picker.filterPattern).test(item.qtObject.resourceId)
        }
        delegate: ImagePickerDelegate {
            width: picker.resourceItemWidth
            height: picker.resourceItemWidth
            imagePickerItem: picker
            resourceId: model.qtObject.resourceId
            resourceName: model.qtObject.nameProperty ? model.qtObject.nameProperty.value : ""
            originalWidth: model.qtObject.originalWidth
            originalHeight: model.qtObject.originalHeight
        }
    }

    GridView {
        id: grid
        objectName: "imageGrid"
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.top: parent.top
        anchors.bottom: closeButton.top
        anchors.margins: 6
        clip: true
        cellWidth: picker.resourceItemWidth + 5
        cellHeight: picker.resourceItemWidth + 5
        model: filterModel
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: PickerScrollBar {}
    }

    KelvariComboBox {
        id: themeBox
        objectName: "themeComboBox"
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.margins: 4
        width: 130
        height: 40
        prefix: "Show:"
        model: ["Theme 1", "Theme 2", "Theme 3", "Theme 4", "Theme 5"]
        visible: ["image", "tab_container", "zrnet_grmeter", "zrnet_meter"].indexOf(picker.currentSelectionType) < 0
        onCurrentIndexChanged: picker.setFilter()
    }

    KelvariComboBox {
        id: onOffBox
        objectName: "onOffComboBox"
        anchors.left: themeBox.right
        anchors.bottom: parent.bottom
        anchors.margins: 4
        width: 130
        height: 40
        prefix: "Show:"
        model: ["On", "Off"]
        visible: picker.currentSelectionTypeSubCategory === "on" || picker.currentSelectionTypeSubCategory === "off"
        onCurrentIndexChanged: picker.setFilter()
    }

    PickerButton {
        id: closeButton
        objectName: "imagePickerClose"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 4
        onClicked: picker.closing(picker.currentImageId)
    }
}
