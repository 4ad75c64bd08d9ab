import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform"

// The assembled board with the real state model: its wiring both ways, the frames' slots, moves and
// drags, panning, and what it asks of the link at start.
Item {
    id: root
    width: 1900
    height: 900

    // As in the main window at 800 × 800.
    Component { id: boardComponent; VirtualPlatformMainView { width: 760; height: 800 } }

    // Spies on the model live as long as the model: a spy destroyed with a test would leave its
    // connection to the model behind.
    SignalSpy { id: transmits; target: virtualPlatformDataModel; signalName: "requestTransmit" }
    SignalSpy { id: localChanges; target: virtualPlatformDataModel; signalName: "localBasedDataChanged" }

    // Every module output of the model, the module view that shows it, the module property and
    // the layer handle.
    readonly property var outputs: [
        ["lightDaylight", "lightsModule", "lightsModuleDaylight"],
        ["lightUpperBeamHeadlight", "lightsModule", "lightsModuleUpperBeamlight"],
        ["lightLowerBeamHeadlight", "lightsModule", "lightsModuleLowerBeamlight"],
        ["lightFoglightLeft", "lightsModule", "lightsModuleFoglightRight"],
        ["lightFoglightRight", "lightsModule", "lightsModuleFoglightLeft"],
        ["lightIndicatorLeft", "lightsModule", "lightsModuleIndicatorLeft"],
        ["lightIndicatorRight", "lightsModule", "lightsModuleIndicatorRight"],
        ["lightReverselight", "lightsModule", "lightsModuleReverselight"],
        ["lightBrakelight", "lightsModule", "lightsModuleBrakelight"],
        ["lightBacklight", "lightsModule", "lightsModuleBacklight"],
        ["lightGenericLightLeft", "lightsModule", "genericModuleLightLeft"],
        ["lightGenericLightUp", "lightsModule", "genericModuleLightUp"],
        ["lightGenericLightRight", "lightsModule", "genericModuleLightRight"],
        ["lightGenericLightDown", "lightsModule", "genericModuleLightDown"],
        ["alarmAlarmLight", "alarmModule", "alarmModuleLightAlarm"],
        ["alarmLockLight", "alarmModule", "alarmModuleLightLock"],
        ["alarmGenericLightLeft", "alarmModule", "genericModuleLightLeft"],
        ["alarmGenericLightUp", "alarmModule", "genericModuleLightUp"],
        ["alarmGenericLightRight", "alarmModule", "genericModuleLightRight"],
        ["alarmGenericLightDown", "alarmModule", "genericModuleLightDown"],
        ["windshieldHeater", "windshieldModule", "windshieldModuleHeaterLight"],
        ["windshieldWasherPump", "windshieldModule", "windshieldModuleWasherPumpLight"],
        ["windshieldWiperA", "windshieldModule", "windshieldModuleWiperLightA"],
        ["windshieldWiperB", "windshieldModule", "windshieldModuleWiperLightB"],
        ["windshieldWiperC", "windshieldModule", "windshieldModuleWiperLightC"],
        ["windshieldWiperD", "windshieldModule", "windshieldModuleWiperLightD"],
        ["windshieldGenericLightLeft", "windshieldModule", "genericModuleLightLeft"],
        ["windshieldGenericLightUp", "windshieldModule", "genericModuleLightUp"],
        ["windshieldGenericLightRight", "windshieldModule", "genericModuleLightRight"],
        ["windshieldGenericLightDown", "windshieldModule", "genericModuleLightDown"]
    ]

    readonly property var moduleInputs: ["alarmGenericButton", "alarmAlarmButton", "alarmLockButton", "lightGenericButton",
        "windshieldGenericButton", "windshieldDistanceSensor", "windshieldLightSensor"]

    readonly property var frameNames: ["cockpitModuleFrame", "lightModuleFrame", "alarmModuleFrame", "windshieldModuleFrame"]

    TestCase {
        name: "Board"
        when: windowShown

        // One board for the tests that only read bindings, made at first use.
        property var sharedBoard: null

        function cleanupTestCase() {
            if (sharedBoard)
                sharedBoard.destroy()
        }

        function init() {
            outputs.forEach(function(output) { virtualPlatformDataModel[output[0]] = false })
            moduleInputs.forEach(function(input) {
                virtualPlatformDataModel[input] = input === "windshieldDistanceSensor" ? 0 : false
            })
        }

        // Creates the board and waits until the frames have slid into their slots.
        function createBoard() {
            var board = createTemporaryObject(boardComponent, root)
            verify(board)
            waitForSlots(board)
            return board
        }

        function waitForSlots(board) {
            var frames = board.virtualPlatformMainViewModuleFrameOrderList
            for (var i = 0; i < frames.length; ++i) {
                tryCompare(frames[i], "x", 442 * i, 1000, frames[i].objectName)
                tryCompare(frames[i], "z", frames.length - i, 1000, frames[i].objectName)
            }
        }

        function item(board, name) {
            var found = findChild(board, name)
            verify(found, name)
            return found
        }

        function order(board) {
            return board.virtualPlatformMainViewModuleFrameOrderList.map(function(frame) { return frame.objectName })
        }

        // A module's point given in fractions of its width and height, in root coordinates.
        function modulePoint(module, fx, fy) {
            return module.mapToItem(root, fx * module.width, fy * module.height)
        }

        function test_startTransmitsOnceAndWritesNothing() {
            transmits.clear()
            localChanges.clear()
            var board = createTemporaryObject(boardComponent, root)
            compare(transmits.count, 1)
            waitForSlots(board)
            wait(200)
            compare(transmits.count, 1)
            compare(localChanges.count, 0)
            moduleInputs.forEach(function(input) {
                compare(Number(virtualPlatformDataModel[input]), 0, input)
            })
        }

        function test_startLayout() {
            var board = createBoard()
            compare(board.virtualPlatformMainViewFrameWidth, 442)
            compare(order(board), frameNames)
            var moveable = item(board, "moduleViewMoveable")
            compare(moveable.x, -283)
            var lightsModule = item(board, "lightsModule")
            fuzzyCompare(lightsModule.width, 464.1, 1e-9)
            fuzzyCompare(moveable.y, 400 - 464.1 / 1.318 / 2, 1e-6)
            compare(moveable.height, 480)
            frameNames.forEach(function(name) {
                compare(item(board, name).width, 442)
                compare(item(board, name).height, 480)
            })
            // The lights frame is centred in the view.
            fuzzyCompare(item(board, "lightModuleFrame").mapToItem(board, 221, 0).x, 380, 1e-9)
            // Until the user pans, the board re-centres with the view's width.
            board.width = 1000
            compare(moveable.x, 500 - 663)
        }

        function test_outputsShowOnTheirModule_data() {
            return outputs.map(function(output) {
                return { tag: output[0] + " on " + output[1] + "." + output[2], model: output[0], module: output[1], property: output[2] }
            })
        }

        // A model output lights its lamp layer, and only that one of its module.
        function test_outputsShowOnTheirModule(data) {
            if (!sharedBoard)
                sharedBoard = boardComponent.createObject(root)
            var board = sharedBoard
            var module = item(board, data.module)
            var handle = data.property + "Image"
            var otherLamps = module.multilayerImageLayers.filter(function(layer) { return layer !== module[handle] })
            var shownBefore = otherLamps.filter(function(layer) { return layer.visible })
            compare(module[data.property], false)
            compare(module[handle].visible, false)
            virtualPlatformDataModel[data.model] = true
            compare(module[data.property], true)
            compare(module[handle].visible, true)
            compare(otherLamps.filter(function(layer) { return layer.visible }).length, shownBefore.length)
            virtualPlatformDataModel[data.model] = false
            compare(module[handle].visible, false)
        }

        function test_pressesWriteTheModel_data() {
            return [
                { tag: "lights module's generic button", module: "lightsModule", fx: 0.235, fy: 0.610, model: "lightGenericButton" },
                { tag: "alarm module's generic button", module: "alarmModule", fx: 0.235, fy: 0.610, model: "alarmGenericButton" },
                { tag: "alarm button", module: "alarmModule", fx: 0.577, fy: 0.662, model: "alarmAlarmButton" },
                { tag: "lock button", module: "alarmModule", fx: 0.780, fy: 0.662, model: "alarmLockButton" },
                { tag: "windshield module's generic button", module: "windshieldModule", fx: 0.235, fy: 0.610, model: "windshieldGenericButton" }
            ]
        }

        // A press writes true and the release false, each a local change that the link sends.
        function test_pressesWriteTheModel(data) {
            var board = createBoard()
            localChanges.clear()
            var p = modulePoint(item(board, data.module), data.fx, data.fy)
            mousePress(root, p.x, p.y)
            compare(virtualPlatformDataModel[data.model], true)
            compare(localChanges.count, 1)
            moduleInputs.forEach(function(input) {
                if (input !== data.model)
                    compare(Number(virtualPlatformDataModel[input]), 0, input)
            })
            mouseRelease(root, p.x, p.y)
            compare(virtualPlatformDataModel[data.model], false)
            compare(localChanges.count, 2)
        }

        // The reading reaches the model only when the object is let go, and only when it differs.
        function test_distanceSensorWritesAtRelease() {
            var board = createBoard()
            var module = item(board, "windshieldModule")
            var p = modulePoint(module, 0.687, 0.631)
            mouseClick(root, p.x, p.y)
            var sensor = item(board, "infraredSensorSubmodule")
            var handle = sensor.infraredSensorSubmoduleDragHandle
            localChanges.clear()
            mouseClick(handle, handle.width / 2, handle.height / 2)
            compare(virtualPlatformDataModel.windshieldDistanceSensor, 310)
            compare(localChanges.count, 1)
            mouseClick(handle, handle.width / 2, handle.height / 2)
            compare(localChanges.count, 1)
            var start = handle.mapToItem(root, handle.width / 2, handle.height / 2)
            mousePress(root, start.x, start.y)
            for (var i = 1; i <= 4; ++i)
                mouseMove(root, start.x - 25 * i, start.y, -1, Qt.LeftButton)
            verify(sensor.infraredSensorSubmoduleAnalogDigitalConverterValueIntern > 310)
            compare(virtualPlatformDataModel.windshieldDistanceSensor, 310)
            compare(localChanges.count, 1)
            mouseRelease(root, start.x - 100, start.y)
            compare(virtualPlatformDataModel.windshieldDistanceSensor, sensor.infraredSensorSubmoduleAnalogDigitalConverterValueIntern)
            compare(localChanges.count, 2)
        }

        // The light sensor starts at night, as the model does, so the first click sends day.
        function test_lightSensorStartsAsTheModel() {
            var board = createBoard()
            var module = item(board, "windshieldModule")
            var p = modulePoint(module, 0.854, 0.813)
            mouseClick(root, p.x, p.y)
            var lightSwitch = item(board, "lightSensorSwitch")
            verify(lightSwitch.visible)
            compare(virtualPlatformDataModel.windshieldLightSensor, false)
            compare(lightSwitch.daytimeState, false)
            compare(lightSwitch.skyNightImage.opacity, 1)
            compare(lightSwitch.sunStarsImage.rotation, 180)
            localChanges.clear()
            mouseClick(lightSwitch, lightSwitch.width / 2, lightSwitch.height / 2)
            compare(virtualPlatformDataModel.windshieldLightSensor, true)
            compare(localChanges.count, 1)
            mouseClick(lightSwitch, lightSwitch.width / 2, lightSwitch.height / 2)
            compare(virtualPlatformDataModel.windshieldLightSensor, false)
            compare(localChanges.count, 2)
        }

        function applyWiper(pattern) {
            virtualPlatformDataModel.windshieldWiperA = (pattern & 8) !== 0
            virtualPlatformDataModel.windshieldWiperB = (pattern & 4) !== 0
            virtualPlatformDataModel.windshieldWiperC = (pattern & 2) !== 0
            virtualPlatformDataModel.windshieldWiperD = (pattern & 1) !== 0
            virtualPlatformDataModel.remoteBasedDataChanged()
        }

        function test_wiperFollowsAppliedDocuments_data() {
            return [
                { tag: "clockwise", patterns: [6, 3, 9, 12, 6], position: 4, angle: 22.5 },
                { tag: "counter-clockwise", patterns: [6, 12, 9, 3, 6], position: -4, angle: -22.5 },
                { tag: "a jump, then a step from the last accepted", patterns: [9, 12], position: -1, angle: -5.625 }
            ]
        }

        function test_wiperFollowsAppliedDocuments(data) {
            var board = createBoard()
            var module = item(board, "windshieldModule")
            data.patterns.forEach(applyWiper)
            compare(module.windshieldModuleWiperArmPosition, data.position)
            var rotation = module.windshieldModuleWiperArmImage.transform[0]
            tryVerify(function() { return Math.abs(rotation.angle - data.angle) < 1e-9 }, 1000)
        }

        // The phases are evaluated when a document has been applied, not at each single change.
        function test_wiperWaitsForTheWholeDocument() {
            var board = createBoard()
            var module = item(board, "windshieldModule")
            virtualPlatformDataModel.windshieldWiperC = true
            virtualPlatformDataModel.windshieldWiperD = true
            compare(module.windshieldModuleWiperArmPosition, 0)
            virtualPlatformDataModel.remoteBasedDataChanged()
            compare(module.windshieldModuleWiperArmPosition, 1)
        }

        function test_moveRequests_data() {
            return [
                { tag: "left in slot 0", frame: "cockpitModuleFrame", direction: -1, order: frameNames },
                { tag: "right in slot 3", frame: "windshieldModuleFrame", direction: 1, order: frameNames },
                { tag: "lights left", frame: "lightModuleFrame", direction: -1,
                  order: ["lightModuleFrame", "cockpitModuleFrame", "alarmModuleFrame", "windshieldModuleFrame"] },
                { tag: "alarm right", frame: "alarmModuleFrame", direction: 1,
                  order: ["cockpitModuleFrame", "lightModuleFrame", "windshieldModuleFrame", "alarmModuleFrame"] }
            ]
        }

        // A move swaps with the neighbour (if any) and slides every frame to its slot, where it
        // takes its z anew.
        function test_moveRequests(data) {
            var board = createBoard()
            var frame = item(board, data.frame)
            frameNames.forEach(function(name) { item(board, name).z = 50 })
            frame.requestMove(frame, data.direction)
            compare(order(board), data.order)
            compare(frame.z, 50)
            waitForSlots(board)
        }

        // The lights frame (slot 1, centre 663) dragged by a delta: it swaps with the neighbour
        // once its centre passes 100 px into that neighbour's slot.
        function test_dragSwapThresholds_data() {
            return [
                { tag: "right, not yet", delta: 321, order: frameNames },
                { tag: "right, swapped", delta: 322,
                  order: ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"], neighbour: "alarmModuleFrame", slot: 1 },
                { tag: "left, not yet", delta: -321, order: frameNames },
                { tag: "left, swapped", delta: -322,
                  order: ["lightModuleFrame", "cockpitModuleFrame", "alarmModuleFrame", "windshieldModuleFrame"], neighbour: "cockpitModuleFrame", slot: 1 }
            ]
        }

        function test_dragSwapThresholds(data) {
            var board = createBoard()
            var frame = item(board, "lightModuleFrame")
            frame.requestDrag(frame, 0)
            compare(frame.z, 100)
            frame.requestDrag(frame, data.delta)
            compare(frame.x, 442 + data.delta)
            compare(frame.z, 100)
            compare(order(board), data.order)
            if (data.neighbour) {
                var neighbour = item(board, data.neighbour)
                compare(neighbour.moduleFramePositionX, 442 * data.slot)
                tryCompare(neighbour, "x", 442 * data.slot, 1000)
                compare(neighbour.z, 4 - data.slot)
            }
            // The dragged frame stays with the pointer.
            wait(300)
            compare(frame.x, 442 + data.delta)
            compare(frame.z, 100)
        }

        // A frame dragged past two neighbours in one step swaps with one; the next step swaps
        // with the next.
        function test_dragAcrossTwoNeighbours() {
            var board = createBoard()
            var frame = item(board, "lightModuleFrame")
            frame.requestDrag(frame, 0)
            frame.requestDrag(frame, 900)
            compare(order(board), ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"])
            frame.requestDrag(frame, 0)
            compare(order(board), ["cockpitModuleFrame", "alarmModuleFrame", "windshieldModuleFrame", "lightModuleFrame"])
            frame.requestDrag(frame, -1200)
            compare(order(board), ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"])
        }

        // Dragged by its drag button with the mouse: raised at the press, swapped on the way,
        // and after the release it slides into its new slot, taking its z only at the end.
        function test_dragAndDropWithTheMouse() {
            var board = createBoard()
            var frame = item(board, "lightModuleFrame")
            var module = item(board, "lightsModule")
            var p = frame.mapToItem(root, frame.width / 2, module.height + 10 + frame.moduleFrameItemSize / 2)
            mousePress(root, p.x, p.y)
            compare(frame.z, 100)
            for (var i = 1; i <= 10; ++i)
                mouseMove(root, p.x + 40 * i, p.y, -1, Qt.LeftButton)
            compare(frame.x, 842)
            compare(order(board), ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"])
            var zWhileSliding = []
            frame.xChanged.connect(function() { zWhileSliding.push(frame.z) })
            mouseRelease(root, p.x + 400, p.y)
            compare(frame.z, 100)
            tryCompare(frame, "z", 2, 1000)
            compare(frame.x, 884)
            verify(zWhileSliding.length > 0)
            zWhileSliding.forEach(function(z) { compare(z, 100) })
            waitForSlots(board)
        }

        // A press that no control takes pans the board, also on a module's plain picture; from
        // then on the board stays where the user left it.
        function test_panning_data() {
            return [
                { tag: "beside the modules", fx: -1, fy: 0.05 },
                { tag: "on the lights module's picture", module: "lightsModule", fx: 0.7, fy: 0.5 }
            ]
        }

        function test_panning(data) {
            var board = createBoard()
            var moveable = item(board, "moduleViewMoveable")
            var p = data.module ? modulePoint(item(board, data.module), data.fx, data.fy) : Qt.point(100, data.fy * board.height)
            mousePress(root, p.x, p.y)
            compare(moveable.x, -283)
            mouseMove(root, p.x + 50, p.y + 30, -1, Qt.LeftButton)
            compare(moveable.x, -233)
            compare(moveable.y, 400 - 464.1 / 1.318 / 2)
            mouseMove(root, p.x - 150, p.y, -1, Qt.LeftButton)
            compare(moveable.x, -433)
            mouseRelease(root, p.x - 150, p.y)
            board.width = 1000
            compare(moveable.x, -433)
            // The next pan starts from there.
            mousePress(root, p.x, p.y)
            mouseMove(root, p.x + 10, p.y, -1, Qt.LeftButton)
            mouseRelease(root, p.x + 10, p.y)
            compare(moveable.x, -423)
        }

        // A press on a control does not pan.
        function test_controlsDoNotPan() {
            var board = createBoard()
            var moveable = item(board, "moduleViewMoveable")
            var p = modulePoint(item(board, "lightsModule"), 0.235, 0.610)
            mousePress(root, p.x, p.y)
            mouseMove(root, p.x + 50, p.y, -1, Qt.LeftButton)
            mouseRelease(root, p.x + 50, p.y)
            compare(moveable.x, -283)
            board.width = 1000
            compare(moveable.x, 500 - 663)
        }

        function test_cockpitOnTheBoard() {
            var board = createBoard()
            var display = item(board, "cockpitModuleDisplay")
            fuzzyCompare(display.width, 371.28, 1e-9)
            fuzzyCompare(display.height, 222.768, 1e-9)
            var cockpit = item(board, "cockpitMainView")
            compare(cockpit.width, display.width)
            compare(cockpit.height, display.height)
        }
    }
}
