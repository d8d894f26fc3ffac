import QtQuick 2.12
import QtQml.StateMachine 1.12 as DSM

// Moves the config to or from a unit: the user picks the unit and logs in,
// the editor connects, transfers, reports the outcome and lets go of the unit
// again. A download first settles unsaved changes, as it replaces the config.
// After a failure the picker comes back with the unit or address still
// chosen; a transfer the unit does not finish can be cancelled.
DSM.State {
    id: root

    property bool isDownload: false
    property Item unitPickerPageItem
    property QtObject rootWindowWindow
    property Item errorPopupItem
    property Item blockingAreaItem
    property Item taskInProgressPopupItem
    property Item unsavedChangesPopupItem
    property QtObject saveConfigFileDialogDialog

    signal completeSignal()
    signal cancelSignal()

    signal unitChosen()
    signal pickerCancelled()
    signal connectSucceeded()
    signal connectFailed()
    signal connectCancelled()
    signal transferSucceeded()
    signal transferFailed()
    signal transferCancelled()
    signal resultAcknowledged()

    // What the user picked: a list index, or else a typed address.
    property int chosenUnitIndex: -1
    property string chosenIpAddress
    property bool connectRequested: false
    // The picker comes back after a failure: keep what was chosen.
    property bool retrying: false

    readonly property var connection: _application.connectionInterface
    readonly property string failedHeading: isDownload ? "Download failed" : "Upload failed"

    initialState: isDownload && _application.currentConfig.dirty ? unsavedChangesState : chooseUnitState

    onEntered: {
        blockingAreaItem.blockCount += 1
        connectRequested = false
        retrying = false
    }
    onExited: {
        blockingAreaItem.blockCount -= 1
        if (connectRequested)
            connection.disconnect()
        connectRequested = false
    }

    function showResult(heading, text) {
        errorPopupItem.headlineText = heading
        errorPopupItem.failureReasonText = text
        errorPopupItem.visible = true
    }

    Connections {
        target: chooseUnitState.active ? root.unitPickerPageItem : null
        function onSelectUnitClicked(unitIndex) {
            root.chosenUnitIndex = unitIndex
            root.chosenIpAddress = ""
            root.unitChosen()
        }
        function onUnitIpClicked(ipAddress) {
            root.chosenUnitIndex = -1
            root.chosenIpAddress = ipAddress
            root.unitChosen()
        }
        function onCancelClicked() { root.pickerCancelled() }
    }

    Connections {
        target: connectingState.active ? root.connection : null
        function onConnectionAttemptSuccessful() { root.connectSucceeded() }
        function onConnectionAttemptFailed() { root.connectFailed() }
    }

    Connections {
        target: connectingState.active ? root.taskInProgressPopupItem : null
        function onRequestCancelSignal() { root.connectCancelled() }
    }

    // Too late to cancel once the unit has stored the upload: its success is shown.
    Connections {
        target: transferringState.active ? root.taskInProgressPopupItem : null
        function onRequestCancelSignal() {
            if (_application.cancelTransfer())
                root.transferCancelled()
            else
                root.taskInProgressPopupItem.cancelAvailable = false
        }
    }

    Connections {
        target: transferringState.active ? _application : null
        function onUploadConfigSuccessful() { if (!root.isDownload) root.transferSucceeded() }
        function onUploadConfigFailed() { if (!root.isDownload) root.transferFailed() }
        function onDownloadConfigSuccessful() { if (root.isDownload) root.transferSucceeded() }
        function onDownloadConfigFailed() { if (root.isDownload) root.transferFailed() }
    }

    Connections {
        target: succeededState.active || transferFailedState.active || connectFailedState.active
                ? root.errorPopupItem : null
        function onOkClicked() { root.resultAcknowledged() }
    }

    UnsavedChangesState {
        id: unsavedChangesState
        unsavedChangesPopupItem: root.unsavedChangesPopupItem
        errorPopupItem: root.errorPopupItem
        saveConfigFileDialogDialog: root.saveConfigFileDialogDialog
        blockingAreaItem: root.blockingAreaItem

        DSM.SignalTransition { signal: unsavedChangesState.completeSignal; targetState: chooseUnitState }
        DSM.SignalTransition { signal: unsavedChangesState.cancelSignal; targetState: cancelledState }
    }

    DSM.State {
        id: chooseUnitState
        onEntered: {
            root.unitPickerPageItem.headlineText = root.isDownload ? "Download config from unit"
                                                                   : "Upload config to unit"
            root.unitPickerPageItem.selectButtonText = root.isDownload ? "Download" : "Upload"
            root.unitPickerPageItem.warningText = "Transferring a config disconnects the test window from its unit."
            root.unitPickerPageItem.adminUserOnly = true
            root.rootWindowWindow.initUnitPickerPageLogInInformation()
            if (root.connectRequested)
                root.connection.disconnect()
            root.connectRequested = false
            if (root.retrying)
                root.unitPickerPageItem.showChoice()
            else
                root.unitPickerPageItem.showUnitList()
            root.unitPickerPageItem.visible = true
        }
        onExited: root.unitPickerPageItem.visible = false

        DSM.SignalTransition {
            signal: root.unitChosen
            targetState: connectingState
            onTriggered: root.rootWindowWindow.collectLogInInformation()
        }
        DSM.SignalTransition { signal: root.pickerCancelled; targetState: cancelledState }
    }

    DSM.State {
        id: connectingState
        onEntered: {
            root.taskInProgressPopupItem.text = "Connecting to unit..."
            root.taskInProgressPopupItem.progressBarVisible = false
            root.taskInProgressPopupItem.cancelAvailable = true
            root.taskInProgressPopupItem.visible = true
            root.connectRequested = true
            if (root.chosenUnitIndex >= 0)
                root.connection.connectToUnit(root.chosenUnitIndex)
            else
                root.connection.connectToHostByIpAddress(root.chosenIpAddress)
        }
        onExited: root.taskInProgressPopupItem.visible = false

        DSM.SignalTransition { signal: root.connectSucceeded; targetState: transferringState }
        DSM.SignalTransition { signal: root.connectFailed; targetState: connectFailedState }
        DSM.SignalTransition { signal: root.connectCancelled; targetState: cancelledState }
    }

    DSM.State {
        id: transferringState
        onEntered: {
            root.taskInProgressPopupItem.text = root.isDownload ? "Downloading config..." : "Uploading config..."
            root.taskInProgressPopupItem.progressBarVisible = !root.isDownload
            root.taskInProgressPopupItem.progress = Qt.binding(function() { return _application.uploadProgress })
            root.taskInProgressPopupItem.cancelAvailable = true
            root.taskInProgressPopupItem.visible = true
            if (root.isDownload)
                _application.downloadConfig()
            else
                _application.uploadConfig()
        }
        onExited: {
            root.taskInProgressPopupItem.progress = 0
            root.taskInProgressPopupItem.visible = false
        }

        DSM.SignalTransition { signal: root.transferSucceeded; targetState: succeededState }
        DSM.SignalTransition { signal: root.transferFailed; targetState: transferFailedState }
        DSM.SignalTransition { signal: root.transferCancelled; targetState: cancelledState }
    }

    DSM.State {
        id: succeededState
        onEntered: root.showResult(root.isDownload ? "Download complete" : "Upload complete",
                                   !root.isDownload ? "The config is now stored on the unit."
                                   : _application.loadConfigReport === "" ? "The unit's config is now open."
                                   : "The unit's config is now open.\n\n" + _application.loadConfigReport)
        onExited: root.errorPopupItem.visible = false

        DSM.SignalTransition { signal: root.resultAcknowledged; targetState: completedState }
    }

    DSM.State {
        id: transferFailedState
        onEntered: root.showResult(root.failedHeading, root.isDownload ? _application.downloadConfigFailureReason
                                                                       : _application.uploadConfigFailureReason)
        onExited: root.errorPopupItem.visible = false

        // A password the unit refused is forgotten and not offered again; after any other failure the typed
        // one stays for the retry.
        DSM.SignalTransition {
            signal: root.resultAcknowledged
            targetState: chooseUnitState
            onTriggered: {
                root.retrying = true
                if (!_application.adminPasswordStored)
                    root.unitPickerPageItem.password = ""
            }
        }
    }

    DSM.State {
        id: connectFailedState
        onEntered: root.showResult(root.failedHeading, root.connection.connectionFailureReason)
        onExited: root.errorPopupItem.visible = false

        DSM.SignalTransition {
            signal: root.resultAcknowledged
            targetState: chooseUnitState
            onTriggered: root.retrying = true
        }
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
