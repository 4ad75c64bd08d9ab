import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1

// Pictures on the screen are as sharp as the SVG rendered straight at their size in the screen's
// pixels, not an upscaled bitmap. The test command runs this file at the default scale and again at
// QT_SCALE_FACTOR=2.
Rectangle {
    id: root
    width: 420
    height: 320
    color: "black"

    readonly property string pictures: "qrc:/JOLV/ZUV-VirtualPlatformCore/images/"

    Component {
        id: layersComponent
        MultilayerImage {}
    }

    Component {
        id: pictureComponent
        VectorImage { vectorImageAutoResize: true }
    }

    TestCase {
        name: "Sharpness"
        when: windowShown

        function test_shownAtTheScreensPixels_data() {
            return [
                { tag: "module layer", component: layersComponent, layer: true, width: 400, height: 300,
                  picture: "svg-multilayer-extracted/zuv-modules_generic_discovery_board.svg" },
                { tag: "module layer after a resize", component: layersComponent, layer: true, width: 200, height: 150,
                  resizedTo: 400, picture: "svg-multilayer-extracted/zuv-modules_generic_discovery_board.svg" },
                { tag: "control picture after a resize", component: pictureComponent, width: 100, height: 100,
                  resizedTo: 300, picture: "svg-multilayer-extracted/temperature-control_gauge.svg" },
                { tag: "menu icon", component: pictureComponent, width: 60, height: 60,
                  picture: "svg/menu_panel_can_icon.svg" }
            ]
        }

        // Whether the picture has been loaded for what the item shows now.
        function drawn(image) {
            return image.vectorImageSettled && !image.vectorImageRenderPending && image.status === Image.Ready
        }

        function test_shownAtTheScreensPixels(data) {
            var url = pictures + data.picture
            var item = createTemporaryObject(data.component, root, { width: data.width, height: data.height })
            var image = data.layer ? item.addLayer(url) : item
            if (!data.layer)
                item.source = url
            tryVerify(function() { return drawn(image) })
            if (data.resizedTo) {
                item.width = data.resizedTo
                item.height = data.resizedTo * data.height / data.width
                tryVerify(function() { return drawn(image) })
            }

            var ratio = qmlTestPictures.devicePixelRatio(image)
            compare(ratio, qmlTestPictures.requestedScale())
            var grabbed = null
            verify(image.grabToImage(function(result) { grabbed = result.image },
                                     Qt.size(image.width * ratio, image.height * ratio)))
            tryVerify(function() { return grabbed !== null })
            var seen = qmlTestPictures.compareWithPicture(image, grabbed, url)
            verify(seen.difference < 0.5, seen.difference + " % of the pixels differ from the picture rendered at their size")
            // The pictures have detail enough that an upscaled bitmap would tell.
            if (ratio > 1)
                verify(seen.upscaledDifference > 4 * seen.difference + 1,
                       "as close to an upscaled bitmap (" + seen.upscaledDifference + " % differ) as to the picture ("
                       + seen.difference + " %)")
        }
    }
}
