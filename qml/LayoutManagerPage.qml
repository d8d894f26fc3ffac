import QtQuick 2.12
import QtQuick.Controls 2.12
import QtQml.StateMachine 1.12 as DSM

// Every layout of the config as a live thumbnail with its details: layouts
// are added, edited, cut, copied, pasted and deleted here, with undo.
Rectangle {
    id: page
    objectName: "layoutManagerPage"

    readonly property QtObject config: _application.currentConfig
    readonly property int columns: 4
    readonly property real spacing: 20
    readonly property real layoutWidth: (width - spacing) / columns - spacing
    readonly property real layoutHeight: (height - spacing) / 3 - spacing
    // The layout whose details are being edited, or null.
    property QtObject editDetailsLayout: null
    property bool shortcutsEnabled: false

    signal layoutClicked(int layoutIndex)
    signal newLayoutClicked()
    signal editDetailsClicked(int layoutIndex)
    signal closePopups()

    color: "#333333"

    Row {
        id: toolbar
        objectName: "layoutManagerToolbar"
        anchors.top: parent.top
        anchors.right: parent.right
        anchors.topMargin: 2
        anchors.rightMargin: 2
        layoutDirection: Qt.RightToLeft
        spacing: 1
        z: 1

        readonly property bool layoutSelected: page.config.selectedLayoutIndex >= 0
                                               && page.config.selectedLayoutIndex < page.config.layouts.count

        ToolbarButton {
            objectName: "redoButton"
            width: 30
            height: 30
            tooltipText: "Redo"
            buttonEnabled: page.config.hasRedo
            source: buttonEnabled ? "qrc:/Images/Icon_Redo.svg" : "qrc:/Images/Icon_Redo_Off.svg"
            onClicked: page.config.redoPressed()
        }
        ToolbarButton {
            objectName: "undoButton"
            width: 30
            height: 30
            tooltipText: "Undo"
            buttonEnabled: page.config.hasUndo
            source: buttonEnabled ? "qrc:/Images/Icon_Undo.svg" : "qrc:/Images/Icon_Undo_Off.svg"
            onClicked: page.config.undoPressed()
        }
        ToolbarButton {
            objectName: "deleteLayoutButton"
            width: 30
            height: 30
            tooltipText: "Delete Layout"
            source: "qrc:/Images/Icon_DeleteLayout.svg"
            onClicked: page.config.deletePressed()
        }
        ToolbarButton {
            objectName: "newLayoutButton"
            width: 30
            height: 30
            tooltipText: "New Layout"
            source: "qrc:/Images/Icon_NewLayout.svg"
            onClicked: page.newLayoutClicked()
        }
        ToolbarButton {
            objectName: "pasteButton"
            width: 30
            height: 30
            tooltipText: "Paste"
            buttonEnabled: page.config.isPasteAllowed
            source: buttonEnabled ? "qrc:/Images/Icon_Paste.svg" : "qrc:/Images/Icon_Paste_Disabled.svg"
            onClicked: page.config.pastePressed()
        }
        ToolbarButton {
            objectName: "copyButton"
            width: 30
            height: 30
            tooltipText: "Copy"
            buttonEnabled: toolbar.layoutSelected
            source: buttonEnabled ? "qrc:/Images/Icon_Copy.svg" : "qrc:/Images/Icon_Copy_Disabled.svg"
            onClicked: page.config.copyPressed()
        }
        ToolbarButton {
            objectName: "cutButton"
            width: 30
            height: 30
            tooltipText: "Cut"
            buttonEnabled: toolbar.layoutSelected
            source: buttonEnabled ? "qrc:/Images/Icon_Cut.svg" : "qrc:/Images/Icon_Cut_Disabled.svg"
            onClicked: page.config.cutPressed()
        }
    }

    Text {
        objectName: "noLayoutsText"
        textFormat: Text.PlainText
        anchors.centerIn: parent
        visible: page.config.layouts.count === 0
        text: "No layouts"
        font.pointSize: 12
        color: "#B3B3B3"
    }

    Flickable {
        id: gridView
        objectName: "layoutGrid"
        anchors.fill: parent
        anchors.topMargin: 34
        clip: true
        contentWidth: width
        contentHeight: grid.height + 2 * page.spacing
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        Grid {
            id: grid
            x: page.spacing
            y: page.spacing
            columns: page.columns
            spacing: page.spacing

            Repeater {
                model: page.config.layouts

                Item {
                    id: cell
                    width: page.layoutWidth
                    height: thumbnail.height

                    LayoutThumbnail {
                        id: thumbnail
                        objectName: "layoutThumbnail"
                        anchors.horizontalCenter: parent.horizontalCenter
                        layout: model.qtObject
                        layoutIndex: index
                        layoutWidth: page.layoutWidth
                        inView: page.visible && grid.y + cell.y + cell.height >= gridView.contentY
                                && grid.y + cell.y <= gridView.contentY + gridView.height
                        onClicked: page.config.selectedLayoutIndex = layoutIndex
                        onDoubleClicked: {
                            page.config.selectedLayoutIndex = layoutIndex
                            page.layoutClicked(layoutIndex)
                        }
                        onDetailsClicked: page.editDetailsClicked(layoutIndex)
                    }
                }
            }
        }
    }

    // Blocks the page while the details pop-up is open.
    Rectangle {
        id: popupBackground
        objectName: "popupBackground"
        anchors.fill: parent
        z: 2
        visible: detailsPopup.visible
        color: Qt.rgba(0, 0, 0, 0.2)

        MouseArea {
            anchors.fill: parent
            acceptedButtons: Qt.AllButtons
            hoverEnabled: true
            onWheel: wheel.accepted = true
        }
    }

    LayoutDetailsPopup {
        id: detailsPopup
        objectName: "layoutDetailsPopup"
        anchors.centerIn: parent
        z: 3
        visible: false
        // The pop-up gave its name field the keys; the edit keys belong to the
        // layouts again once it is gone, unless a change of page took them along.
        onVisibleChanged: if (!visible && page.visible) page.forceActiveFocus()
    }

    DSM.StateMachine {
        id: stateMachine
        initialState: initialState
        running: true

        DSM.State {
            id: initialState
            // Transitions run after the pop-up's state is left, so the layout is let go here.
            onEntered: {
                page.editDetailsLayout = null
                page.shortcutsEnabled = true
            }
            onExited: page.shortcutsEnabled = false

            DSM.SignalTransition {
                signal: page.newLayoutClicked
                targetState: newLayoutState
                onTriggered: detailsPopup.setNew()
            }
            DSM.SignalTransition {
                signal: page.editDetailsClicked
                targetState: editState
                onTriggered: {
                    page.editDetailsLayout = page.config.layouts.get(layoutIndex)
                    detailsPopup.setFromLayout(page.editDetailsLayout, false)
                }
            }
            DSM.SignalTransition {
                signal: page.config.requestDetailsDialog
                targetState: pastedState
                onTriggered: {
                    page.editDetailsLayout = pendingLayout
                    detailsPopup.setFromLayout(pendingLayout, true)
                }
            }
        }

        DSM.State {
            id: newLayoutState
            onEntered: detailsPopup.visible = true
            onExited: detailsPopup.visible = false

            DSM.SignalTransition {
                signal: detailsPopup.okClicked
                targetState: initialState
                onTriggered: page.config.createNewLayout(allUsers, usersString, desktop, phone, tablet, orientation,
                                                         allScenes, scenesString, fixedAspectRatio, aspectRatio1,
                                                         aspectRatio2, name)
            }
            DSM.SignalTransition { signal: detailsPopup.cancelClicked; targetState: initialState }
            DSM.SignalTransition { signal: page.closePopups; targetState: initialState }
        }

        DSM.State {
            id: editState
            onEntered: detailsPopup.visible = true
            onExited: detailsPopup.visible = false

            DSM.SignalTransition {
                signal: detailsPopup.okClicked
                targetState: initialState
                onTriggered: page.editDetailsLayout.setLayoutDetails(allUsers, usersString, desktop, phone, tablet,
                                                                     orientation, allScenes, scenesString,
                                                                     fixedAspectRatio, aspectRatio1, aspectRatio2,
                                                                     false, name)
            }
            DSM.SignalTransition { signal: detailsPopup.cancelClicked; targetState: initialState }
            DSM.SignalTransition { signal: page.closePopups; targetState: initialState }
        }

        DSM.State {
            id: pastedState
            onEntered: detailsPopup.visible = true
            onExited: detailsPopup.visible = false

            DSM.SignalTransition {
                signal: detailsPopup.okClicked
                targetState: initialState
                onTriggered: {
                    page.editDetailsLayout.setLayoutDetails(allUsers, usersString, desktop, phone, tablet, orientation,
                                                            allScenes, scenesString, fixedAspectRatio, aspectRatio1,
                                                            aspectRatio2, true, name)
                    page.config.acceptPendingPaste()
                }
            }
            DSM.SignalTransition {
                signal: detailsPopup.cancelClicked
                targetState: initialState
                onTriggered: page.config.discardPendingPaste()
            }
            DSM.SignalTransition {
                signal: page.closePopups
                targetState: initialState
                onTriggered: page.config.discardPendingPaste()
            }
        }
    }
}
