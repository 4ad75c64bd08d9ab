import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView"

// The control panel's sub-views with the real state model: every control, worked with the mouse,
// writes its cockpit value and asks for exactly the transmissions it should. Each transmission is
// recorded with the cockpit values that it would send.
Item {
    id: root
    width: 702
    height: 441

    // The model's cockpit values, read from its meta-object by the test set-up.
    readonly property var cockpitProperties: virtualPlatformDataModelFacts.cockpitInputs
    property var transmissions: []

    SignalSpy {
        id: transmitSpy
        target: virtualPlatformDataModel
        signalName: "requestTransmit"
    }

    Connections {
        target: virtualPlatformDataModel
        function onRequestTransmit() {
            var sent = {}
            root.cockpitProperties.forEach(function(p) { sent[p] = virtualPlatformDataModel[p] })
            root.transmissions.push(sent)
        }
    }

    Component { id: light; ControlPanelSubviewLight { width: root.width; height: root.height } }
    Component { id: alarm; ControlPanelSubviewAlarm { width: root.width; height: root.height } }
    Component { id: windshield; ControlPanelSubviewWindshield { width: root.width; height: root.height } }
    Component { id: restbus; ControlPanelSubviewRestbus { width: root.width; height: root.height } }
    Component { id: dynamic; ControlPanelSubviewDynamic { width: root.width; height: root.height } }

    TestCase {
        name: "CockpitSubviews"
        when: windowShown

        function init() {
            root.cockpitProperties.forEach(function(p) { virtualPlatformDataModel[p] = virtualPlatformDataModelFacts.initial[p] })
            root.transmissions = []
            transmitSpy.clear()
        }

        function create(component) {
            var view = createTemporaryObject(component, root)
            waitForRendering(view)
            compare(transmitSpy.count, 0, "a new sub-view sends nothing")
            return view
        }

        // The value of one cockpit property in every transmission so far.
        function sent(property) {
            compare(transmitSpy.count, root.transmissions.length)
            return root.transmissions.map(function(t) { return t[property] })
        }

        function clickStalk(stalk, position) {
            mouseClick(stalk.clickableAreaList.filter(function(a) { return a.itemNumber === position })[0])
        }

        function leverAngle(stalk) {
            return findChild(stalk, "controlStalkLever").transform[0]
        }

        function test_lightSwitch_data() {
            return [0, 1, 2, 3, 4].map(function(p) { return { tag: "position " + p, position: p } })
        }

        // A second click on the same position sends the same value again.
        function test_lightSwitch(data) {
            var area = findChild(create(light), "controlPanelSubviewLightSwitch").lightSwitchItemsList[data.position].clickableArea
            mouseClick(area)
            mouseClick(area)
            compare(sent("cockpitLightSwitch"), [data.position, data.position])
        }

        function test_toggles_data() {
            return [
                { tag: "hazard warning lights", control: "controlPanelSubviewLightWarningButton", property: "cockpitWarnLight", values: [1, 0] },
                { tag: "ignition", control: "controlPanelSubviewLightIgnitionSwitch", property: "cockpitIgnition", values: [1, 0] },
                { tag: "front fog lights", control: "controlPanelSubviewLightFogButton", property: "", values: [] },
                { tag: "rear fog lights", control: "controlPanelSubviewLightFogBackButton", property: "", values: [] }
            ]
        }

        // Two clicks switch on and off again; the fog light buttons latch but send nothing.
        function test_toggles(data) {
            var control = findChild(create(light), data.control)
            mouseClick(control)
            if ("snaped" in control)
                verify(control.snaped)
            mouseClick(control)
            compare(transmitSpy.count, data.values.length)
            if (data.property)
                compare(sent(data.property), data.values)
        }

        function test_indicatorStalk_data() {
            return [
                { tag: "1 returns", position: 1, later: [1, 0] },
                { tag: "-1 returns", position: -1, later: [-1, 0] },
                { tag: "2 stays", position: 2, later: [2] },
                { tag: "-2 stays", position: -2, later: [-2] }
            ]
        }

        // 1 and -1 are followed by 0 when the stalk's return timer fires; 2 and -2 start none.
        function test_indicatorStalk(data) {
            var stalk = findChild(create(light), "signalControlStalk")
            var timer = findChild(stalk, "controlStalkReturnTimer")
            clickStalk(stalk, data.position)
            compare(sent("cockpitIndicator"), [data.position])
            compare(timer.running, data.later.length > 1)
            tryCompare(transmitSpy, "count", data.later.length, 2 * timer.interval)
            compare(sent("cockpitIndicator"), data.later)
        }

        function test_pressAndRelease_data() {
            return [
                { tag: "wash", view: windshield, control: "windshieldwasherWashGradientButton", property: "cockpitWindshieldWasherPump", pressed: [1], released: [1, 0] },
                { tag: "brake normal", view: dynamic, control: "brakeControlNormalButton", property: "cockpitBrake", pressed: [1], released: [1, 0] },
                { tag: "brake emergency", view: dynamic, control: "brakeControlEmergencyButton", property: "cockpitBrake", pressed: [2], released: [2, 0] },
                { tag: "brake extreme", view: dynamic, control: "brakeControlExtremeEmergencyButton", property: "cockpitBrake", pressed: [3], released: [3, 0] },
                { tag: "alarm acknowledgement", view: alarm, control: "controlPanelSubviewAlarmButton", property: "cockpitAlarmReset", pressed: [1], released: [1] }
            ]
        }

        function test_pressAndRelease(data) {
            var button = findChild(create(data.view), data.control)
            mousePress(button)
            compare(sent(data.property), data.pressed)
            mouseRelease(button)
            compare(sent(data.property), data.released)
        }

        // Each press sets the acknowledgement again, also after the peer has reset it.
        function test_alarmAcknowledgedTwice() {
            var button = findChild(create(alarm), "controlPanelSubviewAlarmButton")
            mouseClick(button)
            virtualPlatformDataModel.cockpitAlarmReset = 0
            mouseClick(button)
            compare(sent("cockpitAlarmReset"), [1, 1])
        }

        function test_wiperStalk_data() {
            return [ { tag: "2", position: 2, mode: 5 }, { tag: "1", position: 1, mode: 4 },
                     { tag: "-1", position: -1, mode: 2 }, { tag: "-2", position: -2, mode: 3 } ]
        }

        // Every position latches (no return is pending); going back to 0 writes mode 0.
        function test_wiperStalk(data) {
            var stalk = findChild(create(windshield), "windshieldwasherControlStalk")
            clickStalk(stalk, data.position)
            verify(!findChild(stalk, "controlStalkReturnTimer").running)
            clickStalk(stalk, 0)
            compare(sent("cockpitWindshieldWasherMode"), [data.mode, 0])
        }

        // Held, the single-wipe button brings the stalk back to 0 without a transmission of its own.
        function test_singleWipeWhileTheStalkIsAt2() {
            var view = create(windshield)
            var stalk = findChild(view, "windshieldwasherControlStalk")
            clickStalk(stalk, 2)
            tryCompare(leverAngle(stalk), "angle", -36, 1000)
            init()
            var button = findChild(view, "windshieldwasherOnceGradientButton")
            mousePress(button)
            compare(sent("cockpitWindshieldWasherMode"), [1])
            tryCompare(leverAngle(stalk), "angle", 0, 1000)
            mouseRelease(button)
            compare(sent("cockpitWindshieldWasherMode"), [1, 0])
        }

        function test_heaterButtonsExcludeEachOther_data() {
            return [
                { tag: "manual while automatic", first: "windshieldheaterAutoButton", second: "windshieldheaterManualButton", firstValue: 1, secondValue: 2 },
                { tag: "automatic while manual", first: "windshieldheaterManualButton", second: "windshieldheaterAutoButton", firstValue: 2, secondValue: 1 }
            ]
        }

        // Latching the second unlatches the first, and each change asks for a transmission;
        // unlatching the second switches the heater off.
        function test_heaterButtonsExcludeEachOther(data) {
            var view = create(windshield)
            var first = findChild(view, data.first)
            var second = findChild(view, data.second)
            mouseClick(first)
            mouseClick(second)
            verify(second.snaped && !first.snaped)
            mouseClick(second)
            verify(!second.snaped && !first.snaped)
            compare(sent("cockpitWindshieldHeater"), [data.firstValue, data.secondValue, data.secondValue, 0])
        }

        // Only the temperature is sent; the light sensor switch starts at day and changes only its
        // picture, as does the distance sensor.
        function test_sensors() {
            var view = create(restbus)
            var lightSensor = findChild(view, "controlPanelSubviewRestbusLightSensorSwitch")
            verify(lightSensor.daytimeState)
            mouseClick(lightSensor)
            verify(!lightSensor.daytimeState)
            var distanceSensor = findChild(view, "controlPanelSubviewRestbusDistanceSensor")
            var area = findChild(distanceSensor, "distanceSensorMouseArea")
            mousePress(area, area.width / 2, 5)
            mouseMove(area, area.width / 2, 0.25 * area.height)
            mouseMove(area, area.width / 2, 0.5 * area.height)
            mouseRelease(area, area.width / 2, 0.5 * area.height)
            verify(distanceSensor.vehicleAhead)
            compare(transmitSpy.count, 0)
            var temperature = findChild(view, "controlPanelSubviewRestbusTemperatureControl")
            mouseClick(findChild(temperature, "temperatureControlUpArea"))
            mouseClick(findChild(temperature, "temperatureControlDownArea"))
            mouseClick(findChild(temperature, "temperatureControlDownArea"))
            compare(sent("cockpitTemperature"), [6, 5, 4])
        }

        function test_sliders_data() {
            return [
                { tag: "velocity", control: "controlPanelSubviewDynamicVelocityControl", slider: "velocityControlSlider", property: "cockpitVelocity", value: 80 },
                { tag: "steering angle", control: "controlPanelSubviewDynamicSteeringAngleControl", slider: "steeringAngleControlSlider", property: "cockpitSteeringAngleDeg", value: -30 }
            ]
        }

        // A drag sends once, at the release.
        function test_sliders(data) {
            var slider = findChild(findChild(create(dynamic), data.control), data.slider)
            var handleWidth = slider.__panel.handleWidth
            function xOf(v) {
                return (v - slider.minimumValue) / (slider.maximumValue - slider.minimumValue) * (slider.width - handleWidth) + handleWidth / 2
            }
            var y = slider.height / 2
            mousePress(slider, xOf(0), y)
            for (var i = 1; i <= 8; ++i)
                mouseMove(slider, xOf(0) + (xOf(data.value) - xOf(0)) * i / 8, y)
            compare(transmitSpy.count, 0)
            mouseRelease(slider, xOf(data.value), y)
            compare(sent(data.property), [data.value])
        }
    }
}
