import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../Components"
import "../../Theme"

// The generic microcontroller board that every module carries: the module base with the board
// mounted on it, its push button and its four LEDs (left, up, right, down). It is the base type of
// every module view, which adds its own layers after these in its own completion step.
//
// The layers are rendered anew only when the module's size has changed by more than a tenth (see
// VectorImage), or on resizeAll().
MultilayerImage {
    id: genericModule

    property real genericModuleScaleFactor: 1.318

    property bool genericModuleLightLeft: false
    property bool genericModuleLightUp: false
    property bool genericModuleLightRight: false
    property bool genericModuleLightDown: false

    property alias genericModuleButtonPressed: genericModuleButtonArea.clickAreaPressed
    property alias genericModuleButtonClickArea: genericModuleButtonArea
    property alias genericModuleBaseMouseClickDebugAreaEnabled: genericModuleMouseClickDebugArea.enabled

    property VectorImage genericModuleBaseImage: null
    property VectorImage genericModuleDiscoveryBoardImage: null
    property VectorImage genericModuleButtonPressedImage: null
    property VectorImage genericModuleLightLeftImage: null
    property VectorImage genericModuleLightUpImage: null
    property VectorImage genericModuleLightRightImage: null
    property VectorImage genericModuleLightDownImage: null

    // Adds the module picture fileName as the next layer at z; visibleWhen, if given, is a function
    // whose value the layer's visibility follows. A lamp or a pressed look is drawn within its area
    // of the page only (see the Theme).
    function genericModuleAddLayer(fileName, layerZ, visibleWhen) {
        var layer = addLayer(Theme.themeImagePath + fileName, Theme.themeModuleLayerArea(fileName))
        layer.z = layerZ
        if (visibleWhen)
            layer.visible = Qt.binding(visibleWhen)
        return layer
    }

    function genericModuleUpdateHeight() {
        height = width / genericModuleScaleFactor
    }

    multilayerImageAutoResize: false

    onWidthChanged: genericModuleUpdateHeight()
    onGenericModuleScaleFactorChanged: genericModuleUpdateHeight()

    ClickArea {
        id: genericModuleButtonArea
        z: 2
        width: 0.15 * genericModule.width
        height: 0.15 * genericModule.width
        centeredItemCenterX: 0.235 * genericModule.width
        centeredItemCenterY: 0.610 * genericModule.height
        clickAreaRingBackgroundEnabled: true
    }

    MouseClickDebugArea {
        id: genericModuleMouseClickDebugArea
        anchors.fill: parent
        z: 1
        enabled: false
    }

    Component.onCompleted: {
        genericModuleUpdateHeight()
        genericModuleBaseImage = genericModuleAddLayer("zuv-modules_generic.svg", 0)
        genericModuleDiscoveryBoardImage = genericModuleAddLayer("zuv-modules_generic_discovery_board.svg", 1)
        genericModuleButtonPressedImage = genericModuleAddLayer("zuv-modules_generic_button_pressed.svg", 2,
                                                                function() { return genericModuleButtonArea.clickAreaPressed })
        genericModuleLightLeftImage = genericModuleAddLayer("zuv-modules_generic_light_left.svg", 2,
                                                            function() { return genericModule.genericModuleLightLeft })
        genericModuleLightUpImage = genericModuleAddLayer("zuv-modules_generic_light_up.svg", 2,
                                                          function() { return genericModule.genericModuleLightUp })
        genericModuleLightRightImage = genericModuleAddLayer("zuv-modules_generic_light_right.svg", 2,
                                                             function() { return genericModule.genericModuleLightRight })
        genericModuleLightDownImage = genericModuleAddLayer("zuv-modules_generic_light_down.svg", 2,
                                                            function() { return genericModule.genericModuleLightDown })
    }
}
