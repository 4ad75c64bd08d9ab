import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../Cockpit"

// The cockpit module: the module picture with a display in which the whole cockpit runs. It keeps
// the generic base picture but hides the microcontroller board, its button and LEDs, and switches
// the button off. The cockpit reads and writes the state model itself; the board wires nothing to
// this view.
GenericModule {
    id: cockpitModule

    property VectorImage cockpitModuleDisplayBackground: null

    // The display, laid out for 800 : 480, centred on the module and a little to the right.
    Item {
        id: cockpitModuleDisplay
        objectName: "cockpitModuleDisplay"
        z: 3
        width: 0.8 * cockpitModule.width
        height: (480.0 / 800.0) * width
        x: (cockpitModule.width - width) / 2 + 0.0175 * width
        y: (cockpitModule.height - height) / 2

        CockpitMainView {
            objectName: "cockpitMainView"
        }
    }

    Component.onCompleted: {
        cockpitModuleDisplayBackground = genericModuleAddLayer("zuv-modules_cockpit.svg", 0)
        genericModuleButtonClickArea.enabled = false
        var hidden = [genericModuleDiscoveryBoardImage, genericModuleButtonPressedImage, genericModuleLightLeftImage,
                      genericModuleLightUpImage, genericModuleLightRightImage, genericModuleLightDownImage]
        hidden.forEach(function(layer) { layer.visible = false })
    }
}
