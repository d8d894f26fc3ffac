import QtQuick 2.12
import QtTest 1.12

EditorPageTestCase {
    id: testCase
    name: "ResourceEditorPage"

    property QtObject dialog: null
    property Item popup: null
    property var newIds: []

    Component {
        id: dialogComponent
        QtObject {
            property var files: []; property string resourceId; property int fileMode; property url folder
            property int openCount: 0; signal accepted(); function open() { openCount += 1 }
        }
    }

    Component {
        id: popupComponent
        Item { property string headlineText; property string failureReasonText; visible: false; signal okClicked() }
    }

    function showResources() {
        _application.createNewConfig()
        dialog = createTemporaryObject(dialogComponent, testCase)
        popup = createTemporaryObject(popupComponent, testCase)
        page = create("qrc:/ResourceEditorPage.qml", { width: testCase.width, height: testCase.height,
                                                       imageFileDialog: dialog, errorPopupItem: popup })
        newIds = []
        page.newResourceId.connect(function(id) { newIds.push(id) })
    }

    function choose(files) {
        dialog.files = files.map(function(f) { return testImages.write(f[0], f[1], f[2]) })
        dialog.accepted()
        waitForRendering(page)
    }

    function test_emptyPageOffersOnlyNewImage() {
        showResources()
        page.right()
        compare(["newImageButton", "changeImageButton", "deleteImageButton", "resourceUndoButton", "resourceRedoButton"]
                .map(function(name) { return part(name).buttonEnabled }).concat(part("noResourcesText").visible,
                config.selectedResourceIndex), [true, false, false, false, false, true, -1])
    }

    function test_aBatchIsOneStepAndItsFailuresShareOnePopupOfTheirOwn() {
        showResources()
        mouseClick(part("newImageButton"))
        compare([dialog.openCount, dialog.resourceId], [1, ""])
        choose([["first.png", 40, 30], ["wide.png", 2049, 10], ["third.png", 10, 40]])
        compare([config.resources.count, popup.visible, newIds, popup.headlineText, popup.failureReasonText],
                [2, true, ["0"], "Image load failed", "Image wide.png is too wide.\nMax size is 2048x1080"])
        mouseClick(part("resourceUndoButton"))
        compare(config.resources.count, 0)
        popup.okClicked()
        verify(!popup.visible)
        // A pop-up showing something else is taken over, and every failure of the batch is listed.
        ;[popup.headlineText, popup.failureReasonText, popup.visible, newIds] = ["Save failed", "Disk full", true, []]
        choose([["a.png", 10, 2000], ["b.png", 3000, 10]])
        compare([popup.headlineText, popup.failureReasonText, newIds], ["Image load failed", "Image a.png is too tall."
                 + "\nMax size is 2048x1080\nImage b.png is too wide.\nMax size is 2048x1080", []])
    }

    function test_arrowsMoveTheSelectionWithinTheGrid() {
        showResources()
        choose(Array.apply(null, Array(12)).map(function(u, i) { return ["img" + (100 + i) + ".png", 20, 20] }))
        // On a page one row high, the selection's row is scrolled into view.
        page.height = 300
        waitForRendering(page)
        var grid = part("resourceGrid")
        var moves = [["right", 0], ["left", 0], ["down", page.columns], ["up", 0]].map(function(move) {
            page[move[0]]()
            return [config.selectedResourceIndex, grid.contentY]
        })
        var scrolled = page.resourceItemWidth + 20 + page.resourceItemWidth - grid.height
        compare(moves, [[0, 0], [0, 0], [page.columns, scrolled], [0, 0]])
        config.selectedResourceIndex = 11
        compare(["right", "left"].map(function(key) { page[key](); return config.selectedResourceIndex }), [11, 10])
    }

    function test_changeKeepsNameAndPlaceAndRenameIsUndoable() {
        showResources()
        choose([["b.png", 20, 20], ["a.jpg", 20, 20]])
        mouseClick(Array.prototype.filter.call(part("resourceGrid").contentItem.children[0].children, function(cell) {
            return cell.resource === config.resources.get(0) })[0], 50, 50)
        compare([config.selectedResourceIndex, page.selectedResource.nameProperty.value], [0, "a.jpg"])
        mouseClick(part("changeImageButton"))
        compare(dialog.resourceId, page.selectedResource.resourceId)
        choose([["other.svg", 30, 30]])
        compare([config.selectedResourceIndex, page.selectedResource.nameProperty.value,
                 page.selectedResource.originalWidth], [0, "a.jpg", 0])
        type(part("resourceProperty_Name"), "x")
        part("resourceProperty_Name").focus = false
        compare(page.selectedResource.nameProperty.value, "x")
        page.undoPressed()
        compare(page.selectedResource.nameProperty.value, "a.jpg")
        mouseClick(part("deleteImageButton"))
        compare([config.resources.count, config.selectedResourceIndex], [1, -1])
    }
}
