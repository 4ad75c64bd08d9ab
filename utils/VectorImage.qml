import QtQuick 2.5
import QtQuick.Window 2.2

// An image item that draws an SVG picture sharply at the size it is shown.
//
// The picture is rasterised at the item's size; Qt renders an SVG's sourceSize at the window's
// device pixel ratio, so that the raster has a pixel for every pixel of the screen, and renders it
// anew when the window moves to a screen of another ratio.
//
// A picture is rasterised when it is first shown (visible, in a window, with a size): until then it
// is loaded as a single pixel, so that layers that have not been seen yet (a lamp that is off, a
// pressed look, a view that has not been opened) take no memory. Once shown, it keeps its raster
// while it is hidden.
//
// When the size changes, the raster follows once the size has settled, so that a window being
// resized does not re-render on every frame; in between, the last raster is scaled. With
// vectorImageAutoResize it follows every change of a whole pixel; without it, only a change of more
// than vectorImageTolerance, so that large layers are not rendered anew for small changes.
// vectorImageRender() renders a shown picture at its current size at once.
Image {
    id: vectorImage

    property bool vectorImageAutoResize: false
    // The size of the current raster, in the item's pixels; empty until the picture is first shown.
    property size vectorImageRenderSize: Qt.size(0, 0)
    // Without auto-resize: by how much, as a fraction of the raster's size, the shown size may
    // differ before the picture is rendered anew.
    property real vectorImageTolerance: 0.1

    // True while a new size waits to settle before the picture is rendered at it.
    readonly property bool vectorImageRenderPending: vectorImageResizeTimer.running
    // Set once the creator has had its say: a layer made visible at creation and hidden by its
    // creator right after is not rasterised in between.
    property bool vectorImageSettled: false

    // Whether the picture is shown: visible, in a window, with a size. Every item up the tree is
    // asked, because while an item is being moved into a hidden one, the items below it still tell
    // of where they were.
    function vectorImageIsShown() {
        if (!vectorImageSettled || width <= 0 || height <= 0 || Window.window === null)
            return false
        for (var item = vectorImage; item; item = item.parent) {
            if (!item.visible)
                return false
        }
        return true
    }

    function vectorImageRender() {
        if (vectorImageIsShown())
            vectorImageRenderSize = Qt.size(Math.ceil(width), Math.ceil(height))
    }

    // Whether the shown size has left the raster's by more than the tolerance.
    function vectorImageOutgrown() {
        var tolerance = vectorImageAutoResize ? 0 : vectorImageTolerance
        var raster = vectorImageRenderSize
        return Math.abs(Math.ceil(width) - raster.width) > tolerance * raster.width
            || Math.abs(Math.ceil(height) - raster.height) > tolerance * raster.height
    }

    function vectorImageSizeChanged() {
        if (vectorImageRenderSize.width <= 0) {
            // Shown for the first time: rasterised before the frame that shows it.
            vectorImageRender()
            return
        }
        if (!vectorImageIsShown())
            return
        if (vectorImageOutgrown())
            vectorImageResizeTimer.restart()
        else
            vectorImageResizeTimer.stop()
    }

    // Until it is first shown the picture is loaded as a single pixel: it must not be rasterised at
    // its own page size, nor at a size at which nobody sees it.
    sourceSize: vectorImageRenderSize.width > 0 ? vectorImageRenderSize : Qt.size(1, 1)
    fillMode: Image.Stretch
    smooth: true

    Component.onCompleted: Qt.callLater(function() { vectorImage.vectorImageSettled = true })
    onWidthChanged: vectorImageSizeChanged()
    onHeightChanged: vectorImageSizeChanged()
    onVisibleChanged: vectorImageSizeChanged()
    onVectorImageSettledChanged: vectorImageSizeChanged()
    Window.onWindowChanged: vectorImageSizeChanged()

    Timer {
        id: vectorImageResizeTimer
        interval: 80
        onTriggered: vectorImage.vectorImageRender()
    }
}
