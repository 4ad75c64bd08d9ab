import QtQuick 2.5
import QtQuick.Window 2.2

// An image item that draws an SVG picture sharply at the size it is shown.
//
// The picture is rasterised once the item has a size, at that size times the screen's device
// pixel ratio. With vectorImageAutoResize it is rasterised anew whenever the size changes, once the
// size has settled, so that a window being resized does not re-render on every frame; in between,
// the last raster is scaled. Without it, it is rasterised anew only through vectorImageRender().
Image {
    id: vectorImage

    property bool vectorImageAutoResize: false
    // The size of the current raster, in device pixels; empty until the first rendering.
    property size vectorImageRenderSize: Qt.size(0, 0)

    function vectorImageRender() {
        var ratio = Screen.devicePixelRatio > 0 ? Screen.devicePixelRatio : 1
        var w = Math.ceil(width * ratio)
        var h = Math.ceil(height * ratio)
        if (w > 0 && h > 0)
            vectorImageRenderSize = Qt.size(w, h)
    }

    function vectorImageSizeChanged() {
        if (vectorImageRenderSize.width <= 0)
            Qt.callLater(vectorImageRender)
        else if (vectorImageAutoResize)
            vectorImageResizeTimer.restart()
    }

    // Until the first rendering the picture is loaded as a single pixel: a picture must not be
    // rasterised at its own page size only to be thrown away once the item's size is known.
    sourceSize: vectorImageRenderSize.width > 0 ? vectorImageRenderSize : Qt.size(1, 1)
    fillMode: Image.Stretch
    smooth: true

    onWidthChanged: vectorImageSizeChanged()
    onHeightChanged: vectorImageSizeChanged()
    Component.onCompleted: vectorImageSizeChanged()

    Timer {
        id: vectorImageResizeTimer
        interval: 80
        onTriggered: vectorImage.vectorImageRender()
    }
}
