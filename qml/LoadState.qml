import QtQuick 2.12
import QtQml.StateMachine 1.12 as DSM
import Qt.labs.platform 1.1 as Platform

// Opens a config file: first settles unsaved changes, then asks for the
// file. A failed open leaves a new, empty config behind; a file from a newer
// program, or one the config could not take whole, is opened with a warning.
DSM.State {
    id: root

    property Item unsavedChangesPopupItem
    property Item errorPopupItem
    property QtObject saveConfigFileDialogDialog
    property QtObject loadConfigFileDialogDialog
    property Item blockingAreaItem

    signal completeSignal()
    signal cancelSignal()

    signal loadAttempted(bool succeeded)
    signal dialogAccepted()
    signal dialogRejected()
    signal errorAcknowledged()

    initialState: _application.currentConfig.dirty ? unsavedChangesState : chooseFileState

    onEntered: blockingAreaItem.blockCount += 1
    onExited: blockingAreaItem.blockCount -= 1

    Connections {
        target: chooseFileState.active ? root.loadConfigFileDialogDialog : null
        function onAccepted() { root.dialogAccepted() }
        function onRejected() { root.dialogRejected() }
    }

    Connections {
        target: loadFailedState.active || warningState.active ? root.errorPopupItem : null
        function onOkClicked() { root.errorAcknowledged() }
    }

    UnsavedChangesState {
        id: unsavedChangesState
        unsavedChangesPopupItem: root.unsavedChangesPopupItem
        errorPopupItem: root.errorPopupItem
        saveConfigFileDialogDialog: root.saveConfigFileDialogDialog
        blockingAreaItem: root.blockingAreaItem

        DSM.SignalTransition { signal: unsavedChangesState.completeSignal; targetState: chooseFileState }
        DSM.SignalTransition { signal: unsavedChangesState.cancelSignal; targetState: cancelledState }
    }

    DSM.State {
        id: chooseFileState
        onEntered: {
            root.loadConfigFileDialogDialog.folder = _application.lastConfigFilePath !== ""
                    ? _application.lastConfigFilePath
                    : Platform.StandardPaths.writableLocation(Platform.StandardPaths.DocumentsLocation)
            root.loadConfigFileDialogDialog.open()
        }

        DSM.SignalTransition { signal: root.dialogAccepted; targetState: loadingState }
        DSM.SignalTransition { signal: root.dialogRejected; targetState: cancelledState }
    }

    DSM.State {
        id: loadingState
        onEntered: root.loadAttempted(_application.loadConfig(root.loadConfigFileDialogDialog.file))

        DSM.SignalTransition {
            signal: root.loadAttempted
            guard: succeeded && (_application.currentConfig.configVersionIsNewer || _application.loadConfigReport !== "")
            targetState: warningState
        }
        DSM.SignalTransition {
            signal: root.loadAttempted
            guard: succeeded && !_application.currentConfig.configVersionIsNewer && _application.loadConfigReport === ""
            targetState: completedState
        }
        DSM.SignalTransition { signal: root.loadAttempted; guard: !succeeded; targetState: loadFailedState }
    }

    DSM.State {
        id: loadFailedState
        // The new config first: the page it brings back may take the focus, which the pop-up then takes.
        onEntered: {
            root.errorPopupItem.headlineText = "Failed to load file"
            root.errorPopupItem.failureReasonText = _application.loadConfigFailureReason
            _application.createNewConfig()
            root.errorPopupItem.visible = true
        }
        onExited: root.errorPopupItem.visible = false

        DSM.SignalTransition { signal: root.errorAcknowledged; targetState: cancelledState }
    }

    // Before anyone saves over the file.
    DSM.State {
        id: warningState
        onEntered: {
            var newer = _application.currentConfig.configVersionIsNewer
            var texts = []
            if (newer)
                texts.push("Config version " + _application.currentConfig.version
                           + " is newer than App version " + _application.version
                           + "\nUnknown elements will be lost when Saving/Uploading")
            if (_application.loadConfigReport !== "")
                texts.push(_application.loadConfigReport)
            root.errorPopupItem.headlineText = newer ? "Version Warning" : "Load Warning"
            root.errorPopupItem.failureReasonText = texts.join("\n\n")
            root.errorPopupItem.visible = true
        }
        onExited: root.errorPopupItem.visible = false

        DSM.SignalTransition { signal: root.errorAcknowledged; targetState: completedState }
    }

    DSM.State {
        id: completedState
        onEntered: root.completeSignal()
    }

    DSM.State {
        id: cancelledState
        onEntered: root.cancelSignal()
    }
}
