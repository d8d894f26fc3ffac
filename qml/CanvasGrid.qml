import QtQuick 2.12

// Grid lines every spacing across the visible part of the view, passing
// through the canvas's top and left edges; drawn on top, taking no input.
Canvas {
    id: grid

    property real spacingX: 10
    property real spacingY: 10
    // The canvas's top-left corner in this item's coordinates.
    property real originX: 0
    property real originY: 0
    property color lineColour: Qt.rgba(0, 0, 0, 0.2)

    onSpacingXChanged: requestPaint()
    onSpacingYChanged: requestPaint()
    onOriginXChanged: requestPaint()
    onOriginYChanged: requestPaint()
    onLineColourChanged: requestPaint()
    onVisibleChanged: if (visible) requestPaint()

    onPaint: {
        var context = getContext("2d")
        context.reset()
        if (!(spacingX > 0) || !(spacingY > 0))
            return
        context.fillStyle = lineColour
        var x = originX - Math.floor(originX / spacingX) * spacingX
        for (; x < width; x += spacingX)
            context.fillRect(Math.round(x), 0, 1, height)
        var y = originY - Math.floor(originY / spacingY) * spacingY
        for (; y < height; y += spacingY)
            context.fillRect(0, Math.round(y), width, 1)
    }
}
