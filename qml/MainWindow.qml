import QtQuick 2.12
import QtQuick.Window 2.12
import QtQuick.Controls 2.12
import QtQml.StateMachine 1.12 as DSM
import Qt.labs.platform 1.1 as Platform
import "Common"

// The editor's main window: the initial page, then the working interface
// with its menus and pages. One menu action runs at a time; the states that
// carry them out block the window while they run.
ApplicationWindow {
    id: rootWindow

    property bool mainUIActive: false
    property bool mainMenuEnabled: false
    // What covers the pages and holds the keyboard while shown, topmost first; null when nothing does.
    readonly property Item coverShown: errorPopup.visible ? errorPopup
                                     : unsavedChangesPopup.visible ? unsavedChangesPopup
                                     : unitPickerPage.visible ? unitPickerPage
                                     : taskInProgressPopup.visible ? taskInProgressPopup
                                     : aboutPage.visible ? aboutPage : null
    // No shortcut acts on the pages while anything covers them or a menu is open
    // (whose arrow keys move through its items).
    readonly property bool shortcutsEnabled: mainUIActive && !blockingArea.visible && coverShown === null
                                             && !menuBarArea.menuOpen

    // The dialogs the load and save states use; tests put stand-ins here.
    property QtObject saveConfigFileDialogDialog: saveConfigFileDialog
    property QtObject loadConfigFileDialogDialog: loadConfigFileDialog
    // Ends the program; tests put a stand-in here.
    property var quitApplication: function() { Qt.quit() }

    // The layout the layout editor shows, -1 for none.
    property int editedLayoutIndex: -1

    readonly property Item layoutManagerButton: menuBarArea.layoutManagerButton
    readonly property Item layoutEditorButton: menuBarArea.layoutEditorButton
    readonly property Item resourceManagerButton: menuBarArea.resourceManagerButton

    readonly property var currentConfig: _application.currentConfig
    readonly property int layoutCount: currentConfig.layouts.count

    signal requestToCloseWhenDirty()
    signal layoutOpened(int layoutIndex)

    visible: true
    width: 1280
    height: 800
    minimumWidth: 800
    minimumHeight: 600
    color: "#333333"
    font.family: "Lato"

    title: {
        var text = "Kelvari Editor"
        if (mainUIActive) {
            var filename = _application.currentFilename
            text += " - " + (filename === "" ? "New config" : filename.substring(filename.lastIndexOf("/") + 1))
            if (currentConfig.dirty)
                text += "*"
        }
        return text
    }

    onVisibleChanged: if (visible) _application.applicationWindowReady()

    // Tab cannot leave what covers the pages for the controls below it.
    onActiveFocusItemChanged: {
        var cover = coverShown
        if (cover !== null && activeFocusItem !== null && isWithin(activeFocusItem, contentItem)
                && !isWithin(activeFocusItem, cover))
            cover.takeFocus()
    }

    // The window stays up either way: quit() ends the program itself.
    onClosing: {
        close.accepted = false
        commitPendingEdits()
        if (currentConfig.dirty) {
            alert(0)
            requestToCloseWhenDirty()
        } else {
            quit()
        }
    }

    function isWithin(item, ancestor) {
        for (var parent = item; parent !== null; parent = parent.parent) {
            if (parent === ancestor)
                return true
        }
        return false
    }

    function quit() {
        editedLayoutIndex = -1
        quitApplication()
    }

    function initUnitPickerPageLogInInformation() {
        if (_application.adminRememberPassword) {
            if (_application.adminPasswordStored)
                unitPickerPage.password = ""
            unitPickerPage.usingStoredPassword = _application.adminPasswordStored
        } else {
            unitPickerPage.usingStoredPassword = false
        }
        unitPickerPage.rememberLoginDetails = _application.adminRememberPassword
    }

    function collectLogInInformation() {
        if (!unitPickerPage.usingStoredPassword)
            _application.setAdminPassword(unitPickerPage.password)
        _application.adminRememberPassword = unitPickerPage.rememberLoginDetails
    }

    function closePagePopups() {
        if (layoutManagerPage.visible)
            layoutManagerPage.closePopups()
        if (layoutEditorPage.visible)
            layoutEditorPage.closePopups()
    }

    function openLayoutEditor(layoutIndex) {
        editedLayoutIndex = layoutIndex
    }

    function editedLayout() {
        return layoutEditorPage.currentLayout
    }

    function deletePressed() {
        if (layoutEditorPage.visible) {
            var layout = editedLayout()
            if (layout)
                layout.deletePressed()
        } else if (layoutManagerPage.visible) {
            if (layoutManagerPage.shortcutsEnabled)
                currentConfig.deletePressed()
        } else if (resourceEditorPage.visible) {
            currentConfig.deleteImage(currentConfig.selectedResourceIndex)
        }
    }

    // Sends an edit key to the visible page: the layout's own operation in the
    // layout editor, the config's in the layout manager and the resource manager.
    // The manager takes none while its details pop-up is open, so that no undo
    // takes away the layout being edited and no paste waits behind the pop-up.
    function editPressed(layoutOperation, configOperation, resourceOperation) {
        if (layoutEditorPage.visible) {
            var layout = editedLayout()
            if (layout)
                layout[layoutOperation]()
        } else if (layoutManagerPage.visible) {
            if (layoutManagerPage.shortcutsEnabled)
                currentConfig[configOperation]()
        } else if (resourceEditorPage.visible && resourceOperation !== "") {
            currentConfig[resourceOperation]()
        }
    }

    function arrowPressed(direction) {
        if (layoutEditorPage.visible)
            layoutEditorPage[direction]()
        else if (resourceEditorPage.visible)
            resourceEditorPage[direction]()
    }

    // A number still being typed in the property panel is part of what is saved, uploaded or looked at for
    // unsaved changes; the file actions' own handlers run before the state machine sees them.
    function commitPendingEdits() {
        var layout = editedLayout()
        if (layout)
            layout.commitPendingEdits()
    }

    // Menu actions.
    Action { id: newAction; text: "New..."; enabled: rootWindow.mainMenuEnabled; onTriggered: commitPendingEdits() }
    Action { id: openAction; text: "Open..."; enabled: rootWindow.mainMenuEnabled; onTriggered: commitPendingEdits() }
    Action { id: saveAction; text: "Save"; enabled: rootWindow.mainMenuEnabled; onTriggered: commitPendingEdits() }
    Action {
        id: saveAsAction
        text: "Save As..."
        enabled: rootWindow.mainMenuEnabled
        onTriggered: commitPendingEdits()
    }
    Action { id: uploadAction; text: "Upload"; enabled: rootWindow.mainMenuEnabled; onTriggered: commitPendingEdits() }
    Action {
        id: downloadAction
        text: "Download"
        enabled: rootWindow.mainMenuEnabled
        onTriggered: commitPendingEdits()
    }

    Shortcut { id: newShortcut; sequence: StandardKey.New; enabled: rootWindow.shortcutsEnabled; onActivated: newAction.trigger() }
    Shortcut { id: openShortcut; sequence: StandardKey.Open; enabled: rootWindow.shortcutsEnabled; onActivated: openAction.trigger() }
    Shortcut { id: saveShortcut; sequence: StandardKey.Save; enabled: rootWindow.shortcutsEnabled; onActivated: saveAction.trigger() }
    // The platforms' own Save As and Quit are unbound in some key schemes (plain
    // X11 desktops, Windows), so both are bound explicitly; Ctrl is Command on macOS.
    Shortcut {
        id: saveAsShortcut
        sequence: "Ctrl+Shift+S"
        enabled: rootWindow.shortcutsEnabled
        onActivated: saveAsAction.trigger()
    }
    Shortcut { id: quitShortcut; sequence: "Ctrl+Q"; enabled: rootWindow.shortcutsEnabled; onActivated: rootWindow.close() }
    Shortcut {
        id: helpShortcut
        sequence: "F1"
        enabled: rootWindow.shortcutsEnabled && rootWindow.mainMenuEnabled
        onActivated: _application.openHelp()
    }
    Shortcut {
        sequence: "Alt+F"
        enabled: menuBarArea.visible && menuBarArea.enabled
        onActivated: menuBarArea.openMenu(0)
    }
    Shortcut {
        sequence: "Alt+H"
        enabled: menuBarArea.visible && menuBarArea.enabled
        onActivated: menuBarArea.openMenu(1)
    }
    Shortcut { sequence: "Escape"; enabled: menuBarArea.menuOpen; onActivated: menuBarArea.closeOpenMenu() }
    Shortcut {
        sequences: [StandardKey.Delete, "Backspace"]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.deletePressed()
    }
    Shortcut {
        sequences: [StandardKey.Undo]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.editPressed("undoPressed", "undoPressed", "resourceUndoPressed")
    }
    Shortcut {
        // Named, not the platform's Redo: desktops differ in which of the two
        // that is, and a key bound twice here would be ambiguous and do nothing.
        sequences: ["Ctrl+Shift+Z", "Ctrl+Y"]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.editPressed("redoPressed", "redoPressed", "resourceRedoPressed")
    }
    Shortcut {
        sequences: [StandardKey.Cut]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.editPressed("cutPressed", "cutPressed", "")
    }
    Shortcut {
        sequences: [StandardKey.Copy]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.editPressed("copyPressed", "copyPressed", "")
    }
    Shortcut {
        sequences: [StandardKey.Paste]
        enabled: rootWindow.shortcutsEnabled
        onActivated: rootWindow.editPressed("pastePressed", "pastePressed", "")
    }
    Shortcut {
        sequence: StandardKey.SelectAll
        enabled: rootWindow.shortcutsEnabled
        onActivated: {
            var layout = layoutEditorPage.visible ? rootWindow.editedLayout() : null
            if (layout)
                layout.selectionManager.selectAll()
        }
    }
    Shortcut { sequence: "Ctrl+,"; enabled: rootWindow.shortcutsEnabled; onActivated: layoutManagerButton.clicked() }
    Shortcut { sequence: "Ctrl+."; enabled: rootWindow.shortcutsEnabled; onActivated: layoutEditorButton.clicked() }
    Shortcut { sequence: "Ctrl+/"; enabled: rootWindow.shortcutsEnabled; onActivated: resourceManagerButton.clicked() }
    Shortcut { sequence: "Left"; enabled: rootWindow.shortcutsEnabled; onActivated: rootWindow.arrowPressed("left") }
    Shortcut { sequence: "Right"; enabled: rootWindow.shortcutsEnabled; onActivated: rootWindow.arrowPressed("right") }
    Shortcut { sequence: "Up"; enabled: rootWindow.shortcutsEnabled; onActivated: rootWindow.arrowPressed("up") }
    Shortcut { sequence: "Down"; enabled: rootWindow.shortcutsEnabled; onActivated: rootWindow.arrowPressed("down") }

    menuBar: MainMenuBar {
        id: menuBarArea
        objectName: "menuBarArea"
        visible: rootWindow.mainUIActive
        enabled: rootWindow.mainMenuEnabled
        newAction: newAction
        openAction: openAction
        saveAction: saveAction
        saveAsAction: saveAsAction
        uploadAction: uploadAction
        downloadAction: downloadAction
        newShortcutText: newShortcut.nativeText
        openShortcutText: openShortcut.nativeText
        saveShortcutText: saveShortcut.nativeText
        saveAsShortcutText: saveAsShortcut.nativeText
        exitShortcutText: quitShortcut.nativeText
        helpShortcutText: helpShortcut.nativeText
        layoutManagerShown: layoutManagerPage.visible
        layoutEditorShown: layoutEditorPage.visible
        resourceManagerShown: resourceEditorPage.visible
        layoutEditorAvailable: rootWindow.layoutCount > 0
        onExitChosen: rootWindow.close()
        onAboutChosen: aboutPage.visible = !aboutPage.visible
        onHelpChosen: _application.openHelp()
    }

    InitialPage {
        id: initialPage
        objectName: "initialPage"
        anchors.fill: parent
        visible: false
    }

    LayoutManagerPage {
        id: layoutManagerPage
        objectName: "layoutManagerPage"
        anchors.fill: parent
        visible: false
        onLayoutClicked: rootWindow.layoutOpened(layoutIndex)
    }

    LayoutEditorPage {
        id: layoutEditorPage
        objectName: "layoutEditorPage"
        anchors.fill: parent
        visible: false
        layoutIndex: rootWindow.editedLayoutIndex
        resourceEditorPageItem: resourceEditorPage
    }

    ResourceEditorPage {
        id: resourceEditorPage
        objectName: "resourceEditorPage"
        anchors.fill: parent
        visible: false
        errorPopupItem: errorPopup
        onVisibleChanged: if (visible) forceActiveFocus()
    }

    AboutPage {
        id: aboutPage
        objectName: "aboutPage"
        anchors.fill: parent
        editor: true
    }

    Rectangle {
        id: blockingArea
        objectName: "blockingArea"

        // Each state that blocks the window holds it while active.
        property int blockCount: 0

        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.2)
        visible: blockCount > 0

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            onWheel: wheel.accepted = true
        }
    }

    TaskInProgressPopup {
        id: taskInProgressPopup
        objectName: "taskInProgressPopup"
    }

    UnitPickerPage {
        id: unitPickerPage
        objectName: "unitPickerPage"
        anchors.fill: parent
        adminUserOnly: true
        willDisconnectTestWindow: _application.connectionInterface.connected
    }

    UnsavedChangesPopup {
        id: unsavedChangesPopup
        objectName: "unsavedChangesPopup"
    }

    ErrorPopup {
        id: errorPopup
        objectName: "errorPopup"
    }

    Platform.FileDialog {
        id: saveConfigFileDialog
        title: "Save Config"
        fileMode: Platform.FileDialog.SaveFile
        defaultSuffix: "xml"
        nameFilters: ["Config files (*.xml)"]
    }

    Platform.FileDialog {
        id: loadConfigFileDialog
        title: "Load Config"
        fileMode: Platform.FileDialog.OpenFile
        defaultSuffix: "xml"
        nameFilters: ["Config files (*.xml)"]
    }

    DSM.StateMachine {
        id: rootStateMachine
        objectName: "rootStateMachine"
        initialState: initialPageState
        running: true

        DSM.State {
            id: initialPageState
            onEntered: initialPage.visible = true
            onExited: initialPage.visible = false

            DSM.SignalTransition {
                signal: initialPage.newClickedSignal
                targetState: workingState
                onTriggered: _application.createNewConfig()
            }
            DSM.SignalTransition { signal: initialPage.loadClickedSignal; targetState: initialLoadState }
            DSM.SignalTransition { signal: initialPage.downloadClickedSignal; targetState: initialDownloadState }
        }

        LoadState {
            id: initialLoadState
            unsavedChangesPopupItem: unsavedChangesPopup
            errorPopupItem: errorPopup
            saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
            loadConfigFileDialogDialog: rootWindow.loadConfigFileDialogDialog
            blockingAreaItem: blockingArea
            onEntered: initialPage.visible = true
            onExited: initialPage.visible = false

            DSM.SignalTransition { signal: initialLoadState.completeSignal; targetState: workingState }
            DSM.SignalTransition { signal: initialLoadState.cancelSignal; targetState: initialPageState }
        }

        DownloadState {
            id: initialDownloadState
            unitPickerPageItem: unitPickerPage
            rootWindowWindow: rootWindow
            errorPopupItem: errorPopup
            blockingAreaItem: blockingArea
            taskInProgressPopupItem: taskInProgressPopup
            unsavedChangesPopupItem: unsavedChangesPopup
            saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
            onEntered: initialPage.visible = true
            onExited: initialPage.visible = false

            DSM.SignalTransition { signal: initialDownloadState.completeSignal; targetState: workingState }
            DSM.SignalTransition { signal: initialDownloadState.cancelSignal; targetState: initialPageState }
        }

        DSM.State {
            id: workingState
            childMode: DSM.State.ParallelStates
            onEntered: rootWindow.mainUIActive = true
            onExited: rootWindow.mainUIActive = false

            DSM.State {
                id: menuRegion
                initialState: idleState

                DSM.State {
                    id: idleState
                    onEntered: rootWindow.mainMenuEnabled = true
                    onExited: {
                        rootWindow.mainMenuEnabled = false
                        rootWindow.closePagePopups()
                    }

                    DSM.SignalTransition {
                        signal: newAction.triggered
                        guard: rootWindow.currentConfig.dirty
                        targetState: unsavedOnNewState
                    }
                    // Without a target state the idle state is not left, so the page pop-ups are closed here,
                    // before the layouts they edit go with the old config.
                    DSM.SignalTransition {
                        signal: newAction.triggered
                        guard: !rootWindow.currentConfig.dirty
                        onTriggered: {
                            rootWindow.closePagePopups()
                            _application.createNewConfig()
                        }
                    }
                    DSM.SignalTransition { signal: openAction.triggered; targetState: openState }
                    DSM.SignalTransition { signal: saveAction.triggered; targetState: saveState }
                    DSM.SignalTransition { signal: saveAsAction.triggered; targetState: saveAsState }
                    DSM.SignalTransition { signal: uploadAction.triggered; targetState: uploadState }
                    DSM.SignalTransition { signal: downloadAction.triggered; targetState: downloadState }
                    DSM.SignalTransition { signal: rootWindow.requestToCloseWhenDirty; targetState: unsavedOnQuitState }
                    DSM.SignalTransition { signal: _application.helpFailed; targetState: helpFailedState }
                }

                DSM.State {
                    id: helpFailedState
                    onEntered: {
                        errorPopup.headlineText = "Cannot open help"
                        errorPopup.failureReasonText = _application.helpFailureReason
                        errorPopup.visible = true
                    }
                    onExited: errorPopup.visible = false

                    DSM.SignalTransition { signal: errorPopup.okClicked; targetState: idleState }
                }

                LoadState {
                    id: openState
                    unsavedChangesPopupItem: unsavedChangesPopup
                    errorPopupItem: errorPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
                    loadConfigFileDialogDialog: rootWindow.loadConfigFileDialogDialog
                    blockingAreaItem: blockingArea

                    DSM.SignalTransition { signal: openState.completeSignal; targetState: idleState }
                    DSM.SignalTransition { signal: openState.cancelSignal; targetState: idleState }
                }

                SaveState {
                    id: saveState
                    errorPopupItem: errorPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
                    blockingAreaItem: blockingArea

                    DSM.SignalTransition { signal: saveState.completeSignal; targetState: idleState }
                    DSM.SignalTransition { signal: saveState.cancelSignal; targetState: idleState }
                }

                SaveState {
                    id: saveAsState
                    saveAs: true
                    errorPopupItem: errorPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
                    blockingAreaItem: blockingArea

                    DSM.SignalTransition { signal: saveAsState.completeSignal; targetState: idleState }
                    DSM.SignalTransition { signal: saveAsState.cancelSignal; targetState: idleState }
                }

                UploadState {
                    id: uploadState
                    unitPickerPageItem: unitPickerPage
                    rootWindowWindow: rootWindow
                    errorPopupItem: errorPopup
                    blockingAreaItem: blockingArea
                    taskInProgressPopupItem: taskInProgressPopup

                    DSM.SignalTransition { signal: uploadState.completeSignal; targetState: idleState }
                    DSM.SignalTransition { signal: uploadState.cancelSignal; targetState: idleState }
                }

                DownloadState {
                    id: downloadState
                    unitPickerPageItem: unitPickerPage
                    rootWindowWindow: rootWindow
                    errorPopupItem: errorPopup
                    blockingAreaItem: blockingArea
                    taskInProgressPopupItem: taskInProgressPopup
                    unsavedChangesPopupItem: unsavedChangesPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog

                    DSM.SignalTransition { signal: downloadState.completeSignal; targetState: idleState }
                    DSM.SignalTransition { signal: downloadState.cancelSignal; targetState: idleState }
                }

                UnsavedChangesState {
                    id: unsavedOnNewState
                    unsavedChangesPopupItem: unsavedChangesPopup
                    errorPopupItem: errorPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
                    blockingAreaItem: blockingArea

                    DSM.SignalTransition {
                        signal: unsavedOnNewState.completeSignal
                        targetState: idleState
                        onTriggered: _application.createNewConfig()
                    }
                    DSM.SignalTransition { signal: unsavedOnNewState.cancelSignal; targetState: idleState }
                }

                UnsavedChangesState {
                    id: unsavedOnQuitState
                    unsavedChangesPopupItem: unsavedChangesPopup
                    errorPopupItem: errorPopup
                    saveConfigFileDialogDialog: rootWindow.saveConfigFileDialogDialog
                    blockingAreaItem: blockingArea

                    DSM.SignalTransition {
                        signal: unsavedOnQuitState.completeSignal
                        targetState: idleState
                        onTriggered: rootWindow.quit()
                    }
                    DSM.SignalTransition { signal: unsavedOnQuitState.cancelSignal; targetState: idleState }
                }
            }

            DSM.State {
                id: pagesRegion
                initialState: layoutManagerState

                DSM.State {
                    id: layoutManagerState
                    // The page takes the keys, as the other pages do: a field of the page left behind keeps them
                    // while hidden, and Delete or Ctrl+Z would go to it.
                    onEntered: {
                        aboutPage.visible = false
                        layoutManagerPage.visible = true
                        layoutManagerPage.forceActiveFocus()
                    }
                    onExited: {
                        rootWindow.closePagePopups()
                        layoutManagerPage.visible = false
                    }

                    DSM.SignalTransition {
                        signal: layoutEditorButton.clicked
                        guard: rootWindow.layoutCount > 0
                        targetState: layoutEditorState
                        onTriggered: {
                            if (rootWindow.currentConfig.selectedLayoutIndex === -1)
                                rootWindow.currentConfig.selectedLayoutIndex = 0
                            rootWindow.openLayoutEditor(rootWindow.currentConfig.selectedLayoutIndex)
                        }
                    }
                    DSM.SignalTransition { signal: resourceManagerButton.clicked; targetState: resourceManagerState }
                    DSM.SignalTransition {
                        signal: rootWindow.layoutOpened
                        targetState: layoutEditorState
                        onTriggered: rootWindow.openLayoutEditor(layoutIndex)
                    }
                }

                DSM.State {
                    id: layoutEditorState
                    onEntered: {
                        aboutPage.visible = false
                        layoutEditorPage.visible = true
                        layoutEditorPage.forceActiveFocus()
                    }
                    onExited: {
                        rootWindow.closePagePopups()
                        layoutEditorPage.visible = false
                    }

                    DSM.SignalTransition { signal: layoutManagerButton.clicked; targetState: layoutManagerState }
                    DSM.SignalTransition { signal: resourceManagerButton.clicked; targetState: resourceManagerState }
                    DSM.SignalTransition { signal: rootWindow.layoutCountChanged; targetState: layoutManagerState }
                }

                DSM.State {
                    id: resourceManagerState
                    onEntered: {
                        aboutPage.visible = false
                        resourceEditorPage.visible = true
                    }
                    onExited: resourceEditorPage.visible = false

                    DSM.SignalTransition { signal: layoutManagerButton.clicked; targetState: layoutManagerState }
                    DSM.SignalTransition {
                        signal: layoutEditorButton.clicked
                        guard: rootWindow.layoutCount > 0
                        targetState: layoutEditorState
                        onTriggered: {
                            if (rootWindow.currentConfig.selectedLayoutIndex === -1)
                                rootWindow.currentConfig.selectedLayoutIndex = 0
                            rootWindow.openLayoutEditor(rootWindow.currentConfig.selectedLayoutIndex)
                        }
                    }
                }
            }
        }
    }
}
