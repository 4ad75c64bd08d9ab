import QtQuick 2.5

// Stacks picture layers of one drawing. Every layer is a VectorImage child of this item; a layer
// added later lies above the layers added before it at equal z. Declared children stack with the
// layers by z.
Item {
    id: multilayerImage

    // true: every layer renders anew whenever the item's size has settled at a new size; false: only
    // once it differs by more than the layers' tolerance (a tenth), or on resizeAll().
    property bool multilayerImageAutoResize: false
    property var multilayerImageLayers: []

    // Adds a layer that covers the whole item and returns it. With an area (a rect whose x, y,
    // width and height are fractions of the item's), the layer is drawn within that area only: a
    // layer whose picture draws a small part of the page then repaints only that part when it is
    // shown or hidden. Its z orders it among the other layers as for any layer.
    function addLayer(url, area) {
        if (!area)
            return multilayerImageAppend(multilayerImageLayerComponent, url)
        var clipped = multilayerImageClippedLayerComponent.createObject(multilayerImage, { "area": area })
        clipped.clippedLayerPicture.source = url
        clipped.clippedLayerPicture.vectorImageAutoResize = Qt.binding(function() { return multilayerImage.multilayerImageAutoResize })
        multilayerImageLayers.push(clipped.clippedLayerPicture)
        return clipped.clippedLayerPicture
    }

    // Adds a layer of the item's size that is not anchored: it starts at (0, 0) and is moved
    // through x and y.
    function addLayerMoveable(url) {
        return multilayerImageAppend(multilayerImageMoveableLayerComponent, url)
    }

    // Renders every layer that has been shown anew at the item's current size.
    function resizeAll() {
        for (var i = 0; i < multilayerImageLayers.length; ++i)
            multilayerImageLayers[i].vectorImageRender()
    }

    function multilayerImageAppend(component, url) {
        var layer = component.createObject(multilayerImage, {
            "source": url,
            "vectorImageAutoResize": Qt.binding(function() { return multilayerImage.multilayerImageAutoResize })
        })
        multilayerImageLayers.push(layer)
        return layer
    }

    Component {
        id: multilayerImageLayerComponent
        VectorImage {
            anchors.fill: parent
        }
    }

    Component {
        id: multilayerImageClippedLayerComponent
        Item {
            id: clippedLayer
            property rect area
            readonly property alias clippedLayerPicture: clippedLayerImage
            x: area.x * multilayerImage.width
            y: area.y * multilayerImage.height
            width: area.width * multilayerImage.width
            height: area.height * multilayerImage.height
            z: clippedLayerImage.z
            clip: true
            VectorImage {
                id: clippedLayerImage
                x: -clippedLayer.x
                y: -clippedLayer.y
                width: multilayerImage.width
                height: multilayerImage.height
            }
        }
    }

    Component {
        id: multilayerImageMoveableLayerComponent
        VectorImage {
            x: 0
            y: 0
            width: parent ? parent.width : 0
            height: parent ? parent.height : 0
        }
    }
}
