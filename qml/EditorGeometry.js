.pragma library

// The arithmetic of the layout editor's canvas, grid and toolbar.

var minimumZoom = 0.1
var maximumZoom = 3.0

// The canvas size for a view ratio (width / height): the longer side is 1024 × zoom.
function canvasSize(ratio, zoom) {
    return {
        width: (ratio >= 1 ? 1 : ratio) * 1024 * zoom,
        height: (ratio < 1 ? 1 : 1 / ratio) * 1024 * zoom
    }
}

function clampZoom(zoom) {
    return Math.max(minimumZoom, Math.min(maximumZoom, zoom))
}

// The nearest grid line.
function snap(position, spacing) {
    if (!(spacing > 0))
        return position
    return Math.floor((position + spacing / 2) / spacing) * spacing
}

// Below the nearest grid line (for placing a dragged toolbox item).
function snapDown(position, spacing) {
    if (!(spacing > 0))
        return position
    return Math.floor(position / spacing) * spacing
}

function decreasedGridSpacing(spacing) {
    if (spacing >= 99)
        return 95
    if (spacing > 5)
        return spacing - 5
    return 1
}

function increasedGridSpacing(spacing) {
    if (spacing <= 1)
        return 5
    if (spacing < 95)
        return spacing + 5
    return 99
}

// A nudge from a position: one spacing, or with snapping to the next grid
// line in that direction (a line within half a pixel counts as the current one).
function nudgeDelta(position, spacing, direction, snapping) {
    if (!snapping || !(spacing > 0))
        return direction * spacing
    if (direction < 0)
        return Math.floor((position - 0.5) / spacing) * spacing - position
    return Math.ceil((position + 0.5) / spacing) * spacing - position
}

// The standard view choices; a layout with a fixed ratio puts its own first.
var standardViews = [
    { text: "Landscape 4:3", ratio: 4 / 3 },
    { text: "Landscape 16:9", ratio: 16 / 9 },
    { text: "Portrait 3:4", ratio: 3 / 4 },
    { text: "Portrait 9:16", ratio: 9 / 16 }
]

function hasFixedView(layout) {
    return layout !== null && layout !== undefined && layout.fixedAspectRatio
           && layout.aspectRatio1 > 0 && layout.aspectRatio2 > 0
}

function viewChoices(layout) {
    var choices = standardViews.slice()
    if (hasFixedView(layout))
        choices.unshift({ text: layout.aspectRatio1 + ":" + layout.aspectRatio2,
                          ratio: layout.aspectRatio1 / layout.aspectRatio2 })
    return choices
}

// The standard view (0 to 3) a layout is shown at when the page is built;
// storedIndex is the user's last choice, counted without a fixed ratio.
function standardViewIndex(layout, storedIndex) {
    if (!layout || layout.desktop)
        return storedIndex
    if (layout.orientation === 1)
        return layout.tablet ? 2 : (layout.phone ? 3 : storedIndex)
    if (layout.orientation === 2)
        return layout.tablet ? 0 : (layout.phone ? 1 : storedIndex)
    return storedIndex
}

// The combo box index for that: a fixed ratio is shown first.
function viewIndex(layout, storedIndex) {
    if (hasFixedView(layout))
        return 0
    var index = standardViewIndex(layout, storedIndex)
    return index >= 0 && index < standardViews.length ? index : 0
}

// The zoom that fits the canvas into the view with a pixel to spare each side.
function zoomToFit(zoom, viewWidth, viewHeight, canvasWidth, canvasHeight) {
    return clampZoom(Math.min(zoom * (viewWidth - 2) / canvasWidth, zoom * (viewHeight - 2) / canvasHeight))
}
