import QtQuick 2.12
import QtQml 2.14
import "../Common"

// The root of every widget component: places the item from its widget's
// fractions and, in the editor or the test window, adds the overlays.
Item {
    id: widgetBase
    objectName: "widgetBase"

    property real defaultWidthFraction
    property real defaultHeightFraction
    property QtObject cppWidget: null
    property QtObject layout: null
    property string widgetType: cppWidget ? cppWidget.type : ""
    property bool editor: false
    property bool runner: false
    property Item editContent: null

    readonly property bool overlayDragActive: editOverlay.item ? editOverlay.item.dragActive === true : false
    readonly property bool overlayHovered: editOverlay.item ? editOverlay.item.hovered === true : false
    readonly property real parentWidth: parent ? parent.width : 0
    readonly property real parentHeight: parent ? parent.height : 0

    z: cppWidget ? cppWidget.z : 0
    width: (cppWidget ? cppWidget.widthFraction : defaultWidthFraction) * parentWidth
    height: (cppWidget ? cppWidget.heightFraction : defaultHeightFraction) * parentHeight

    // While the edit overlay drags the item it moves it itself.
    Binding {
        target: widgetBase
        property: "x"
        value: (widgetBase.cppWidget ? widgetBase.cppWidget.xFraction : widgetBase.defaultWidthFraction)
               * widgetBase.parentWidth
        when: !widgetBase.overlayDragActive
        restoreMode: Binding.RestoreBinding
    }
    Binding {
        target: widgetBase
        property: "y"
        value: (widgetBase.cppWidget ? widgetBase.cppWidget.yFraction : widgetBase.defaultHeightFraction)
               * widgetBase.parentHeight
        when: !widgetBase.overlayDragActive
        restoreMode: Binding.RestoreBinding
    }

    Loader {
        id: editOverlay
        anchors.fill: parent
        z: 1
        active: widgetBase.editor
        source: "EditWidgetOverlay.qml"
        onLoaded: {
            item.widget = widgetBase
            item.cppWidget = Qt.binding(function() { return widgetBase.cppWidget })
            item.layout = Qt.binding(function() { return widgetBase.layout })
            item.editContent = Qt.binding(function() { return widgetBase.editContent })
        }
    }

    onOverlayHoveredChanged: if (overlayHovered) hoverFrameLoader.active = true

    // Made on the first hover, then kept for its fading.
    Loader {
        id: hoverFrameLoader
        objectName: "hoverFrame"
        anchors.fill: parent
        z: 2
        active: false
        sourceComponent: DashedFrame {
            id: hoverFrame
            source: "qrc:/Images/borderImageDashedBlue.png"
            state: widgetBase.overlayHovered ? "visible" : "hidden"
            states: [
                State { name: "hidden"; PropertyChanges { target: hoverFrame; opacity: 0 } },
                State { name: "visible"; PropertyChanges { target: hoverFrame; opacity: 0.75 } }
            ]
            transitions: Transition { NumberAnimation { property: "opacity"; duration: 250 } }
        }
    }

    // Made only while selected: a page of many widgets builds faster without a frame each.
    Loader {
        objectName: "selectionFrame"
        anchors.fill: parent
        z: 2
        active: widgetBase.editor && widgetBase.cppWidget !== null && widgetBase.cppWidget.selected
        sourceComponent: DashedFrame {}
    }

    Loader {
        objectName: "disabledOverlay"
        anchors.fill: parent
        z: 1
        active: widgetBase.runner
        sourceComponent: Item {
            visible: widgetBase.cppWidget ? widgetBase.cppWidget.disabled : false

            // A disabled widget takes no presses.
            MouseArea {
                anchors.fill: parent
                acceptedButtons: Qt.AllButtons
            }
            Image {
                anchors.fill: parent
                source: "qrc:/disabledWidget"
                sourceSize: Qt.size(75, 75)
                fillMode: Image.Tile
                opacity: 0.75
            }
        }
    }
}
