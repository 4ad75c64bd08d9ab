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

    // The model's values, read from its meta-object by the test set-up.
    readonly property var facts: virtualPlatformDataModelFacts
    // The module view that shows a module's outputs, by the module's name (the prefix of a value's
    // name).
    readonly property var moduleViews: { "light": "lightsModule", "alarm": "alarmModule", "windshield": "windshieldModule" }

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
            facts.names.forEach(function(name) { virtualPlatformDataModel[name] = facts.initial[name] })
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
                tryCompare(frames[i], "x", board.virtualPlatformMainViewFrameWidth * i, 1000, frames[i].objectName)
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

        // The centre of an item (a press area), in root coordinates.
        function centreOf(area) {
            return area.mapToItem(root, area.width / 2, area.height / 2)
        }

        function moduleInputsAtStart(except) {
            facts.moduleInputs.forEach(function(input) {
                if (input !== except)
                    compare(virtualPlatformDataModel[input], facts.initial[input], input)
            })
        }

        function test_startTransmitsOnceAndWritesNothing() {
            transmits.clear()
            localChanges.clear()
            var board = createTemporaryObject(boardComponent, root)
            compare(transmits.count, 1)
            waitForSlots(board)
            compare(transmits.count, 1)
            compare(localChanges.count, 0)
            moduleInputsAtStart()
        }

        // As in the main window at 800 × 800: the lights frame is centred and the module pictures
        // overhang their frames.
        function test_startLayout() {
            var board = createBoard()
            var frameWidth = board.virtualPlatformMainViewFrameWidth
            compare(frameWidth, 442)
            compare(order(board), frameNames)
            var moveable = item(board, "moduleViewMoveable")
            compare(moveable.x, -283)
            var lightsModule = item(board, "lightsModule")
            fuzzyCompare(lightsModule.width, 464.1, 1e-9)
            fuzzyCompare(moveable.y, board.height / 2 - lightsModule.height / 2, 1e-6)
            compare(moveable.height, 0.6 * board.height)
            frameNames.forEach(function(name) {
                compare(item(board, name).width, frameWidth)
                compare(item(board, name).height, moveable.height)
            })
            fuzzyCompare(item(board, "lightModuleFrame").mapToItem(board, frameWidth / 2, 0).x, board.width / 2, 1e-9)
            // Until the user pans, the board re-centres with the view's width.
            board.width = 1000
            compare(moveable.x, 500 - 1.5 * frameWidth)
        }

        // The board's lamp layers that are shown.
        function shownLayers(board) {
            var shown = []
            Object.keys(moduleViews).forEach(function(module) {
                item(board, moduleViews[module]).multilayerImageLayers.forEach(function(layer) {
                    if (layer.visible)
                        shown.push(layer)
                })
            })
            return shown
        }

        // The one layer that the output lights, checked to lie on its own module; null if the
        // output lights none or more than one.
        function layerLitBy(board, output) {
            var before = shownLayers(board)
            virtualPlatformDataModel[output] = true
            var lit = shownLayers(board).filter(function(layer) { return before.indexOf(layer) < 0 })
            compare(shownLayers(board).length, before.length + lit.length, output + " hides no other layer")
            virtualPlatformDataModel[output] = false
            if (lit.length !== 1)
                return null
            var module = item(board, moduleViews[output.match(/^[a-z]+/)[0]])
            verify(module.multilayerImageLayers.indexOf(lit[0]) >= 0, output + " lights a layer of its own module")
            compare(lit[0].visible, false, output + " off hides it again")
            return lit[0]
        }

        function sharedBoardMade() {
            if (!sharedBoard)
                sharedBoard = boardComponent.createObject(root)
            return sharedBoard
        }

        function test_outputsLightOneLampOfTheirModule_data() {
            return facts.moduleOutputs.map(function(output) { return { tag: output, output: output } })
        }

        // An output's name and its lamp's picture name the same thing: lightGenericLightUp lights
        // zuv-modules_generic_light_up.svg, windshieldWasherPump the pump. The fog lamps are crossed
        // (see the sides below).
        function lampKey(text) {
            return text.toLowerCase().replace(/_|light|head/g, "")
        }

        function test_outputsLightOneLampOfTheirModule(data) {
            var lamp = layerLitBy(sharedBoardMade(), data.output)
            verify(lamp, data.output + " lights exactly one layer")
            if (/Foglight/.test(data.output))
                return
            var picture = String(lamp.source).split("/").pop().replace(/\.svg$/, "")
                .replace(/^zuv-modules_(lights_|alarm_|windshield_)?/, "")
            verify(lampKey(data.output.replace(/^[a-z]+/, "")).indexOf(lampKey(picture)) >= 0,
                   data.output + " lights " + picture)
        }

        // No two outputs share a lamp.
        function test_everyOutputHasALampOfItsOwn() {
            var board = sharedBoardMade()
            var lamps = facts.moduleOutputs.map(function(output) { return layerLitBy(board, output) })
            lamps.forEach(function(lamp, i) {
                compare(lamps.indexOf(lamp), i, facts.moduleOutputs[i] + " has a lamp of its own")
            })
        }

        // The fog lamps on the picture are crossed against the model's sides; the indicators are not.
        function test_sidesOfTheLightsModule_data() {
            return [
                { tag: "left fog light", output: "lightFoglightLeft", lamp: "lightsModuleFoglightRightImage" },
                { tag: "right fog light", output: "lightFoglightRight", lamp: "lightsModuleFoglightLeftImage" },
                { tag: "left indicator", output: "lightIndicatorLeft", lamp: "lightsModuleIndicatorLeftImage" },
                { tag: "right indicator", output: "lightIndicatorRight", lamp: "lightsModuleIndicatorRightImage" }
            ]
        }

        function test_sidesOfTheLightsModule(data) {
            var board = sharedBoardMade()
            verify(layerLitBy(board, data.output) === item(board, "lightsModule")[data.lamp], data.output + " lights " + data.lamp)
        }

        function test_pressesWriteTheModel_data() {
            return [
                { tag: "lights module's generic button", module: "lightsModule", model: "lightGenericButton" },
                { tag: "alarm module's generic button", module: "alarmModule", model: "alarmGenericButton" },
                { tag: "alarm button", module: "alarmModule", area: "alarmModuleButtonAlarmArea", model: "alarmAlarmButton" },
                { tag: "lock button", module: "alarmModule", area: "alarmModuleButtonLockArea", model: "alarmLockButton" },
                { tag: "windshield module's generic button", module: "windshieldModule", model: "windshieldGenericButton" }
            ]
        }

        // A press writes true and the release false, each a local change that the link sends.
        function test_pressesWriteTheModel(data) {
            var board = createBoard()
            var module = item(board, data.module)
            localChanges.clear()
            var p = centreOf(data.area ? item(module, data.area) : module.genericModuleButtonClickArea)
            mousePress(root, p.x, p.y)
            compare(virtualPlatformDataModel[data.model], true)
            compare(localChanges.count, 1)
            moduleInputsAtStart(data.model)
            mouseRelease(root, p.x, p.y)
            compare(virtualPlatformDataModel[data.model], false)
            compare(localChanges.count, 2)
        }

        // The reading reaches the model only when the object is let go, and only when it differs.
        function test_distanceSensorWritesAtRelease() {
            var board = createBoard()
            var p = centreOf(item(board, "windshieldModuleDistanceSensorArea"))
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
            var p = centreOf(item(board, "windshieldModuleLightSensorArea"))
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

        // The lights frame (slot 1) dragged by a delta: it swaps with the neighbour once its centre
        // passes 100 px into that neighbour's slot, that is once the delta exceeds half a frame
        // width and 100 px.
        function test_dragSwapThresholds_data() {
            return [
                { tag: "right, not yet", beyond: 0, order: frameNames },
                { tag: "right, swapped", beyond: 1,
                  order: ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"], neighbour: "alarmModuleFrame" },
                { tag: "left, not yet", beyond: 0, left: true, order: frameNames },
                { tag: "left, swapped", beyond: 1, left: true,
                  order: ["lightModuleFrame", "cockpitModuleFrame", "alarmModuleFrame", "windshieldModuleFrame"], neighbour: "cockpitModuleFrame" }
            ]
        }

        function test_dragSwapThresholds(data) {
            var board = createBoard()
            var frameWidth = board.virtualPlatformMainViewFrameWidth
            var frame = item(board, "lightModuleFrame")
            var delta = (frameWidth / 2 + 100 + data.beyond) * (data.left ? -1 : 1)
            frame.requestDrag(frame, 0)
            compare(frame.z, 100)
            frame.requestDrag(frame, delta)
            compare(frame.x, frameWidth + delta)
            compare(frame.z, 100)
            compare(order(board), data.order)
            if (data.neighbour)
                compare(item(board, data.neighbour).moduleFramePositionX, frameWidth)
            // The others slide into their slots and take their z; the dragged frame stays with the
            // pointer.
            var frames = board.virtualPlatformMainViewModuleFrameOrderList
            frames.forEach(function(other, slot) {
                if (other === frame)
                    return
                tryCompare(other, "x", frameWidth * slot, 1000, other.objectName)
                tryCompare(other, "z", frames.length - slot, 1000, other.objectName)
            })
            compare(frame.x, frameWidth + delta)
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
            var frameWidth = board.virtualPlatformMainViewFrameWidth
            var frame = item(board, "lightModuleFrame")
            var module = item(board, "lightsModule")
            var p = frame.mapToItem(root, frame.width / 2, module.height + 10 + frame.moduleFrameItemSize / 2)
            mousePress(root, p.x, p.y)
            compare(frame.z, 100)
            for (var i = 1; i <= 10; ++i)
                mouseMove(root, p.x + 40 * i, p.y, -1, Qt.LeftButton)
            compare(frame.x, frameWidth + 400)
            compare(order(board), ["cockpitModuleFrame", "alarmModuleFrame", "lightModuleFrame", "windshieldModuleFrame"])
            var zWhileSliding = []
            frame.xChanged.connect(function() { zWhileSliding.push(frame.z) })
            mouseRelease(root, p.x + 400, p.y)
            compare(frame.z, 100)
            tryCompare(frame, "z", 2, 1000)
            compare(frame.x, 2 * frameWidth)
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
            var start = Qt.point(moveable.x, moveable.y)
            var p = data.module ? modulePoint(item(board, data.module), data.fx, data.fy) : Qt.point(100, data.fy * board.height)
            mousePress(root, p.x, p.y)
            compare(moveable.x, start.x)
            mouseMove(root, p.x + 50, p.y + 30, -1, Qt.LeftButton)
            compare(moveable.x, start.x + 50)
            compare(moveable.y, start.y)
            mouseMove(root, p.x - 150, p.y, -1, Qt.LeftButton)
            compare(moveable.x, start.x - 150)
            mouseRelease(root, p.x - 150, p.y)
            board.width = 1000
            compare(moveable.x, start.x - 150)
            // The next pan starts from there.
            mousePress(root, p.x, p.y)
            mouseMove(root, p.x + 10, p.y, -1, Qt.LeftButton)
            mouseRelease(root, p.x + 10, p.y)
            compare(moveable.x, start.x - 140)
        }

        // A press on a control does not pan.
        function test_controlsDoNotPan() {
            var board = createBoard()
            var moveable = item(board, "moduleViewMoveable")
            var start = moveable.x
            var p = centreOf(item(board, "lightsModule").genericModuleButtonClickArea)
            mousePress(root, p.x, p.y)
            mouseMove(root, p.x + 50, p.y, -1, Qt.LeftButton)
            mouseRelease(root, p.x + 50, p.y)
            compare(moveable.x, start)
            board.width = 1000
            compare(moveable.x, 500 - 1.5 * board.virtualPlatformMainViewFrameWidth)
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
