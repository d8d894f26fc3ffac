import QtQuick 2.15

// A dashed line two pixels wide along the inside of the item's edges, cut
// from the 12 x 12 frame pictures. Only the four edges are tiled: a picture
// tiled over the whole area, transparent middle included, makes so many tiles
// that the scene graph, batching several frames, draws stray red triangles.
Item {
    id: frame

    property url source: "qrc:/Images/borderImageDashedRed.png"

    readonly property int lineWidth: 2
    // One dash and one gap of the pictures' edge, along and across it.
    readonly property rect alongX: Qt.rect(0, 0, 4, lineWidth)
    readonly property rect alongY: Qt.rect(0, 0, lineWidth, 4)

    component Edge: Image {
        source: frame.source
        fillMode: Image.Tile
        smooth: false
    }

    Edge { width: frame.width; height: frame.lineWidth; sourceClipRect: frame.alongX }
    Edge { y: frame.height - height; width: frame.width; height: frame.lineWidth; sourceClipRect: frame.alongX }
    Edge { width: frame.lineWidth; height: frame.height; sourceClipRect: frame.alongY }
    Edge { x: frame.width - width; width: frame.lineWidth; height: frame.height; sourceClipRect: frame.alongY }
}
