import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../Components"
import "../Submodules"
import "../../Cockpit/ControlPanelView/ControlPanelViewComponents"

// The windshield module: the generic board with a windshield, its wiper arm, a heater lamp, a
// washer-pump lamp and the four lamps of the wiper's stepper phases A to D, plus two sensors that
// the user works in pop-up frames: an infrared distance sensor and a day/night light sensor.
//
// The wiper arm follows the stepper phases that the peer sets: each accepted phase pattern is one
// step of 1/64 turn clockwise or counter-clockwise.
GenericModule {
    id: windshieldModule

    property bool windshieldModuleHeaterLight: false
    property bool windshieldModuleWasherPumpLight: false
    property bool windshieldModuleWiperLightA: false
    property bool windshieldModuleWiperLightB: false
    property bool windshieldModuleWiperLightC: false
    property bool windshieldModuleWiperLightD: false
    // The last accepted phase pattern, A as bit 3 down to D as bit 0 (6: B and C on).
    property int windshieldModuleWiperBitPatternPrevious: 6
    // In steps, unbounded both ways.
    property int windshieldModuleWiperArmPosition: 0
    property int windshieldModuleDistanceSensor: 0
    // 1 day, 0 night.
    property int windshieldModuleLightSensor: 0

    property VectorImage windshieldModuleWindshieldImage: null
    property VectorImage windshieldModuleHeaterLightImage: null
    property VectorImage windshieldModuleWasherPumpLightImage: null
    property VectorImage windshieldModuleWiperArmImage: null
    property VectorImage windshieldModuleWiperLightAImage: null
    property VectorImage windshieldModuleWiperLightBImage: null
    property VectorImage windshieldModuleWiperLightCImage: null
    property VectorImage windshieldModuleWiperLightDImage: null

    readonly property int windshieldModuleStepsPerTurn: 64
    // For each accepted pattern, the pattern that is one step clockwise and one counter-clockwise.
    readonly property var windshieldModuleWiperStepClockwise: ({ 6: 3, 3: 9, 9: 12, 12: 6 })
    readonly property var windshieldModuleWiperStepCounterClockwise: ({ 6: 12, 12: 9, 9: 3, 3: 6 })

    // Takes one step when the phases have moved on by one from the last accepted pattern; any other
    // pattern (the same again, two steps away, none or the wrong number of phases on) is ignored.
    function updateWindshieldWasherArm() {
        var pattern = (windshieldModuleWiperLightA ? 8 : 0) + (windshieldModuleWiperLightB ? 4 : 0)
                + (windshieldModuleWiperLightC ? 2 : 0) + (windshieldModuleWiperLightD ? 1 : 0)
        var previous = windshieldModuleWiperBitPatternPrevious
        if (pattern === windshieldModuleWiperStepClockwise[previous]) {
            windshieldModuleWiperBitPatternPrevious = pattern
            wiperArmStepClockwise()
        } else if (pattern === windshieldModuleWiperStepCounterClockwise[previous]) {
            windshieldModuleWiperBitPatternPrevious = pattern
            wiperArmStepCounterClockwise()
        }
    }

    function wiperArmStepClockwise() {
        windshieldModuleWiperArmPosition += 1
    }

    function wiperArmStepCounterClockwise() {
        windshieldModuleWiperArmPosition -= 1
    }

    // The arm always turns from where it is toward the newest position, the short way.
    onWindshieldModuleWiperArmPositionChanged: {
        var step = windshieldModuleWiperArmPosition % windshieldModuleStepsPerTurn
        windshieldModuleWiperArmAnimation.stop()
        windshieldModuleWiperArmAnimation.to = (360.0 / windshieldModuleStepsPerTurn) * step
        windshieldModuleWiperArmAnimation.start()
    }

    Rotation {
        id: windshieldModuleWiperRotation
        origin.x: 0.5866666666666667 * windshieldModule.width
        origin.y: 0.35146666666666665 * windshieldModule.height
        angle: 0
    }

    RotationAnimation {
        id: windshieldModuleWiperArmAnimation
        target: windshieldModuleWiperRotation
        property: "angle"
        duration: 10
        direction: RotationAnimation.Shortest
    }

    ClickArea {
        id: windshieldModuleDistanceSensorArea
        objectName: "windshieldModuleDistanceSensorArea"
        z: 2
        width: 0.25 * windshieldModule.width
        height: width
        centeredItemCenterX: 0.687 * windshieldModule.width
        centeredItemCenterY: 0.631 * windshieldModule.height
        onClickAreaPressedChanged: infraredSensorSubmoduleFrame.visible = true
    }

    ClickArea {
        id: windshieldModuleLightSensorArea
        objectName: "windshieldModuleLightSensorArea"
        z: 2
        width: 0.05 * windshieldModule.width
        height: width
        centeredItemCenterX: 0.854 * windshieldModule.width
        centeredItemCenterY: 0.813 * windshieldModule.height
        clickAreaRingBackgroundEnabled: true
        onClickAreaPressedChanged: lightSensorSubmoduleFrame.visible = true
    }

    SubmoduleFrame {
        id: infraredSensorSubmoduleFrame
        objectName: "infraredSensorSubmoduleFrame"
        z: 3
        visible: false
        submoduleFrameWidth: 0.5 * windshieldModule.width
        submoduleFrameHeight: 0.5 * windshieldModule.height
        x: 0.5 * windshieldModule.width - width / 2
        y: 0.5 * windshieldModule.height - height / 2
        submoduleFrameSubmodule: LazyLoader {
            sourceComponent: Component {
                InfraredSensorSubmodule {
                    objectName: "infraredSensorSubmodule"
                    onInfraredSensorSubmoduleAnalogDigitalConverterValueChanged:
                        windshieldModule.windshieldModuleDistanceSensor = infraredSensorSubmoduleAnalogDigitalConverterValue
                }
            }
        }
    }

    SubmoduleFrame {
        id: lightSensorSubmoduleFrame
        objectName: "lightSensorSubmoduleFrame"
        z: 3
        visible: false
        submoduleFrameWidth: 0.5 * windshieldModule.height
        submoduleFrameHeight: 0.5 * windshieldModule.height
        x: 0.5 * windshieldModule.width - width / 2
        y: 0.5 * windshieldModule.height - height / 2
        // Starts at night, as the light sensor's value in the state model does, so that the
        // picture and what the peer receives agree from the start.
        submoduleFrameSubmodule: LazyLoader {
            sourceComponent: Component {
                LightSensorSwitch {
                    objectName: "lightSensorSwitch"
                    daytimeState: false
                    onDaytimeStateChanged: windshieldModule.windshieldModuleLightSensor = daytimeState ? 1 : 0
                }
            }
        }
    }

    Component.onCompleted: {
        windshieldModuleWindshieldImage = genericModuleAddLayer("zuv-modules_windshield.svg", 1)
        windshieldModuleHeaterLightImage = genericModuleAddLayer("zuv-modules_windshield_heater_light.svg", 2,
                                                                 function() { return windshieldModule.windshieldModuleHeaterLight })
        windshieldModuleWasherPumpLightImage = genericModuleAddLayer("zuv-modules_windshield_pump_light.svg", 2,
                                                                     function() { return windshieldModule.windshieldModuleWasherPumpLight })
        windshieldModuleWiperArmImage = genericModuleAddLayer("zuv-modules_windshield_wiper_arm.svg", 2)
        windshieldModuleWiperArmImage.transform = [windshieldModuleWiperRotation]
        windshieldModuleWiperLightAImage = genericModuleAddLayer("zuv-modules_windshield_wiper_light_A.svg", 2,
                                                                 function() { return windshieldModule.windshieldModuleWiperLightA })
        windshieldModuleWiperLightBImage = genericModuleAddLayer("zuv-modules_windshield_wiper_light_B.svg", 2,
                                                                 function() { return windshieldModule.windshieldModuleWiperLightB })
        windshieldModuleWiperLightCImage = genericModuleAddLayer("zuv-modules_windshield_wiper_light_C.svg", 2,
                                                                 function() { return windshieldModule.windshieldModuleWiperLightC })
        windshieldModuleWiperLightDImage = genericModuleAddLayer("zuv-modules_windshield_wiper_light_D.svg", 2,
                                                                 function() { return windshieldModule.windshieldModuleWiperLightD })
    }
}
