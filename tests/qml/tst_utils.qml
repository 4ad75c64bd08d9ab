import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1

Item {
    id: root
    width: 400
    height: 300

    readonly property url picture: Qt.resolvedUrl("data/square.svg")

    Component {
        id: aspectComponent
        Item {
            property alias inner: inner
            AspectRatioItem {
                id: inner
                aspectRatioWidth: 800
                aspectRatioHeight: 480
            }
        }
    }

    Component {
        id: clickableComponent
        Item {
            property alias area: area
            width: 200
            height: 100
            ClickableArea {
                id: area
                xRelative: 0.25
                yRelative: 0.5
                widthRelative: 0.1
                heightRelative: 0.2
            }
        }
    }

    Component {
        id: multilayerComponent
        MultilayerImage {
            width: 100
            height: 50
        }
    }

    TestCase {
        name: "UtilityTypes"
        when: windowShown

        function test_aspectRatio_data() {
            return [
                { tag: "wide parent", w: 1000, h: 300, expectedW: 500, expectedH: 300 },
                { tag: "tall parent", w: 400, h: 1000, expectedW: 400, expectedH: 240 },
                { tag: "exact parent", w: 800, h: 480, expectedW: 800, expectedH: 480 }
            ]
        }

        function test_aspectRatio(data) {
            var holder = createTemporaryObject(aspectComponent, root, { width: data.w, height: data.h })
            compare(holder.inner.width, data.expectedW)
            compare(holder.inner.height, data.expectedH)
            compare(holder.inner.x, (data.w - data.expectedW) / 2)
            compare(holder.inner.y, (data.h - data.expectedH) / 2)
        }

        function test_clickableAreaPlacement_data() {
            return [
                { tag: "plain", mirrored: false, x: 40, y: 40 },
                { tag: "mirrored", mirrored: true, x: 140, y: 40 }
            ]
        }

        function test_clickableAreaPlacement(data) {
            var holder = createTemporaryObject(clickableComponent, root)
            holder.area.updatePositionAndSize(data.mirrored)
            compare(holder.area.width, 20)
            compare(holder.area.height, 20)
            compare(holder.area.x, data.x)
            compare(holder.area.y, data.y)
            // After a resize the fractions are applied to the new size.
            holder.width = 400
            holder.area.updatePositionAndSize(data.mirrored)
            compare(holder.area.width, 40)
            compare(holder.area.x, data.x * 2)
        }

        function test_clickableAreaReportsItself() {
            var holder = createTemporaryObject(clickableComponent, root)
            holder.area.updatePositionAndSize(false)
            var spy = createTemporaryObject(spyComponent, root, { target: holder.area, signalName: "clickableAreaClicked" })
            mouseClick(holder, 50, 50)
            compare(spy.count, 1)
            compare(spy.signalArguments[0][0], holder.area)
            mouseClick(holder, 150, 50)
            compare(spy.count, 1)
        }

        function test_layersStackInOrderOfAddition() {
            var image = createTemporaryObject(multilayerComponent, root)
            var first = image.addLayer(picture)
            var second = image.addLayer(picture)
            var moveable = image.addLayerMoveable(picture)
            compare(image.multilayerImageLayers.length, 3)
            compare(image.children[image.children.length - 3], first)
            compare(image.children[image.children.length - 2], second)
            compare(image.children[image.children.length - 1], moveable)
            compare(first.width, 100)
            compare(moveable.width, 100)
            moveable.x = -30
            compare(moveable.x, -30)
            image.width = 200
            compare(first.width, 200)
            compare(moveable.width, 200)
        }

        function test_rasterFollowsTheSettledSize_data() {
            return [
                { tag: "auto-resize, small change", auto: true, width: 104, rendered: 104 },
                { tag: "auto-resize, large change", auto: true, width: 300, rendered: 300 },
                { tag: "without, small change", auto: false, width: 104, rendered: 100 },
                { tag: "without, large change", auto: false, width: 300, rendered: 300 },
                { tag: "without, shrunk", auto: false, width: 50, rendered: 50 }
            ]
        }

        // The raster follows a new size once it has settled, not on every change on the way;
        // without auto-resize only a change beyond the tolerance counts.
        function test_rasterFollowsTheSettledSize(data) {
            var image = createTemporaryObject(multilayerComponent, root, { multilayerImageAutoResize: data.auto })
            var layer = image.addLayer(picture)
            tryCompare(layer, "vectorImageRenderSize", Qt.size(100, 50))
            image.width = data.width
            image.height = data.width / 2
            compare(layer.vectorImageRenderSize.width, 100)  // not at once
            tryCompare(layer, "vectorImageRenderPending", false)
            compare(layer.vectorImageRenderSize, Qt.size(data.rendered, data.rendered / 2))
            image.resizeAll()
            compare(layer.vectorImageRenderSize, Qt.size(data.width, data.width / 2))
        }

        // A layer that has not been shown is held as a single pixel and rasterised when it is shown,
        // before the frame that shows it; hidden again, it keeps its raster.
        function test_rasterisedWhenFirstShown() {
            var image = createTemporaryObject(multilayerComponent, root, { visible: false })
            var layer = image.addLayer(picture)
            tryCompare(layer, "vectorImageSettled", true)
            compare(layer.status, Image.Ready)
            compare(layer.vectorImageRenderSize.width, 0)
            compare(layer.implicitWidth, 1)
            image.resizeAll()
            compare(layer.vectorImageRenderSize.width, 0)
            image.visible = true
            compare(layer.vectorImageRenderSize, Qt.size(100, 50))
            compare(layer.implicitWidth, 100)
            image.visible = false
            compare(layer.implicitWidth, 100)
            // Not in a window, or moved into a hidden item: not shown, whatever its own visibility.
            var outside = createTemporaryObject(multilayerComponent, null)
            var unseen = outside.addLayer(picture)
            tryCompare(unseen, "vectorImageSettled", true)
            compare(unseen.vectorImageRenderSize.width, 0)
            outside.parent = createTemporaryObject(hiddenComponent, root)
            compare(unseen.vectorImageRenderSize.width, 0)
            outside.parent = root
            compare(unseen.vectorImageRenderSize, Qt.size(100, 50))
        }
    }

    Component {
        id: hiddenComponent
        Item { visible: false }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }
}
