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

        function test_autoResizeRendersAnewOnceTheSizeSettles() {
            var image = createTemporaryObject(multilayerComponent, root, { multilayerImageAutoResize: true })
            var layer = image.addLayer(picture)
            tryCompare(layer, "status", Image.Ready)
            tryVerify(function() { return layer.vectorImageRenderSize.width === 100 })
            image.width = 300
            image.height = 150
            compare(layer.vectorImageRenderSize.width, 100)  // not on every change
            tryVerify(function() { return layer.vectorImageRenderSize.width === 300 })
            compare(layer.vectorImageRenderSize.height, 150)
        }

        function test_withoutAutoResizeOnlyResizeAllRendersAnew() {
            var image = createTemporaryObject(multilayerComponent, root)
            var layer = image.addLayer(picture)
            tryVerify(function() { return layer.vectorImageRenderSize.width === 100 })
            image.width = 300
            wait(150)
            compare(layer.vectorImageRenderSize.width, 100)
            image.resizeAll()
            compare(layer.vectorImageRenderSize.width, 300)
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }
}
