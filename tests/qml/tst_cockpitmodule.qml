import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Modules"

Item {
    id: root
    width: 900
    height: 700

    Component { id: cockpitComponent; CockpitModule { x: 20; y: 20; width: 464.1 } }

    TestCase {
        name: "CockpitModule"
        when: windowShown

        function createModule() {
            var module = createTemporaryObject(cockpitComponent, root)
            verify(module)
            return module
        }

        function fileName(url) {
            var text = url.toString()
            return text.substring(text.lastIndexOf("/") + 1)
        }

        // The display keeps 800 : 480, centred on the module and shifted right by 1.75 % of its width.
        function test_displayArea() {
            var module = createModule()
            var display = findChild(module, "cockpitModuleDisplay")
            fuzzyCompare(display.width, 371.28, 1e-9)
            fuzzyCompare(display.height, 222.768, 1e-9)
            fuzzyCompare(display.x + display.width / 2, module.width / 2 + 0.0175 * display.width, 1e-9)
            fuzzyCompare(display.y + display.height / 2, module.height / 2, 1e-9)
            compare(display.z, 3)
            var cockpit = findChild(module, "cockpitMainView")
            compare(cockpit.width, display.width)
            compare(cockpit.height, display.height)
        }

        // Only the base picture and the cockpit picture show; the board, its button and its LEDs
        // stay hidden whatever their properties say.
        function test_onlyTheCockpitPictureShows() {
            var module = createModule()
            var layers = module.multilayerImageLayers
            compare(layers.length, 8)
            compare(fileName(layers[7].source), "zuv-modules_cockpit.svg")
            compare(layers[7].z, 0)
            compare(module.cockpitModuleDisplayBackground, layers[7])
            module.genericModuleLightLeft = true
            module.genericModuleLightUp = true
            module.genericModuleLightRight = true
            module.genericModuleLightDown = true
            var shown = layers.filter(function(layer) { return layer.visible }).map(function(layer) { return fileName(layer.source) })
            compare(shown, ["zuv-modules_generic.svg", "zuv-modules_cockpit.svg"])
        }

        // The generic button's place neither rings on hover nor presses.
        function test_genericButtonSwitchedOff() {
            var module = createModule()
            var area = module.genericModuleButtonClickArea
            var x = 0.235 * module.width
            var y = 0.610 * module.height
            mouseMove(module, x, y)
            compare(area.clickAreaHovered, false)
            mousePress(module, x, y)
            compare(module.genericModuleButtonPressed, false)
            compare(module.genericModuleButtonPressedImage.visible, false)
            mouseRelease(module, x, y)
        }
    }
}
