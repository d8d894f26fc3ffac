import QtQuick 2.12
import QtTest 1.12

EditorPageTestCase {
    id: testCase
    name: "ResourceEditorPage"

    readonly property var config: _application.currentConfig
    property QtObject dialog: null
    property Item popup: null

    Component {
        id: dialogComponent
        QtObject {
            property var files: []
            property string resourceId
            property int fileMode
            property url folder
            property int openCount: 0
            signal accepted()
            function open() { openCount += 1 }
        }
    }

    Component {
        id: popupComponent
        Item {
            property string headlineText
            property string failureReasonText
            visible: false
            signal okClicked()
        }
    }

    SignalSpy {
        id: newIdSpy
        signalName: "newResourceId"
    }

    function showResources() {
        _application.createNewConfig()
        dialog = createTemporaryObject(dialogComponent, testCase)
        popup = createTemporaryObject(popupComponent, testCase)
        var component = Qt.createComponent("qrc:/ResourceEditorPage.qml")
        compare(component.status, Component.Ready, component.errorString())
        page = createTemporaryObject(component, testCase, { width: testCase.width, height: testCase.height,
                                                            imageFileDialog: dialog, errorPopupItem: popup })
        newIdSpy.target = page
        newIdSpy.clear()
    }

    function cell(index) {
        var grid = part("resourceGrid").contentItem.children[0]
        for (var i = 0; i < grid.children.length; ++i) {
            if (grid.children[i].resource === config.resources.get(index))
                return grid.children[i]
        }
        return null
    }

    function choose(files) {
        dialog.files = files
        dialog.accepted()
        waitForRendering(page)
    }

    function test_emptyPageOffersOnlyNewImage() {
        showResources()
        verify(part("noResourcesText").visible)
        verify(part("newImageButton").buttonEnabled)
        var disabled = ["changeImageButton", "deleteImageButton", "resourceUndoButton", "resourceRedoButton"]
        for (var i = 0; i < disabled.length; ++i)
            verify(!part(disabled[i]).buttonEnabled, disabled[i])
        page.right()
        compare(config.selectedResourceIndex, -1)
    }

    function test_batchWithAnOversizedFileIsOneStep() {
        showResources()
        mouseClick(part("newImageButton"))
        compare(dialog.openCount, 1)
        compare(dialog.resourceId, "")
        choose([testImages.write("first.png", 40, 30), testImages.write("wide.png", 2049, 10),
                testImages.write("third.png", 10, 40)])
        compare(config.resources.count, 2)
        verify(popup.visible)
        compare(popup.headlineText, "Image load failed")
        compare(popup.failureReasonText, "Image wide.png is too wide.\nMax size is 2048x1080")
        compare(newIdSpy.count, 1)
        compare(newIdSpy.signalArguments[0][0], "0")
        verify(part("resourceUndoButton").buttonEnabled)
        mouseClick(part("resourceUndoButton"))
        compare(config.resources.count, 0)
        popup.okClicked()
        verify(!popup.visible)
    }

    function test_failuresOfABatchShareOnePopupOfTheirOwn() {
        showResources()
        popup.headlineText = "Failed to save file"
        popup.failureReasonText = "Disk full"
        popup.visible = true
        choose([testImages.write("a.png", 10, 2000), testImages.write("b.png", 3000, 10)])
        compare(popup.headlineText, "Image load failed")
        compare(popup.failureReasonText, "Image a.png is too tall.\nMax size is 2048x1080\n"
                                         + "Image b.png is too wide.\nMax size is 2048x1080")
        compare(newIdSpy.count, 0)
    }

    function test_arrowsMoveTheSelectionWithinTheGrid() {
        showResources()
        var files = []
        for (var i = 0; i < 12; ++i)
            files.push(testImages.write("img" + (i < 10 ? "0" : "") + i + ".png", 20, 20))
        choose(files)
        compare(config.resources.count, 12)
        page.right()
        compare(config.selectedResourceIndex, 0)
        page.left()
        compare(config.selectedResourceIndex, 0)
        page.down()
        compare(config.selectedResourceIndex, page.columns)
        page.up()
        compare(config.selectedResourceIndex, 0)
        // On a page one row high, the selection's row is scrolled into view.
        page.height = 300
        waitForRendering(page)
        var grid = part("resourceGrid")
        var rowStep = page.resourceItemWidth + 20
        page.down()
        compare(config.selectedResourceIndex, page.columns)
        fuzzyCompare(grid.contentY, rowStep + page.resourceItemWidth - grid.height, 0.01)
        page.up()
        compare(grid.contentY, 0)
        config.selectedResourceIndex = 11
        page.right()
        compare(config.selectedResourceIndex, 11)
        page.left()
        compare(config.selectedResourceIndex, 10)
    }

    function test_changeKeepsNameAndPlaceAndRenameIsUndoable() {
        showResources()
        choose([testImages.write("b.png", 20, 20), testImages.write("a.jpg", 20, 20)])
        mouseClick(cell(0), 50, 50)
        compare(config.selectedResourceIndex, 0)
        compare(page.selectedResource.nameProperty.value, "a.jpg")
        mouseClick(part("changeImageButton"))
        compare(dialog.resourceId, page.selectedResource.resourceId)
        choose([testImages.write("other.svg", 30, 30)])
        compare(config.selectedResourceIndex, 0)
        compare(page.selectedResource.nameProperty.value, "a.jpg")
        compare(page.selectedResource.originalWidth, 0)

        var field = part("resourceProperty_Name")
        field.forceActiveFocus()
        field.selectAll()
        keyClick(Qt.Key_X)
        field.focus = false
        compare(page.selectedResource.nameProperty.value, "x")
        page.undoPressed()
        compare(page.selectedResource.nameProperty.value, "a.jpg")
        mouseClick(part("deleteImageButton"))
        compare(config.resources.count, 1)
        compare(config.selectedResourceIndex, -1)
    }
}
