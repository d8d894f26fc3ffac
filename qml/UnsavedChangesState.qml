import QtQuick 2.12
import QtQml.StateMachine 1.12 as DSM

// Asks what to do with unsaved changes. Discard completes, Cancel cancels,
// Save saves as a plain save does and completes only once the file is written.
DSM.State {
    id: root

    property Item unsavedChangesPopupItem
    property Item errorPopupItem
    property QtObject saveConfigFileDialogDialog
    property Item blockingAreaItem

    signal completeSignal()
    signal cancelSignal()

    signal saveChosen()
    signal discardChosen()
    signal cancelChosen()

    initialState: askState

    onEntered: blockingAreaItem.blockCount += 1
    onExited: blockingAreaItem.blockCount -= 1

    Connections {
        target: askState.active ? root.unsavedChangesPopupItem : null
        function onSaveClicked() { root.saveChosen() }
        function onDiscardClicked() { root.discardChosen() }
        function onCancelClicked() { root.cancelChosen() }
    }

    DSM.State {
        id: askState
        onEntered: root.unsavedChangesPopupItem.visible = true
        onExited: root.unsavedChangesPopupItem.visible = false

        DSM.SignalTransition { signal: root.saveChosen; targetState: savingState }
        DSM.SignalTransition { signal: root.discardChosen; targetState: completedState }
        DSM.SignalTransition { signal: root.cancelChosen; targetState: cancelledState }
    }

    SaveState {
        id: savingState
        errorPopupItem: root.errorPopupItem
        saveConfigFileDialogDialog: root.saveConfigFileDialogDialog
        blockingAreaItem: root.blockingAreaItem

        DSM.SignalTransition { signal: savingState.completeSignal; targetState: completedState }
        DSM.SignalTransition { signal: savingState.cancelSignal; targetState: cancelledState }
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
