import QtQuick 2.12
import QtQml 2.14
import QtQuick.Controls 2.13
import QtQuick.Dialogs 1.3
import "Common"
import "Properties"
import "EditorGeometry.js" as Geometry

// The page on which one layout is edited: the toolbar, the toolbox, the
// canvas with its widgets, grid and selection frame, and the property panel.
// No focus scope: forceActiveFocus() must give the keys to the page itself,
// not back to the field that had them last.
Item {
    id: page
    objectName: "layoutEditorPage"

    property int layoutIndex: -1
    readonly property var currentLayout: {
        var layouts = _application.currentConfig.layouts
        return layoutIndex >= 0 && layoutIndex < layouts.count ? layouts.get(layoutIndex) : null
    }
    property var dynamicallyCreatedItems: []
    property rect testWindowRect
    property string previousUnitIpAddress: ""
    property string previousUnitName: ""
    property int topBarHeight: 30
    property Item resourceEditorPageItem: null

    property bool gridShown: false
    property bool lightGrid: false
    property var viewChoices: Geometry.viewChoices(currentLayout)
    property int viewIndex: 0
    readonly property real viewRatio: viewChoices[Math.min(viewIndex, viewChoices.length - 1)].ratio
    property alias zoomFactor: editContent.zoomFactor
    readonly property bool testWindowOpen: testWindowLoader.active
    readonly property QtObject selectionManager: currentLayout ? currentLayout.selectionManager : null

    property alias editContentItem: editContent
    property alias buttonBarItem: buttonBar
    property alias groupEditOverlayItem: groupOverlay
    property alias imagePickerItem: imagePicker
    property alias fontPickerItem: fontPicker
    property alias colourDialogItem: colourDialog

    signal closePopups()

    onClosePopups: {
        colourDialog.close()
        fontPickerLayer.hide()
        imagePickerLayer.hide()
        buttonBar.alignMenu.close()
        buttonBar.orderMenu.close()
    }

    function left() { groupOverlay.left() }
    function right() { groupOverlay.right() }
    function up() { groupOverlay.up() }
    function down() { groupOverlay.down() }

    // Builds the editor's item for a widget in the parent item; its children are not included.
    function createWidgetItem(widget, parentItem) {
        var component = Qt.createComponent(_application.getQmlUrlForType(widget.type))
        if (component.status !== Component.Ready) {
            console.warn(component.errorString())
            return null
        }
        var item = component.createObject(parentItem, { cppWidget: widget, layout: currentLayout, editor: true,
                                                        editContent: editContent })
        widget.setQQuickItem(item, true)
        dynamicallyCreatedItems.push(item)
        return item
    }

    // The widget's item and, inside a container, those of its children. A create
    // request is for one widget: the layout sends one for each child too.
    function createWidgetTree(widget, parentItem) {
        var item = createWidgetItem(widget, parentItem)
        if (!item || !widget.isContainer)
            return
        var children = widget.widgetChildren
        for (var i = 0; i < children.count; ++i) {
            var child = children.get(i)
            createWidgetTree(child, item.getContainer(widget.getContainerLocation(child)))
        }
    }

    function destroyWidgetItems() {
        var items = dynamicallyCreatedItems
        dynamicallyCreatedItems = []
        for (var i = items.length - 1; i >= 0; --i)
            items[i].destroy()
    }

    function forgetItem(item) {
        var index = dynamicallyCreatedItems.indexOf(item)
        if (index >= 0)
            dynamicallyCreatedItems.splice(index, 1)
    }

    function chooseView() {
        viewChoices = Geometry.viewChoices(currentLayout)
        viewIndex = Geometry.viewIndex(currentLayout, _application.aspectRatioIndex)
        buttonBar.viewComboBox.currentIndex = viewIndex
        Qt.callLater(centreView)
    }

    // The user's choice of view; remembered, counted without a fixed ratio,
    // for desktop layouts and layouts of any orientation.
    function viewChosen(index) {
        viewIndex = index
        var layout = currentLayout
        var standard = Geometry.hasFixedView(layout) ? index - 1 : index
        if (page.visible && standard >= 0 && (!layout || layout.desktop || layout.orientation === 0))
            _application.aspectRatioIndex = standard
        Qt.callLater(centreView)
    }

    function rebuild() {
        destroyWidgetItems()
        var layout = currentLayout
        if (layout) {
            var widgets = layout.widgets
            for (var i = 0; i < widgets.count; ++i)
                createWidgetTree(widgets.get(i), editContent)
            layout.registerContentItem(editContent, true)
        }
        chooseView()
    }

    onCurrentLayoutChanged: {
        var reopen = testWindowLoader.active
        testWindowLoader.active = false
        rebuild()
        if (reopen && currentLayout)
            reopenTimer.start()
    }
    Component.onCompleted: rebuild()
    Component.onDestruction: destroyWidgetItems()

    Timer {
        id: reopenTimer
        interval: 100
        onTriggered: page.openTestWindow()
    }

    // Zooms so that the canvas point under viewPoint (in the view) stays there.
    function zoom(viewPoint, amount) {
        var fx = (view.contentX + viewPoint.x - editContent.x) / editContent.width
        var fy = (view.contentY + viewPoint.y - editContent.y) / editContent.height
        editContent.zoomFactor = Geometry.clampZoom(editContent.zoomFactor + amount)
        scrollTo(editContent.x + fx * editContent.width - viewPoint.x,
                 editContent.y + fy * editContent.height - viewPoint.y)
    }

    function zoomAboutCentre(amount) {
        zoom(Qt.point(view.width / 2, view.height / 2), amount)
    }

    function zoomToFit() {
        editContent.zoomFactor = Geometry.zoomToFit(editContent.zoomFactor, view.width, view.height,
                                                    editContent.width, editContent.height)
        centreView()
    }

    function scrollTo(x, y) {
        view.contentX = Math.max(0, Math.min(x, view.contentWidth - view.width))
        view.contentY = Math.max(0, Math.min(y, view.contentHeight - view.height))
    }

    function centreView() {
        scrollTo((view.contentWidth - view.width) / 2, (view.contentHeight - view.height) / 2)
    }

    // A hidden page's split view leaves the view without its size until the page
    // is shown, so a view centred before that would open off-centre: a change of
    // size keeps the point at the view's centre where it was.
    function keepCentre() {
        scrollTo(view.contentX - (view.width - view.sizeBefore.width) / 2,
                 view.contentY - (view.height - view.sizeBefore.height) / 2)
        view.sizeBefore = Qt.size(view.width, view.height)
    }

    function openTestWindow() {
        testWindowLoader.active = true
        var window = testWindowLoader.item
        if (!window)
            return
        if (previousUnitIpAddress !== "")
            window.connectToPreviousIpAddress(previousUnitIpAddress)
        else if (previousUnitName !== "")
            window.connectToPreviousUnitName(previousUnitName)
    }

    function closeTestWindow() {
        var window = testWindowLoader.item
        if (window) {
            previousUnitIpAddress = window.unitIpAddress
            previousUnitName = window.unitName
        }
        testWindowLoader.active = false
    }

    function toggleTestWindow() {
        if (testWindowLoader.active)
            closeTestWindow()
        else
            openTestWindow()
    }

    Keys.onTabPressed: if (currentLayout) currentLayout.tabPressed()
    Keys.onBacktabPressed: if (currentLayout) currentLayout.backtabPressed()
    Keys.onPressed: {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat) {
            editContent.spaceHeld = true
            event.accepted = true
        }
    }
    Keys.onReleased: {
        if (event.key === Qt.Key_Space && !event.isAutoRepeat) {
            editContent.spaceHeld = false
            event.accepted = true
        }
    }
    onActiveFocusChanged: if (!activeFocus) editContent.spaceHeld = false
    // A page left by a shortcut keeps the field's focus: what it holds is written as the page goes.
    onVisibleChanged: if (!visible && currentLayout) currentLayout.commitPendingEdits()

    Connections {
        target: page.currentLayout
        function onCreateRequest(widget, parentItem, containerLocation) { page.createWidgetItem(widget, parentItem) }
        function onDeleteRequest(item) {
            page.forgetItem(item)
            item.destroy()
        }
        function onFixedAspectRatioChanged() { page.chooseView() }
        function onAspectRatio1Changed() { page.chooseView() }
        function onAspectRatio2Changed() { page.chooseView() }
    }

    Binding {
        target: page.currentLayout
        when: page.currentLayout !== null
        property: "editContent"
        value: editContent
        restoreMode: Binding.RestoreNone
    }

    Rectangle {
        anchors.fill: parent
        color: "#333333"
    }

    ButtonBar {
        id: buttonBar
        page: page
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        height: page.topBarHeight
        z: 3
    }

    Toolbox {
        id: toolbox
        objectName: "toolbox"
        // The page's left() and right() are the arrow keys, not anchor lines.
        x: 0
        anchors.top: buttonBar.bottom
        anchors.topMargin: 4
        anchors.bottom: parent.bottom
        width: 200
        editContentItem: editContent
        currentLayout: page.currentLayout
        testWindowLoaderItem: testWindowLoader
        layoutEditorPageItem: page
    }

    SplitView {
        id: splitView
        anchors.left: toolbox.right
        width: page.width - toolbox.width
        anchors.top: buttonBar.bottom
        anchors.topMargin: 4
        anchors.bottom: parent.bottom
        orientation: Qt.Horizontal

        handle: Rectangle {
            implicitWidth: 4
            color: SplitHandle.pressed ? "#04FFC5" : "black"
        }

        Item {
            id: viewArea
            SplitView.fillWidth: true
            SplitView.minimumWidth: 100
            clip: true

            Flickable {
                id: view
                objectName: "editView"
                anchors.fill: parent
                interactive: false
                contentWidth: scrollContent.width
                contentHeight: scrollContent.height
                property size sizeBefore
                onWidthChanged: page.keepCentre()
                onHeightChanged: page.keepCentre()
                ScrollBar.vertical: ScrollBar { policy: ScrollBar.AsNeeded }
                ScrollBar.horizontal: ScrollBar { policy: ScrollBar.AsNeeded }

                Rectangle {
                    id: scrollContent
                    width: Math.max(2 * editContent.width, view.width)
                    height: Math.max(2 * editContent.height, view.height)
                    color: Qt.rgba(0.3, 0.3, 0.3, 1)

                    // A click on the empty region clears the selection; a drag draws a band.
                    // Ctrl brings this area over the widgets so that a band can start on
                    // one; a click there still belongs to the widget underneath.
                    MouseArea {
                        id: bandArea
                        objectName: "bandArea"
                        anchors.fill: parent
                        z: editContent.ctrlHeld ? 10 : 0
                        propagateComposedEvents: true
                        property point start
                        property bool banding: false

                        function widgetItemAt(x, y) {
                            return page.dynamicallyCreatedItems.some(function(item) {
                                return item.visible && item.contains(item.mapFromItem(bandArea, x, y))
                            })
                        }

                        onPressed: {
                            page.forceActiveFocus()
                            start = Qt.point(mouse.x, mouse.y)
                            banding = false
                        }
                        onPositionChanged: {
                            if (!banding && Math.abs(mouse.x - start.x) + Math.abs(mouse.y - start.y) > 3)
                                banding = true
                            band.x = Math.min(start.x, mouse.x)
                            band.y = Math.min(start.y, mouse.y)
                            band.width = Math.abs(mouse.x - start.x)
                            band.height = Math.abs(mouse.y - start.y)
                        }
                        onClicked: {
                            if (banding || !page.selectionManager)
                                return
                            if (z > 0 && widgetItemAt(mouse.x, mouse.y))
                                mouse.accepted = false
                            else
                                page.selectionManager.setSelection(null)
                        }
                        onReleased: {
                            var manager = page.selectionManager
                            if (!manager || !banding)
                                return
                            manager.setElasticBandSelection((band.x - editContent.x) / editContent.width,
                                                            (band.y - editContent.y) / editContent.height,
                                                            band.width / editContent.width,
                                                            band.height / editContent.height,
                                                            (mouse.modifiers & Qt.ShiftModifier) !== 0)
                        }
                        onCanceled: banding = false
                    }

                    Rectangle {
                        id: editContent
                        objectName: "editContent"

                        property real zoomFactor: 0.8
                        readonly property real snapSizeHorizontal: _application.snapSpacing * width / 100
                        readonly property real snapSizeVertical: _application.snapSpacing * height / 100
                        readonly property bool snapToGrid: _application.snapToGrid
                        readonly property bool ctrlHeld: _application.ctrlHeld
                        property bool spaceHeld: false

                        function setFocus() { page.forceActiveFocus() }

                        width: Geometry.canvasSize(page.viewRatio, zoomFactor).width
                        height: Geometry.canvasSize(page.viewRatio, zoomFactor).height
                        x: (scrollContent.width - width) / 2
                        y: (scrollContent.height - height) / 2
                        z: 1
                        color: "white"
                        border.color: "black"
                        border.width: 1

                        GroupEditWidgetOverlay {
                            id: groupOverlay
                            z: 2
                            layout: page.currentLayout
                            editContentItem: editContent
                            snapToGrid: editContent.snapToGrid
                            snapSizeHorizontal: editContent.snapSizeHorizontal
                            snapSizeVertical: editContent.snapSizeVertical

                            readonly property rect selection: page.selectionManager ? page.selectionManager.selectionRect
                                                                                    : Qt.rect(0, 0, 0, 0)
                            Binding on x {
                                value: editContent.width * groupOverlay.selection.x
                                when: !groupOverlay.frozen
                                restoreMode: Binding.RestoreNone
                            }
                            Binding on y {
                                value: editContent.height * groupOverlay.selection.y
                                when: !groupOverlay.frozen
                                restoreMode: Binding.RestoreNone
                            }
                            Binding on width {
                                value: editContent.width * groupOverlay.selection.width
                                when: groupOverlay.handleDrags === 0
                                restoreMode: Binding.RestoreNone
                            }
                            Binding on height {
                                value: editContent.height * groupOverlay.selection.height
                                when: groupOverlay.handleDrags === 0
                                restoreMode: Binding.RestoreNone
                            }
                        }
                    }

                    Rectangle {
                        objectName: "canvasDropHighlight"
                        x: editContent.x - 2
                        y: editContent.y - 2
                        width: editContent.width + 4
                        height: editContent.height + 4
                        z: 1
                        color: "transparent"
                        border.color: "red"
                        visible: canvasDropArea.highlight
                    }

                    DashedFrame {
                        id: band
                        z: 11
                        visible: bandArea.pressed && bandArea.banding
                    }
                }
            }

            CanvasGrid {
                objectName: "canvasGrid"
                anchors.fill: parent
                visible: page.gridShown
                spacingX: editContent.snapSizeHorizontal
                spacingY: editContent.snapSizeVertical
                originX: editContent.x - view.contentX
                originY: editContent.y - view.contentY
                lineColour: page.lightGrid ? Qt.rgba(1, 1, 1, 0.2) : Qt.rgba(0, 0, 0, 0.2)
            }

            EditorDropArea {
                id: canvasDropArea
                objectName: "editContentDropArea"
                layout: page.currentLayout
                container: editContent
                disableHighlight: true
            }

            MouseArea {
                objectName: "wheelArea"
                anchors.fill: parent
                acceptedButtons: Qt.NoButton
                onWheel: {
                    if (wheel.modifiers & Qt.ControlModifier) {
                        page.zoom(Qt.point(wheel.x, wheel.y), wheel.angleDelta.y / 1200)
                    } else {
                        var step = wheel.pixelDelta.y !== 0 || wheel.pixelDelta.x !== 0 ? wheel.pixelDelta
                                                                                      : Qt.point(wheel.angleDelta.x / 2, wheel.angleDelta.y / 2)
                        page.scrollTo(view.contentX - step.x, view.contentY - step.y)
                    }
                }
            }

            // Space + drag pans the view.
            MouseArea {
                objectName: "panArea"
                anchors.fill: parent
                visible: editContent.spaceHeld
                cursorShape: pressed ? Qt.ClosedHandCursor : Qt.OpenHandCursor
                property point last
                onPressed: last = Qt.point(mouse.x, mouse.y)
                onPositionChanged: {
                    page.scrollTo(view.contentX - (mouse.x - last.x), view.contentY - (mouse.y - last.y))
                    last = Qt.point(mouse.x, mouse.y)
                }
            }
        }

        PropertyPanel {
            id: propertyPanel
            objectName: "propertyPanel"
            SplitView.preferredWidth: _application.propertyPanelWidth
            SplitView.minimumWidth: 150
            // A small window keeps room for the canvas.
            SplitView.maximumWidth: Math.max(200, splitView.width - 300)
            currentLayout: page.currentLayout
            editContentItem: editContent
            colourPickerDialogObject: colourDialog
            imagePickerItem: imagePicker
            fontPickerItem: fontPicker
            resourceEditorPageItem: page.resourceEditorPageItem
            onWidthChanged: {
                if (splitView.resizing && width >= 200 && width <= 400)
                    _application.propertyPanelWidth = Math.round(width)
            }
        }
    }

    ColorDialog {
        id: colourDialog
        objectName: "colourDialog"
        title: "Choose a Colour"
        showAlphaChannel: true
        property QtObject target: null
        onAccepted: {
            if (target) {
                target.value = color
                if (page.currentLayout)
                    page.currentLayout.closeUndoBlock()
            }
        }
    }

    PickerLayer {
        id: fontPickerLayer
        objectName: "fontPickerLayer"
        anchors.fill: parent
        onOutsideClicked: hide()

        FontPicker {
            id: fontPicker
            objectName: "fontPicker"
            anchors.centerIn: parent
            width: 400
            height: 400
            function show() { fontPickerLayer.visible = true }
            function hide() { fontPickerLayer.visible = false }
            onClosing: fontPickerLayer.visible = false
        }
        function hide() { visible = false }
    }

    PickerLayer {
        id: imagePickerLayer
        objectName: "imagePickerLayer"
        anchors.fill: parent
        onOutsideClicked: imagePicker.hide()

        ImagePicker {
            id: imagePicker
            objectName: "imagePicker"
            anchors.centerIn: parent
            width: 588
            height: 400
            function show() { imagePickerLayer.visible = true }
            // Hiding without a choice writes nothing: the editor only closes its undo block.
            function hide() { if (imagePickerLayer.visible) closing(null) }
            onClosing: imagePickerLayer.visible = false
        }
        function hide() { imagePicker.hide() }
    }

    Loader {
        id: testWindowLoader
        objectName: "testWindowLoader"
        active: false
        source: "TestWindow.qml"
        onLoaded: {
            item.currentLayout = Qt.binding(function() { return page.currentLayout })
            item.visible = true
        }
    }

    // Closed by its title bar, the window goes as Stop takes it.
    Connections {
        target: testWindowLoader.item
        function onClosing() { page.closeTestWindow() }
    }
}
