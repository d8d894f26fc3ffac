import QtQuick 2.12
import QtQuick.Controls 2.13
import QtQuick.Window 2.12
import Qt.labs.platform 1.1 as Platform

// The config's images as a grid of thumbnails: add them from files, replace
// the picture of one, delete, undo and redo, and rename in the side pane.
Rectangle {
    id: page
    objectName: "resourceEditorPage"

    readonly property QtObject config: _application.currentConfig
    // 50 millimetres on this screen.
    readonly property real resourceItemWidth: Screen.pixelDensity * 50
    readonly property QtObject selectedResource: config.selectedResourceIndex >= 0
                                                 && config.selectedResourceIndex < config.resources.count
                                                 ? config.resources.get(config.selectedResourceIndex) : null
    property Item errorPopupItem: null
    // The dialog that chooses image files; tests put a stand-in here.
    property QtObject imageFileDialog: fileDialog
    readonly property int columns: Math.max(1, Math.floor((gridView.width - grid.spacing)
                                                          / (resourceItemWidth + grid.spacing)))

    signal newResourceId(string resourceId)

    color: "#333333"

    function closeUndoBlock() { config.resourceCloseUndoBlock() }
    function undoPressed() { config.resourceUndoPressed() }
    function redoPressed() { config.resourceRedoPressed() }

    function left() { moveSelection(-1) }
    function right() { moveSelection(1) }
    function up() { moveSelection(-columns) }
    function down() { moveSelection(columns) }

    function moveSelection(amount) {
        var index = config.selectedResourceIndex === -1 ? 0 : config.selectedResourceIndex + amount
        if (index < 0 || index > config.resources.count - 1)
            return
        config.selectedResourceIndex = index
        var top = Math.floor(index / columns) * (resourceItemWidth + grid.spacing)
        if (top < gridView.contentY)
            gridView.contentY = top
        else if (top + resourceItemWidth > gridView.contentY + gridView.height)
            gridView.contentY = top + resourceItemWidth - gridView.height
    }

    function openFileDialogForNew() {
        imageFileDialog.resourceId = ""
        imageFileDialog.fileMode = Platform.FileDialog.OpenFiles
        var folder = _application.lastImageFilePath
        imageFileDialog.folder = folder !== "" ? folder
                                               : Platform.StandardPaths.writableLocation(
                                                     Platform.StandardPaths.DocumentsLocation)
        imageFileDialog.open()
    }

    function openFileDialogForChange() {
        if (!selectedResource)
            return
        imageFileDialog.resourceId = selectedResource.resourceId
        imageFileDialog.fileMode = Platform.FileDialog.OpenFile
        imageFileDialog.open()
    }

    // The files chosen: added one by one as one undo step, or the first one
    // replacing the picture of the resource with that id.
    function imagesChosen(files, resourceId) {
        if (files.length === 0)
            return
        if (resourceId === "") {
            var failedBefore = false
            for (var i = 0; i < files.length; ++i) {
                var id = config.addNewImage(files[i])
                if (id === "") {
                    showFailure(failedBefore)
                    failedBefore = true
                } else if (i === 0) {
                    newResourceId(id)
                }
            }
            config.resourceCloseUndoBlock()
        } else if (!config.changeImage(files[0], resourceId)) {
            showFailure(false)
        }
        _application.setLastImageFilePath(files[0])
    }

    // A batch's later failures are added to the pop-up of its first; a
    // first failure never joins a pop-up that shows something else.
    function showFailure(sameBatch) {
        var popup = errorPopupItem
        if (!popup)
            return
        if (sameBatch && popup.visible) {
            popup.failureReasonText += "\n" + config.imageFailureString()
            return
        }
        popup.headlineText = "Image load failed"
        popup.failureReasonText = config.imageFailureString()
        popup.visible = true
        popup.okClicked.connect(failureAcknowledged)
    }

    function failureAcknowledged() {
        errorPopupItem.okClicked.disconnect(failureAcknowledged)
        errorPopupItem.visible = false
    }

    Platform.FileDialog {
        id: fileDialog

        // Empty to add new images, else the id of the resource whose picture is replaced.
        property string resourceId: ""

        title: "Select image"
        nameFilters: ["Images (*.jpeg *.jpg *.png *.svg)"]
    }

    Connections {
        target: page.imageFileDialog
        function onAccepted() { page.imagesChosen(page.imageFileDialog.files, page.imageFileDialog.resourceId) }
    }

    SplitView {
        anchors.fill: parent
        orientation: Qt.Horizontal

        handle: Rectangle {
            implicitWidth: 4
            color: SplitHandle.pressed ? "#5A5A5A" : "black"
        }

        Item {
            id: gridPart
            SplitView.fillWidth: true

            Row {
                id: toolbar
                anchors.top: parent.top
                anchors.right: parent.right
                anchors.topMargin: 2
                anchors.rightMargin: 2
                spacing: 1
                z: 1

                ToolbarButton {
                    objectName: "newImageButton"
                    width: 30
                    height: 30
                    tooltipText: "New Image"
                    source: "qrc:/Images/Icon_NewImage.svg"
                    onClicked: page.openFileDialogForNew()
                }
                ToolbarButton {
                    objectName: "changeImageButton"
                    width: 30
                    height: 30
                    tooltipText: "Change Image"
                    buttonEnabled: page.selectedResource !== null
                    source: buttonEnabled ? "qrc:/Images/Icon_ChangeImage.svg" : "qrc:/Images/Icon_ChangeImage_Off.svg"
                    onClicked: page.openFileDialogForChange()
                }
                ToolbarButton {
                    objectName: "deleteImageButton"
                    width: 30
                    height: 30
                    tooltipText: "Delete Image"
                    buttonEnabled: page.selectedResource !== null
                    source: buttonEnabled ? "qrc:/Images/Icon_DeleteImage.svg" : "qrc:/Images/Icon_DeleteImage_Off.svg"
                    onClicked: page.config.deleteImage(page.config.selectedResourceIndex)
                }
                ToolbarButton {
                    objectName: "resourceUndoButton"
                    width: 30
                    height: 30
                    tooltipText: "Undo"
                    buttonEnabled: page.config.hasResourceUndo
                    source: buttonEnabled ? "qrc:/Images/Icon_Undo.svg" : "qrc:/Images/Icon_Undo_Off.svg"
                    onClicked: page.undoPressed()
                }
                ToolbarButton {
                    objectName: "resourceRedoButton"
                    width: 30
                    height: 30
                    tooltipText: "Redo"
                    buttonEnabled: page.config.hasResourceRedo
                    source: buttonEnabled ? "qrc:/Images/Icon_Redo.svg" : "qrc:/Images/Icon_Redo_Off.svg"
                    onClicked: page.redoPressed()
                }
            }

            Text {
                objectName: "noResourcesText"
                textFormat: Text.PlainText
                anchors.centerIn: parent
                visible: page.config.resources.count === 0
                text: "No resources"
                font.pointSize: 12
                color: "#B3B3B3"
            }

            Flickable {
                id: gridView
                objectName: "resourceGrid"
                anchors.fill: parent
                anchors.topMargin: 35
                clip: true
                contentWidth: width
                contentHeight: grid.height
                boundsBehavior: Flickable.StopAtBounds

                ScrollBar.vertical: ScrollBar {
                    objectName: "resourceScrollBar"
                    width: 12
                    policy: gridView.contentHeight > gridView.height ? ScrollBar.AlwaysOn : ScrollBar.AlwaysOff
                    contentItem: Rectangle {
                        radius: 3
                        color: parent.pressed ? "#CCCCCC" : "#5A5A5A"
                    }
                    background: Rectangle {
                        color: Qt.rgba(0, 0, 0, 0.5)
                    }
                }

                Grid {
                    id: grid
                    anchors.horizontalCenter: parent.horizontalCenter
                    columns: page.columns
                    spacing: 20

                    Repeater {
                        model: page.config.resources

                        ResourceCell {
                            objectName: "resourceCell"
                            width: page.resourceItemWidth
                            height: page.resourceItemWidth
                            resource: model.qtObject
                            selected: index === page.config.selectedResourceIndex
                            // The keys come back from the Name field even when the selection stays.
                            onClicked: {
                                page.forceActiveFocus()
                                page.config.selectedResourceIndex = index
                            }
                        }
                    }
                }
            }
        }

        ResourcePropertyPane {
            objectName: "resourcePropertyPane"
            SplitView.preferredWidth: 250
            SplitView.minimumWidth: 200
            SplitView.maximumWidth: 400
            resource: page.selectedResource
            undoInterface: page
        }
    }
}
