import QtQuick 2.12

// A place a dragged widget can fall into: the canvas or a page of a container.
// The layout finds it by its registration and sets "highlight" while a widget
// is dragged over it.
Item {
    id: dropArea

    property QtObject widgetBase: null
    property QtObject layout: widgetBase ? widgetBase.layout : null
    property Item container: null
    property int containerLocation: -1
    property bool highlight: false
    property QtObject cppWidget: widgetBase ? widgetBase.cppWidget : null
    property bool disableHighlight: false

    anchors.fill: parent

    function register() {
        if (layout)
            layout.registerDropArea(dropArea)
    }

    onLayoutChanged: register()
    Component.onCompleted: register()

    Rectangle {
        anchors.fill: parent
        anchors.margins: 1
        color: "transparent"
        border.color: "red"
        border.width: 1
        visible: dropArea.highlight && !dropArea.disableHighlight
    }
}
