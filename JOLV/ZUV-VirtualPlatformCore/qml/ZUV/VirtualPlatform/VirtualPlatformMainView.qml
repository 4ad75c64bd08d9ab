import QtQuick 2.5
import "Components"
import "Modules"

// The board: the four module views of the platform, each in a module frame, side by side in one
// row. It shows the state model's outputs on the module views and writes their buttons and sensors
// into the model, keeps the order of the frames (a frame's index in the order list is its slot),
// carries out the frames' move and drag requests, and lets the user pan the row sideways.
Item {
    id: virtualPlatformMainView

    property int virtualPlatformMainViewBorderWidth: 150
    // The frames keep this width whatever the window's size; it is also the distance between slots.
    property int virtualPlatformMainViewFrameWidth: (1920 - virtualPlatformMainViewBorderWidth) / 4
    property var virtualPlatformMainViewModuleFrameOrderList: []

    // Where the pointer and the board were when the pan area was pressed.
    property real virtualPlatformMainViewPanStartPointerX: 0
    property real virtualPlatformMainViewPanStartBoardX: 0

    // Slides every frame to its slot; the leftmost frame ends on top.
    function arangeAllModules() {
        arangeOtherModules(null)
    }

    // The same for every frame but excluded, which stays where the pointer has it.
    function arangeOtherModules(excluded) {
        var frames = virtualPlatformMainViewModuleFrameOrderList
        var count = frames.length
        var frameWidth = virtualPlatformMainViewFrameWidth
        for (var i = 0; i < count; ++i) {
            if (frames[i] === excluded)
                continue
            frames[i].width = frameWidth
            frames[i].moveModuleFrame(frameWidth * i, count - i)
        }
    }

    function switchModuleFrames(a, b) {
        var frames = virtualPlatformMainViewModuleFrameOrderList
        if (a < 0 || a >= frames.length || b < 0 || b >= frames.length)
            return
        var swapped = frames.slice()
        swapped[a] = frames[b]
        swapped[b] = frames[a]
        virtualPlatformMainViewModuleFrameOrderList = swapped
    }

    function handleMoveRequest(frame, direction) {
        var slot = virtualPlatformMainViewModuleFrameOrderList.indexOf(frame)
        switchModuleFrames(slot, slot + direction)
        arangeAllModules()
    }

    // The dragged frame follows the pointer above the others; once its centre passes 100 pixels
    // into a neighbour's slot the two swap, and the neighbour slides into the freed slot.
    function handleDragRequest(frame, deltaX) {
        var frames = virtualPlatformMainViewModuleFrameOrderList
        var slot = frames.indexOf(frame)
        frame.x += deltaX
        frame.z = 100
        var centre = frame.x + frame.width / 2
        if (slot < frames.length - 1 && centre > frames[slot + 1].moduleFramePositionX + 100) {
            switchModuleFrames(slot, slot + 1)
            arangeOtherModules(frame)
        }
        frames = virtualPlatformMainViewModuleFrameOrderList
        if (slot > 0 && centre < frames[slot - 1].moduleFramePositionX + frames[slot - 1].width - 100) {
            switchModuleFrames(slot, slot - 1)
            arangeOtherModules(frame)
        }
    }

    function handleDropRequest(frame) {
        arangeAllModules()
    }

    // A press anywhere on the board that no control takes pans the board.
    MouseArea {
        id: virtualPlatformMainViewPanArea
        objectName: "virtualPlatformMainViewPanArea"
        anchors.fill: parent
        z: 1

        onPressed: {
            virtualPlatformMainView.virtualPlatformMainViewPanStartPointerX = mouse.x
            virtualPlatformMainView.virtualPlatformMainViewPanStartBoardX = moduleViewMoveable.x
            // From the first press on, the board stays where the user puts it.
            moduleViewMoveable.x = virtualPlatformMainView.virtualPlatformMainViewPanStartBoardX
        }

        onPositionChanged: moduleViewMoveable.x = virtualPlatformMainView.virtualPlatformMainViewPanStartBoardX
                           + (mouse.x - virtualPlatformMainView.virtualPlatformMainViewPanStartPointerX)
    }

    Item {
        id: moduleViewMoveable
        objectName: "moduleViewMoveable"
        z: 2
        // The frame in slot 1 centred, the module pictures centred vertically.
        x: virtualPlatformMainView.width / 2 - (3 * virtualPlatformMainView.virtualPlatformMainViewFrameWidth) / 2
        y: virtualPlatformMainView.height / 2 - lightModuleFrame.moduleFrameContainerItem.height / 2
        width: virtualPlatformMainView.width
        height: 0.6 * virtualPlatformMainView.height

        ModuleFrame {
            id: cockpitModuleFrame
            objectName: "cockpitModuleFrame"
            x: 0
            z: 4
            width: virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            height: moduleViewMoveable.height
            moduleFrameCustomModule: CockpitModule {
                id: cockpitModule
                objectName: "cockpitModule"
            }
        }

        ModuleFrame {
            id: lightModuleFrame
            objectName: "lightModuleFrame"
            x: 0
            z: 3
            width: virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            height: moduleViewMoveable.height
            moduleFrameCustomModule: LightsModule {
                id: lightsModule
                objectName: "lightsModule"

                lightsModuleDaylight: virtualPlatformDataModel.lightDaylight
                lightsModuleUpperBeamlight: virtualPlatformDataModel.lightUpperBeamHeadlight
                lightsModuleLowerBeamlight: virtualPlatformDataModel.lightLowerBeamHeadlight
                // The fog lamps are wired crossed: the right lamp shows the model's left fog light.
                lightsModuleFoglightRight: virtualPlatformDataModel.lightFoglightLeft
                lightsModuleFoglightLeft: virtualPlatformDataModel.lightFoglightRight
                lightsModuleIndicatorLeft: virtualPlatformDataModel.lightIndicatorLeft
                lightsModuleIndicatorRight: virtualPlatformDataModel.lightIndicatorRight
                lightsModuleReverselight: virtualPlatformDataModel.lightReverselight
                lightsModuleBrakelight: virtualPlatformDataModel.lightBrakelight
                lightsModuleBacklight: virtualPlatformDataModel.lightBacklight
                genericModuleLightLeft: virtualPlatformDataModel.lightGenericLightLeft
                genericModuleLightUp: virtualPlatformDataModel.lightGenericLightUp
                genericModuleLightRight: virtualPlatformDataModel.lightGenericLightRight
                genericModuleLightDown: virtualPlatformDataModel.lightGenericLightDown

                onGenericModuleButtonPressedChanged: virtualPlatformDataModel.lightGenericButton = genericModuleButtonPressed
            }
        }

        ModuleFrame {
            id: alarmModuleFrame
            objectName: "alarmModuleFrame"
            x: virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            z: 2
            width: virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            height: moduleViewMoveable.height
            moduleFrameCustomModule: AlarmModule {
                id: alarmModule
                objectName: "alarmModule"

                alarmModuleLightAlarm: virtualPlatformDataModel.alarmAlarmLight
                alarmModuleLightLock: virtualPlatformDataModel.alarmLockLight
                genericModuleLightLeft: virtualPlatformDataModel.alarmGenericLightLeft
                genericModuleLightUp: virtualPlatformDataModel.alarmGenericLightUp
                genericModuleLightRight: virtualPlatformDataModel.alarmGenericLightRight
                genericModuleLightDown: virtualPlatformDataModel.alarmGenericLightDown

                onAlarmModuleButtonAlarmChanged: virtualPlatformDataModel.alarmAlarmButton = alarmModuleButtonAlarm
                onAlarmModuleButtonLockChanged: virtualPlatformDataModel.alarmLockButton = alarmModuleButtonLock
                onGenericModuleButtonPressedChanged: virtualPlatformDataModel.alarmGenericButton = genericModuleButtonPressed
            }
        }

        ModuleFrame {
            id: windshieldModuleFrame
            objectName: "windshieldModuleFrame"
            x: 2 * virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            z: 1
            width: virtualPlatformMainView.virtualPlatformMainViewFrameWidth
            height: moduleViewMoveable.height
            moduleFrameCustomModule: WindshieldModule {
                id: windshieldModule
                objectName: "windshieldModule"

                windshieldModuleHeaterLight: virtualPlatformDataModel.windshieldHeater
                windshieldModuleWasherPumpLight: virtualPlatformDataModel.windshieldWasherPump
                windshieldModuleWiperLightA: virtualPlatformDataModel.windshieldWiperA
                windshieldModuleWiperLightB: virtualPlatformDataModel.windshieldWiperB
                windshieldModuleWiperLightC: virtualPlatformDataModel.windshieldWiperC
                windshieldModuleWiperLightD: virtualPlatformDataModel.windshieldWiperD
                genericModuleLightLeft: virtualPlatformDataModel.windshieldGenericLightLeft
                genericModuleLightUp: virtualPlatformDataModel.windshieldGenericLightUp
                genericModuleLightRight: virtualPlatformDataModel.windshieldGenericLightRight
                genericModuleLightDown: virtualPlatformDataModel.windshieldGenericLightDown

                onWindshieldModuleDistanceSensorChanged: virtualPlatformDataModel.windshieldDistanceSensor = windshieldModuleDistanceSensor
                onWindshieldModuleLightSensorChanged: virtualPlatformDataModel.windshieldLightSensor = windshieldModuleLightSensor !== 0
                onGenericModuleButtonPressedChanged: virtualPlatformDataModel.windshieldGenericButton = genericModuleButtonPressed
            }
        }
    }

    // The wiper phases are evaluated once per applied document, when all four hold their new values.
    Connections {
        target: virtualPlatformDataModel
        function onRemoteBasedDataChanged() { windshieldModule.updateWindshieldWasherArm() }
    }

    Component.onCompleted: {
        virtualPlatformMainViewModuleFrameOrderList = [cockpitModuleFrame, lightModuleFrame, alarmModuleFrame, windshieldModuleFrame]
        virtualPlatformMainViewModuleFrameOrderList.forEach(function(frame) {
            frame.requestMove.connect(handleMoveRequest)
            frame.requestDrag.connect(handleDragRequest)
            frame.requestDrop.connect(handleDropRequest)
        })
        arangeAllModules()
        virtualPlatformDataModel.requestTransmit()
    }
}
