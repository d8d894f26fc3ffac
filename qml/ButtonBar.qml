import QtQuick 2.12
import QtQuick.Controls 2.12
import "Common"
import "EditorGeometry.js" as Geometry

// The layout editor's toolbar. Every action goes to the page, the layout or
// the application; the enabling follows the selection and the undo history.
Item {
    id: bar
    objectName: "buttonBar"

    property Item page: null
    property QtObject layout: page ? page.currentLayout : null
    property QtObject selectionManager: layout ? layout.selectionManager : null
    readonly property int selectionCount: selectionManager ? selectionManager.selectionCount : 0
    readonly property real separatorWidth: 10 * Math.max(0, (page ? page.width : 800) - 800) / (1920 - 800) + 10

    property alias viewComboBox: viewCombo
    property alias alignMenu: alignMenu
    property alias orderMenu: orderMenu
    property alias snapSpacingField: spacingField

    width: Math.min(900, page ? page.width : 900)
    height: 30

    function icon(name, enabled) {
        return "qrc:/Images/Icon_" + name + (enabled ? "" : "_Disabled") + ".svg"
    }

    Row {
        id: row
        anchors.centerIn: parent
        height: parent.height
        spacing: 0
        // At the smallest window the row is drawn a little smaller rather than cut off.
        scale: Math.min(1, bar.width / width)

        KelvariComboBox {
            id: viewCombo
            objectName: "viewComboBox"
            width: 180
            height: bar.height
            prefix: "View: "
            model: bar.page ? bar.page.viewChoices : []
            textRole: "text"
            onActivated: if (bar.page) bar.page.viewChosen(index)
        }

        Item { width: bar.separatorWidth; height: 1 }

        ToolbarButton {
            objectName: "playButton"
            width: 30; height: 30
            tooltipText: bar.page && bar.page.testWindowOpen ? "Stop" : "Play"
            source: bar.page && bar.page.testWindowOpen ? "qrc:/Images/Icon_Stop.svg" : "qrc:/Images/Icon_Play.svg"
            buttonEnabled: bar.layout !== null
            onClicked: bar.page.toggleTestWindow()
        }

        Item { width: bar.separatorWidth; height: 1 }

        ToolbarButton {
            objectName: "cutButton"
            width: 30; height: 30
            tooltipText: "Cut"
            buttonEnabled: bar.selectionCount >= 1
            source: bar.icon("Cut", buttonEnabled)
            onClicked: bar.layout.cutPressed()
        }
        ToolbarButton {
            objectName: "copyButton"
            width: 30; height: 30
            tooltipText: "Copy"
            buttonEnabled: bar.selectionCount >= 1
            source: bar.icon("Copy", buttonEnabled)
            onClicked: bar.layout.copyPressed()
        }
        ToolbarButton {
            objectName: "pasteButton"
            width: 30; height: 30
            tooltipText: "Paste"
            buttonEnabled: bar.layout !== null && bar.layout.isPasteAllowed
            source: bar.icon("Paste", buttonEnabled)
            onClicked: bar.layout.pastePressed()
        }

        Item { width: bar.separatorWidth; height: 1 }

        TextField {
            id: spacingField
            objectName: "snapSpacingField"
            width: 40
            height: bar.height
            text: _application.snapSpacing
            color: "#B3B3B3"
            font.pointSize: 11
            horizontalAlignment: Text.AlignHCenter
            selectByMouse: true
            validator: RegExpValidator { regExp: /^([1-9][0-9]?)$/ }
            background: Rectangle {
                color: "black"
                border.color: spacingField.activeFocus ? "#04FFC5" : "#4D4E4E"
            }
            onTextEdited: if (acceptableInput) _application.snapSpacing = parseInt(text, 10)
            onEditingFinished: text = Qt.binding(function() { return _application.snapSpacing })
            Keys.onUpPressed: event.accepted = true
            Keys.onDownPressed: event.accepted = true
            Keys.onTabPressed: if (bar.page) bar.page.forceActiveFocus()
            Keys.onBacktabPressed: if (bar.page) bar.page.forceActiveFocus()
        }
        ToolbarButton {
            objectName: "decreaseGridButton"
            width: 30; height: 30
            tooltipText: "Decrease Grid Size"
            source: bar.icon("DecreaseGridSize", true)
            onClicked: _application.snapSpacing = Geometry.decreasedGridSpacing(_application.snapSpacing)
        }
        ToolbarButton {
            objectName: "increaseGridButton"
            width: 30; height: 30
            tooltipText: "Increase Grid Size"
            source: bar.icon("IncreaseGridSize", true)
            onClicked: _application.snapSpacing = Geometry.increasedGridSpacing(_application.snapSpacing)
        }
        ToolbarButton {
            objectName: "snapToGridButton"
            width: 30; height: 30
            tooltipText: "Snap To Grid"
            source: bar.icon("SnapToGrid", true)
            onClicked: _application.snapToGrid = !_application.snapToGrid
            Rectangle {
                anchors.fill: parent
                color: "transparent"
                border.color: "#04FFC5"
                visible: _application.snapToGrid
            }
        }
        ToolbarButton {
            objectName: "showGridButton"
            width: 30; height: 30
            tooltipText: "Show/Hide Grid"
            source: bar.icon("ShowGrid", true)
            onClicked: bar.page.gridShown = !bar.page.gridShown
            Rectangle {
                anchors.fill: parent
                color: "transparent"
                border.color: "#04FFC5"
                visible: bar.page !== null && bar.page.gridShown
            }
        }
        ToolbarButton {
            objectName: "lightGridButton"
            width: 30; height: 30
            tooltipText: "Light/Dark Grid"
            buttonEnabled: bar.page !== null && bar.page.gridShown
            source: bar.icon("LightDarkGrid", buttonEnabled)
            onClicked: bar.page.lightGrid = !bar.page.lightGrid
        }

        Item { width: bar.separatorWidth; height: 1 }

        ToolbarButton {
            objectName: "fillHorizontallyButton"
            width: 30; height: 30
            tooltipText: "Fill Horizontally"
            buttonEnabled: bar.layout !== null
            source: bar.icon("FillHorizontally", buttonEnabled)
            onClicked: bar.layout.fillHorizontalPressed()
        }
        ToolbarButton {
            objectName: "fillVerticallyButton"
            width: 30; height: 30
            tooltipText: "Fill Vertically"
            buttonEnabled: bar.layout !== null
            source: bar.icon("FillVertically", buttonEnabled)
            onClicked: bar.layout.fillVerticalPressed()
        }
        ToolbarButton {
            id: alignButton
            objectName: "alignButton"
            width: 30; height: 30
            tooltipText: "Align"
            buttonEnabled: bar.selectionCount >= 2
            source: bar.icon("Align", buttonEnabled)
            onClicked: alignMenu.open()

            Menu {
                id: alignMenu
                topPadding: 4
                bottomPadding: 4
                background: Rectangle { implicitWidth: 240; color: "black"; border.color: "#262626" }
                objectName: "alignMenu"
                y: alignButton.height

                CustomMenuItem {
                    text: "Align Left"
                    iconSource: bar.icon("AlignLeft", true)
                    disabledIconSource: bar.icon("AlignLeft", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignLeftPressed()
                }
                CustomMenuItem {
                    text: "Align Center"
                    iconSource: bar.icon("AlignVCentre", true)
                    disabledIconSource: bar.icon("AlignVCentre", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignVCentrePressed()
                }
                CustomMenuItem {
                    text: "Align Right"
                    iconSource: bar.icon("AlignRight", true)
                    disabledIconSource: bar.icon("AlignRight", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignRightPressed()
                }
                CustomMenuSeparator {}
                CustomMenuItem {
                    text: "Align Top"
                    iconSource: bar.icon("AlignTop", true)
                    disabledIconSource: bar.icon("AlignTop", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignTopPressed()
                }
                CustomMenuItem {
                    text: "Align Center"
                    iconSource: bar.icon("AlignHCentre", true)
                    disabledIconSource: bar.icon("AlignHCentre", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignHCentrePressed()
                }
                CustomMenuItem {
                    text: "Align Bottom"
                    iconSource: bar.icon("AlignBottom", true)
                    disabledIconSource: bar.icon("AlignBottom", false)
                    enabled: bar.selectionCount >= 2
                    onTriggered: bar.layout.alignBottomPressed()
                }
                CustomMenuSeparator {}
                CustomMenuItem {
                    text: "Distribute Horizontally"
                    iconSource: bar.icon("DistributeHorizontally", true)
                    disabledIconSource: bar.icon("DistributeHorizontally", false)
                    enabled: bar.selectionCount >= 3
                    onTriggered: bar.layout.distributeHPressed()
                }
                CustomMenuItem {
                    text: "Distribute Vertically"
                    iconSource: bar.icon("DistributeVertically", true)
                    disabledIconSource: bar.icon("DistributeVertically", false)
                    enabled: bar.selectionCount >= 3
                    onTriggered: bar.layout.distributeVPressed()
                }
            }
        }
        ToolbarButton {
            id: orderButton
            objectName: "orderButton"
            width: 30; height: 30
            tooltipText: "Order"
            buttonEnabled: bar.selectionCount >= 1
            source: bar.icon("Order", buttonEnabled)
            onClicked: orderMenu.open()

            Menu {
                id: orderMenu
                topPadding: 4
                bottomPadding: 4
                background: Rectangle { implicitWidth: 240; color: "black"; border.color: "#262626" }
                objectName: "orderMenu"
                y: orderButton.height

                CustomMenuItem {
                    text: "Bring to Front"
                    iconSource: bar.icon("BringToFront", true)
                    disabledIconSource: bar.icon("BringToFront", false)
                    enabled: bar.selectionCount >= 1
                    onTriggered: bar.layout.sendToFrontPressed()
                }
                CustomMenuItem {
                    text: "Bring Forwards"
                    iconSource: bar.icon("BringForwards", true)
                    disabledIconSource: bar.icon("BringForwards", false)
                    enabled: bar.selectionCount >= 1
                    onTriggered: bar.layout.bringForwardPressed()
                }
                CustomMenuItem {
                    text: "Send To Back"
                    iconSource: bar.icon("SendToBack", true)
                    disabledIconSource: bar.icon("SendToBack", false)
                    enabled: bar.selectionCount >= 1
                    onTriggered: bar.layout.sendToBackPressed()
                }
                CustomMenuItem {
                    text: "Send Backwards"
                    iconSource: bar.icon("SendBackwards", true)
                    disabledIconSource: bar.icon("SendBackwards", false)
                    enabled: bar.selectionCount >= 1
                    onTriggered: bar.layout.sendBackwardPressed()
                }
            }
        }

        Item { width: bar.separatorWidth; height: 1 }

        ToolbarButton {
            objectName: "undoButton"
            width: 30; height: 30
            tooltipText: "Undo"
            buttonEnabled: bar.layout !== null && bar.layout.hasUndo
            source: bar.icon("Undo", buttonEnabled)
            onClicked: bar.layout.undoPressed()
        }
        ToolbarButton {
            objectName: "redoButton"
            width: 30; height: 30
            tooltipText: "Redo"
            buttonEnabled: bar.layout !== null && bar.layout.hasRedo
            source: bar.icon("Redo", buttonEnabled)
            onClicked: bar.layout.redoPressed()
        }

        Item { width: bar.separatorWidth; height: 1 }

        ToolbarButton {
            objectName: "zoomOutButton"
            width: 30; height: 30
            tooltipText: "Zoom Out"
            source: bar.icon("ZoomOut", true)
            onClicked: bar.page.zoomAboutCentre(-0.1)
        }
        Slider {
            id: zoomSlider
            objectName: "zoomSlider"
            width: 80
            height: bar.height
            from: Geometry.minimumZoom
            to: Geometry.maximumZoom
            value: bar.page ? bar.page.zoomFactor : 0.8
            focusPolicy: Qt.NoFocus
            onMoved: bar.page.zoomAboutCentre(value - bar.page.zoomFactor)

            background: Rectangle {
                x: zoomSlider.leftPadding
                y: zoomSlider.topPadding + zoomSlider.availableHeight / 2 - height / 2
                width: zoomSlider.availableWidth
                height: 3
                radius: 1.5
                color: "#4D4E4E"
            }
            handle: Rectangle {
                x: zoomSlider.leftPadding + zoomSlider.visualPosition * (zoomSlider.availableWidth - width)
                y: zoomSlider.topPadding + zoomSlider.availableHeight / 2 - height / 2
                width: 12
                height: 12
                radius: 6
                color: zoomSlider.pressed ? "#04FFC5" : "#B3B3B3"
            }
        }
        ToolbarButton {
            objectName: "zoomInButton"
            width: 30; height: 30
            tooltipText: "Zoom In"
            source: bar.icon("ZoomIn", true)
            onClicked: bar.page.zoomAboutCentre(0.1)
        }
        ToolbarButton {
            objectName: "zoomToFitButton"
            width: 30; height: 30
            tooltipText: "Zoom To Fit"
            source: bar.icon("ZoomToFit", true)
            onClicked: bar.page.zoomToFit()
        }
    }
}
