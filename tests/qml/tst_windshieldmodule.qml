import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Modules"

Item {
    id: root
    width: 900
    height: 700

    Component { id: windshieldComponent; WindshieldModule { x: 20; y: 20; width: 464.1 } }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    // The distances of the converter cases and the readings that they give.
    readonly property var converterCases: [
        { tag: "0.5 m, the start", distance: 0.5, value: 310 },
        { tag: "0.25 m", distance: 0.25, value: 682 },
        { tag: "0.1 m", distance: 0.1, value: 1551 },
        { tag: "0.03 m, the peak", distance: 0.03, value: 3785 },
        { tag: "0 m, the left limit", distance: 0, value: 0 }
    ]

    TestCase {
        name: "WindshieldModule"
        when: windowShown

        function createModule() {
            var module = createTemporaryObject(windshieldComponent, root)
            verify(module)
            return module
        }

        function fileName(url) {
            var text = url.toString()
            return text.substring(text.lastIndexOf("/") + 1)
        }

        function setPhases(module, pattern) {
            module.windshieldModuleWiperLightA = (pattern & 8) !== 0
            module.windshieldModuleWiperLightB = (pattern & 4) !== 0
            module.windshieldModuleWiperLightC = (pattern & 2) !== 0
            module.windshieldModuleWiperLightD = (pattern & 1) !== 0
            module.updateWindshieldWasherArm()
        }

        function armRotation(module) {
            return module.windshieldModuleWiperArmImage.transform[0]
        }

        // The arm's angle reduced to (-180, 180].
        function shownAngle(module) {
            var angle = armRotation(module).angle % 360
            if (angle > 180)
                angle -= 360
            if (angle <= -180)
                angle += 360
            return angle
        }

        function waitForArm(module, angle) {
            tryVerify(function() { return Math.abs(shownAngle(module) - angle) < 1e-9 }, 1000,
                      "arm at " + angle + ", is at " + armRotation(module).angle)
        }

        // The infrared sensor, which is made when its frame is first opened: opens the frame.
        function infrared(module) {
            openFrame(module, "windshieldModuleDistanceSensorArea", "infraredSensorSubmoduleFrame")
            var sensor = findChild(module, "infraredSensorSubmodule")
            verify(sensor)
            return sensor
        }

        // Places the infrared sensor's object at a distance (m) from the sensor.
        function placeObject(sensor, distance) {
            var leftLimit = sensor.infraredSensorSubmoduleLeftLimit()
            sensor.infraredSensorSubmoduleObjectImage.x = leftLimit * (1 - 2 * distance)
        }

        function openFrame(module, areaName, frameName) {
            var area = findChild(module, areaName)
            var frame = findChild(module, frameName)
            mouseClick(area, area.width / 2, area.height / 2)
            compare(frame.visible, true)
            return frame
        }

        function test_layersInOrder() {
            var module = createModule()
            var expected = [
                ["zuv-modules_windshield.svg", 1, "windshieldModuleWindshieldImage"],
                ["zuv-modules_windshield_heater_light.svg", 2, "windshieldModuleHeaterLightImage", "windshieldModuleHeaterLight"],
                ["zuv-modules_windshield_pump_light.svg", 2, "windshieldModuleWasherPumpLightImage", "windshieldModuleWasherPumpLight"],
                ["zuv-modules_windshield_wiper_arm.svg", 2, "windshieldModuleWiperArmImage"],
                ["zuv-modules_windshield_wiper_light_A.svg", 2, "windshieldModuleWiperLightAImage", "windshieldModuleWiperLightA"],
                ["zuv-modules_windshield_wiper_light_B.svg", 2, "windshieldModuleWiperLightBImage", "windshieldModuleWiperLightB"],
                ["zuv-modules_windshield_wiper_light_C.svg", 2, "windshieldModuleWiperLightCImage", "windshieldModuleWiperLightC"],
                ["zuv-modules_windshield_wiper_light_D.svg", 2, "windshieldModuleWiperLightDImage", "windshieldModuleWiperLightD"]
            ]
            var layers = module.multilayerImageLayers
            // The generic board's seven layers come first.
            compare(layers.length, 7 + expected.length)
            for (var i = 0; i < expected.length; ++i) {
                var layer = layers[7 + i]
                compare(fileName(layer.source), expected[i][0])
                compare(layer.z, expected[i][1], expected[i][0])
                compare(module[expected[i][2]], layer, expected[i][2])
                if (expected[i][3]) {
                    compare(layer.visible, false, expected[i][3])
                    module[expected[i][3]] = true
                    compare(layer.visible, true, expected[i][3])
                } else {
                    compare(layer.visible, true, expected[i][0])
                }
            }
            // The arm turns about its pivot, fixed in fractions of the module.
            fuzzyCompare(armRotation(module).origin.x, 0.5866666666666667 * module.width, 1e-9)
            fuzzyCompare(armRotation(module).origin.y, 0.35146666666666665 * module.height, 1e-9)
        }

        function test_wiperPhases_data() {
            return [
                { tag: "four steps clockwise", patterns: [6, 3, 9, 12, 6], position: 4, previous: 6, angle: 22.5 },
                { tag: "four steps counter-clockwise", patterns: [6, 12, 9, 3, 6], position: -4, previous: 6, angle: -22.5 },
                { tag: "a repeated pattern", patterns: [3, 3, 3], position: 1, previous: 3, angle: 5.625 },
                { tag: "a jump of two steps", patterns: [9], position: 0, previous: 6, angle: 0 },
                { tag: "after a jump, a step from the last accepted", patterns: [9, 12], position: -1, previous: 12, angle: -5.625 },
                { tag: "all phases off", patterns: [0], position: 0, previous: 6, angle: 0 },
                { tag: "all off between two steps", patterns: [3, 0, 9], position: 2, previous: 9, angle: 11.25 },
                { tag: "one phase on", patterns: [4, 2, 1, 8], position: 0, previous: 6, angle: 0 },
                { tag: "three or four phases on", patterns: [7, 14, 11, 13, 15], position: 0, previous: 6, angle: 0 },
                { tag: "back and forth", patterns: [3, 6, 12, 6], position: 0, previous: 6, angle: 0 }
            ]
        }

        function test_wiperPhases(data) {
            var module = createModule()
            compare(module.windshieldModuleWiperBitPatternPrevious, 6)
            data.patterns.forEach(function(pattern) { setPhases(module, pattern) })
            compare(module.windshieldModuleWiperArmPosition, data.position)
            compare(module.windshieldModuleWiperBitPatternPrevious, data.previous)
            waitForArm(module, data.angle)
        }

        function test_armAngle_data() {
            return [
                { tag: "one turn shows as none", position: 64, angle: 0 },
                { tag: "one step back", position: -1, angle: -5.625 },
                { tag: "half a turn", position: 32, angle: 180 },
                { tag: "a turn and a step back", position: -65, angle: -5.625 },
                { tag: "two turns and three steps", position: 131, angle: 16.875 }
            ]
        }

        function test_armAngle(data) {
            var module = createModule()
            module.windshieldModuleWiperArmPosition = data.position
            waitForArm(module, data.angle)
        }

        // A whole turn of steps ends where it began, without the arm winding back the long way.
        function test_fullTurnStepByStep() {
            var module = createModule()
            var patterns = [3, 9, 12, 6]
            var angles = []
            armRotation(module).angleChanged.connect(function() { angles.push(armRotation(module).angle) })
            for (var step = 0; step < 64; ++step) {
                setPhases(module, patterns[step % 4])
                wait(12)
            }
            compare(module.windshieldModuleWiperArmPosition, 64)
            waitForArm(module, 0)
            // Each change turns the arm on clockwise (an angle and that angle less a turn look the same).
            for (var i = 1; i < angles.length; ++i) {
                var turn = ((angles[i] - angles[i - 1]) % 360 + 360) % 360
                verify(turn < 180, "the arm turns clockwise: " + angles[i - 1] + " then " + angles[i])
            }
        }

        // A step that follows another within the animation's 10 ms turns the arm on from where it
        // is toward the newer position.
        function test_stepsFasterThanTheAnimation() {
            var module = createModule()
            module.wiperArmStepClockwise()
            wait(2)
            module.wiperArmStepClockwise()
            waitForArm(module, 11.25)
            module.wiperArmStepCounterClockwise()
            module.wiperArmStepCounterClockwise()
            module.wiperArmStepCounterClockwise()
            compare(module.windshieldModuleWiperArmPosition, -1)
            waitForArm(module, -5.625)
            wait(50)
            compare(shownAngle(module), -5.625)
        }

        function test_converterValues_data() {
            return converterCases
        }

        function test_converterValues(data) {
            var module = createModule()
            var sensor = infrared(module)
            placeObject(sensor, data.distance)
            compare(sensor.infraredSensorSubmoduleAnalogDigitalConverterValueIntern, data.value)
            compare(findChild(sensor, "infraredSensorSubmoduleText").text, "ADC: " + data.value)
            // Only the live value follows the object.
            compare(sensor.infraredSensorSubmoduleAnalogDigitalConverterValue, 0)
            compare(module.windshieldModuleDistanceSensor, 0)
        }

        // The starting reading shows as soon as the sensor is there, before anything is moved.
        function test_converterStartsAtTheFarthestDistance() {
            var module = createModule()
            var sensor = infrared(module)
            compare(sensor.infraredSensorSubmoduleObjectImage.x, 0)
            compare(sensor.infraredSensorSubmoduleAnalogDigitalConverterValueIntern, 310)
            compare(module.windshieldModuleDistanceSensor, 0)
        }

        function dragHandle(sensor, dx) {
            var handle = sensor.infraredSensorSubmoduleDragHandle
            var start = handle.mapToItem(root, handle.width / 2, handle.height / 2)
            mousePress(root, start.x, start.y)
            var steps = 5
            for (var i = 1; i <= steps; ++i)
                mouseMove(root, start.x + dx * i / steps, start.y, -1, Qt.LeftButton)
            return { x: start.x + dx, y: start.y }
        }

        // Dragging changes only the live reading; the release publishes it. The object stops at
        // its limits.
        function test_dragPublishesAtRelease_data() {
            return [
                { tag: "far to the left", dx: -1000, atLeftLimit: true, value: 0 },
                { tag: "to the right, past the start", dx: 300, atStart: true, value: 310 },
                { tag: "a little to the left", dx: -40 }
            ]
        }

        function test_dragPublishesAtRelease(data) {
            var module = createModule()
            var sensor = infrared(module)
            var object = sensor.infraredSensorSubmoduleObjectImage
            var end = dragHandle(sensor, data.dx)
            if (data.atLeftLimit)
                fuzzyCompare(object.x, -0.5925 * object.width, 1e-6)
            else if (data.atStart)
                compare(object.x, 0)
            else
                verify(object.x < 0 && object.x >= -40, "object at " + object.x)
            var live = sensor.infraredSensorSubmoduleAnalogDigitalConverterValueIntern
            if (data.value !== undefined)
                compare(live, data.value)
            compare(sensor.infraredSensorSubmoduleAnalogDigitalConverterValue, 0)
            compare(module.windshieldModuleDistanceSensor, 0)
            mouseRelease(root, end.x, end.y)
            compare(sensor.infraredSensorSubmoduleAnalogDigitalConverterValue, live)
            compare(module.windshieldModuleDistanceSensor, live)
        }

        // A click without moving publishes the live reading; a release at the same reading as the
        // last one changes nothing.
        function test_clickPublishesOnceAtTheSameValue() {
            var module = createModule()
            var sensor = infrared(module)
            var changes = createTemporaryObject(spyComponent, root, { target: module, signalName: "windshieldModuleDistanceSensorChanged" })
            var handle = sensor.infraredSensorSubmoduleDragHandle
            mouseClick(handle, handle.width / 2, handle.height / 2)
            compare(module.windshieldModuleDistanceSensor, 310)
            compare(changes.count, 1)
            mouseClick(handle, handle.width / 2, handle.height / 2)
            compare(changes.count, 1)
        }

        // The ray runs from the sensor to the handle's left edge, a narrow red wedge along its axis.
        function test_rayReachesTheHandle_data() {
            return [ { tag: "object far", distance: 0.5 }, { tag: "object near", distance: 0.1 } ]
        }

        function test_rayReachesTheHandle(data) {
            var module = createModule()
            var sensor = infrared(module)
            placeObject(sensor, data.distance)
            var ray = findChild(sensor, "infraredSensorSubmoduleRay")
            var handle = sensor.infraredSensorSubmoduleDragHandle
            var endX = ray.mapFromItem(handle, 0, 0).x
            var startX = 0.09 * ray.width
            var axisY = ray.height / 2 - 0.06 * ray.height
            wait(50)
            var context = ray.getContext("2d")
            function pixel(x, y) {
                var data = context.getImageData(Math.round(x), Math.round(y), 1, 1).data
                return { r: data[0], g: data[1], b: data[2], a: data[3] }
            }
            var onAxis = pixel((startX + endX) / 2, axisY)
            verify(onAxis.r > 200 && onAxis.g < 50 && Math.abs(onAxis.a - 128) < 3, JSON.stringify(onAxis))
            verify(pixel(endX - 2, axisY).a > 0, "the ray reaches the handle")
            compare(pixel(endX + 3, axisY).a, 0, "the ray ends at the handle")
            compare(pixel(startX - 3, axisY).a, 0, "the ray starts at the sensor")
            // At the handle the wedge is 0.2 × its end x high.
            verify(pixel(endX - 1, axisY + 0.08 * endX).a > 0, "wide at the handle")
            compare(pixel(endX - 1, axisY + 0.12 * endX).a, 0, "no wider")
        }

        function test_pressAreasOpenTheirFrames_data() {
            return [
                { tag: "distance sensor", area: "windshieldModuleDistanceSensorArea", frame: "infraredSensorSubmoduleFrame",
                  content: "infraredSensorSubmodule", side: 0.25, cx: 0.687, cy: 0.631, width: 232, height: 176 },
                { tag: "light sensor", area: "windshieldModuleLightSensorArea", frame: "lightSensorSubmoduleFrame",
                  content: "lightSensorSwitch", side: 0.05, cx: 0.854, cy: 0.813, width: 176, height: 176 }
            ]
        }

        // A press opens the frame, centred on the module; only its close icon hides it again. Its
        // content is made when the frame is first opened and kept from then on.
        function test_pressAreasOpenTheirFrames(data) {
            var module = createModule()
            var frame = findChild(module, data.frame)
            compare(frame.visible, false)
            compare(findChild(module, data.content), null)
            var x = data.cx * module.width
            var y = data.cy * module.height
            var half = data.side * module.width / 2
            mousePress(module, x + half + 2, y)
            mouseRelease(module, x + half + 2, y)
            compare(frame.visible, false)
            mousePress(module, x + half - 1, y)
            compare(frame.visible, true)
            var content = findChild(module, data.content)
            verify(content)
            compare([content.width, content.height], [data.width, data.height])
            compare(frame.submoduleFrameWidth, data.width)
            compare(frame.submoduleFrameHeight, data.height)
            fuzzyCompare(frame.x, 0.5 * module.width - frame.width / 2, 1e-9)
            fuzzyCompare(frame.y, 0.5 * module.height - frame.height / 2, 1e-9)
            mouseRelease(module, x + half - 1, y)
            compare(frame.visible, true)
            mouseClick(frame, frame.width - 9, 10)
            compare(frame.visible, false)
            mouseClick(module, x, y)
            compare(frame.visible, true)
            compare(findChild(module, data.content), content)
        }

        // The light sensor starts at night, drawn as night, as the module's reading does; each
        // click turns it over.
        function test_lightSensorStartsAtNight() {
            var module = createModule()
            var frame = openFrame(module, "windshieldModuleLightSensorArea", "lightSensorSubmoduleFrame")
            var lightSwitch = findChild(module, "lightSensorSwitch")
            compare(lightSwitch.daytimeState, false)
            compare(module.windshieldModuleLightSensor, 0)
            compare(lightSwitch.skyNightImage.opacity, 1)
            compare(lightSwitch.skyDayImage.opacity, 0)
            compare(lightSwitch.sunStarsImage.rotation, 180)
            compare(lightSwitch.width, 176)
            mouseClick(lightSwitch, lightSwitch.width / 2, lightSwitch.height / 2)
            compare(lightSwitch.daytimeState, true)
            compare(module.windshieldModuleLightSensor, 1)
            tryCompare(lightSwitch.skyDayImage, "opacity", 1, 1000)
            mouseClick(lightSwitch, lightSwitch.width / 2, lightSwitch.height / 2)
            compare(module.windshieldModuleLightSensor, 0)
        }
    }
}
