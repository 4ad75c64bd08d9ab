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

    // Adds a layer that covers the whole item and returns it.
    function addLayer(url) {
        return multilayerImageAppend(multilayerImageLayerComponent, url)
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
        id: multilayerImageMoveableLayerComponent
        VectorImage {
            x: 0
            y: 0
            width: parent ? parent.width : 0
            height: parent ? parent.height : 0
        }
    }
}
