import QtQuick 2.12
import QtQml.StateMachine 1.12 as DSM
import Qt.labs.platform 1.1 as Platform

// Saves the config: straight to its file, or through the save dialog when
// there is no file yet or saveAs is set. Ends in completeSignal (saved) or
// cancelSignal (dialog rejected, or the failure acknowledged).
DSM.State {
    id: root

    property bool saveAs: false
    property Item errorPopupItem
    property QtObject saveConfigFileDialogDialog
    property Item blockingAreaItem

    signal completeSignal()
    signal cancelSignal()

    signal saveAttempted(bool succeeded)
    signal dialogAccepted()
    signal dialogRejected()
    signal errorAcknowledged()

    initialState: saveAs || _application.currentFilename === "" ? chooseFileState : savingState

    onEntered: blockingAreaItem.blockCount += 1
    onExited: blockingAreaItem.blockCount -= 1

    Connections {
        target: chooseFileState.active ? root.saveConfigFileDialogDialog : null
        function onAccepted() { root.dialogAccepted() }
        function onRejected() { root.dialogRejected() }
    }

    Connections {
        target: errorState.active ? root.errorPopupItem : null
        function onOkClicked() { root.errorAcknowledged() }
    }

    DSM.State {
        id: savingState
        onEntered: root.saveAttempted(_application.saveConfig())

        DSM.SignalTransition { signal: root.saveAttempted; guard: succeeded; targetState: completedState }
        DSM.SignalTransition { signal: root.saveAttempted; guard: !succeeded; targetState: errorState }
    }

    DSM.State {
        id: chooseFileState
        onEntered: {
            root.saveConfigFileDialogDialog.folder = _application.lastConfigFilePath !== ""
                    ? _application.lastConfigFilePath
                    : Platform.StandardPaths.writableLocation(Platform.StandardPaths.DocumentsLocation)
            root.saveConfigFileDialogDialog.open()
        }

        DSM.SignalTransition { signal: root.dialogAccepted; targetState: savingAsState }
        DSM.SignalTransition { signal: root.dialogRejected; targetState: cancelledState }
    }

    DSM.State {
        id: savingAsState
        onEntered: root.saveAttempted(_application.saveConfig(root.saveConfigFileDialogDialog.file))

        DSM.SignalTransition { signal: root.saveAttempted; guard: succeeded; targetState: completedState }
        DSM.SignalTransition { signal: root.saveAttempted; guard: !succeeded; targetState: errorState }
    }

    DSM.State {
        id: errorState
        onEntered: {
            root.errorPopupItem.headlineText = "Failed to save file"
            root.errorPopupItem.failureReasonText = _application.saveConfigFailureReason
            root.errorPopupItem.visible = true
        }
        onExited: root.errorPopupItem.visible = false

        DSM.SignalTransition { signal: root.errorAcknowledged; targetState: cancelledState }
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
