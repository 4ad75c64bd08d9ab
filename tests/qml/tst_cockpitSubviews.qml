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

    readonly property var cockpitProperties: [
        "cockpitWarnLight", "cockpitIndicator", "cockpitLightSwitch", "cockpitWindshieldHeater",
        "cockpitWindshieldWasherPump", "cockpitWindshieldWasherMode", "cockpitTemperature",
        "cockpitAlarmReset", "cockpitIgnition", "cockpitBrake", "cockpitVelocity", "cockpitSteeringAngleDeg"
    ]
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
            for (var i = 0; i < root.cockpitProperties.length; ++i)
                sent[root.cockpitProperties[i]] = virtualPlatformDataModel[root.cockpitProperties[i]]
            root.transmissions.push(sent)
        }
    }

    Component {
        id: lightComponent
        ControlPanelSubviewLight { width: root.width; height: root.height }
    }
    Component {
        id: alarmComponent
        ControlPanelSubviewAlarm { width: root.width; height: root.height }
    }
    Component {
        id: windshieldComponent
        ControlPanelSubviewWindshield { width: root.width; height: root.height }
    }
    Component {
        id: restbusComponent
        ControlPanelSubviewRestbus { width: root.width; height: root.height }
    }
    Component {
        id: dynamicComponent
        ControlPanelSubviewDynamic { width: root.width; height: root.height }
    }

    TestCase {
        name: "CockpitSubviews"
        when: windowShown

        function init() {
            for (var i = 0; i < root.cockpitProperties.length; ++i)
                virtualPlatformDataModel[root.cockpitProperties[i]] = 0
            virtualPlatformDataModel.windshieldLightSensor = false
            root.transmissions = []
            transmitSpy.clear()
        }

        function create(component) {
            var view = createTemporaryObject(component, root)
            verify(view)
            wait(50)
            compare(transmitSpy.count, 0, "a new sub-view sends nothing")
            return view
        }

        // The value of one cockpit property in every transmission so far.
        function sent(property) {
            compare(transmitSpy.count, root.transmissions.length)
            return root.transmissions.map(function(t) { return t[property] })
        }

        function clickStalk(stalk, position) {
            for (var i = 0; i < stalk.clickableAreaList.length; ++i) {
                if (stalk.clickableAreaList[i].itemNumber === position) {
                    mouseClick(stalk.clickableAreaList[i])
                    return
                }
            }
            fail("no area for position " + position)
        }

        function leverAngle(stalk) {
            return findChild(stalk, "controlStalkLever").transform[0].angle
        }

        // Drags a slider's handle from its start to value v and lets it go.
        function slide(slider, v) {
            var handleWidth = slider.__panel.handleWidth
            function xOf(value) {
                return (value - slider.minimumValue) / (slider.maximumValue - slider.minimumValue) * (slider.width - handleWidth)
                        + handleWidth / 2
            }
            var y = slider.height / 2
            mousePress(slider, xOf(slider.value), y)
            for (var i = 1; i <= 8; ++i)
                mouseMove(slider, xOf(slider.value) + (xOf(v) - xOf(slider.value)) * i / 8, y)
            compare(transmitSpy.count, 0, "nothing is sent while the slider is held")
            mouseRelease(slider, xOf(v), y)
        }

        function test_lightSwitch_data() {
            return [
                { tag: "off", position: 0 },
                { tag: "automatic", position: 1 },
                { tag: "daytime running lights", position: 2 },
                { tag: "low beam", position: 3 },
                { tag: "high beam", position: 4 }
            ]
        }

        // A second click on the same position sends the same value again.
        function test_lightSwitch(data) {
            var view = create(lightComponent)
            var lightSwitch = findChild(view, "controlPanelSubviewLightSwitch")
            var area = lightSwitch.lightSwitchItemsList[data.position].clickableArea
            mouseClick(area)
            mouseClick(area)
            compare(sent("cockpitLightSwitch"), [data.position, data.position])
        }

        function test_lightSubviewSwitches_data() {
            return [
                { tag: "hazard warning lights", control: "controlPanelSubviewLightWarningButton", property: "cockpitWarnLight", values: [1, 0] },
                { tag: "ignition", control: "controlPanelSubviewLightIgnitionSwitch", property: "cockpitIgnition", values: [1, 0] },
                { tag: "front fog lights", control: "controlPanelSubviewLightFogButton", property: "", values: [] },
                { tag: "rear fog lights", control: "controlPanelSubviewLightFogBackButton", property: "", values: [] }
            ]
        }

        // Two clicks switch on and off again; the fog light buttons latch but send nothing.
        function test_lightSubviewSwitches(data) {
            var view = create(lightComponent)
            var control = findChild(view, data.control)
            mouseClick(control)
            if (control.hasOwnProperty("snaped"))
                verify(control.snaped)
            mouseClick(control)
            if (control.hasOwnProperty("snaped"))
                verify(!control.snaped)
            compare(transmitSpy.count, data.values.length)
            if (data.property !== "")
                compare(sent(data.property), data.values)
        }

        function test_indicatorStalk_data() {
            return [
                { tag: "1 returns", position: 1, returns: true },
                { tag: "-1 returns", position: -1, returns: true },
                { tag: "2 stays", position: 2, returns: false },
                { tag: "-2 stays", position: -2, returns: false }
            ]
        }

        function test_indicatorStalk(data) {
            var view = create(lightComponent)
            clickStalk(findChild(view, "signalControlStalk"), data.position)
            compare(sent("cockpitIndicator"), [data.position])
            wait(850)
            compare(sent("cockpitIndicator"), [data.position])
            if (data.returns) {
                tryCompare(transmitSpy, "count", 2, 400)
                compare(sent("cockpitIndicator"), [data.position, 0])
            } else {
                wait(400)
                compare(sent("cockpitIndicator"), [data.position])
            }
        }

        // Each press sets the acknowledgement; the release and a reset by the peer send nothing.
        function test_alarmAcknowledgement() {
            var view = create(alarmComponent)
            var button = findChild(view, "controlPanelSubviewAlarmButton")
            mousePress(button)
            compare(sent("cockpitAlarmReset"), [1])
            virtualPlatformDataModel.cockpitAlarmReset = 0
            mouseRelease(button)
            compare(virtualPlatformDataModel.cockpitAlarmReset, 0)
            mousePress(button)
            mouseRelease(button)
            compare(sent("cockpitAlarmReset"), [1, 1])
            compare(virtualPlatformDataModel.cockpitAlarmReset, 1)
        }

        function test_wiperStalk_data() {
            return [
                { tag: "2", position: 2, mode: 5 },
                { tag: "1", position: 1, mode: 4 },
                { tag: "-1", position: -1, mode: 2 },
                { tag: "-2", position: -2, mode: 3 }
            ]
        }

        // Every position latches; going back to 0 writes mode 0.
        function test_wiperStalk(data) {
            var view = create(windshieldComponent)
            var stalk = findChild(view, "windshieldwasherControlStalk")
            clickStalk(stalk, data.position)
            wait(1200)
            clickStalk(stalk, 0)
            compare(sent("cockpitWindshieldWasherMode"), [data.mode, 0])
        }

        // Held, the single-wipe button brings the stalk back to 0 without a transmission of its own.
        function test_singleWipeWhileTheStalkIsAt2() {
            var view = create(windshieldComponent)
            var stalk = findChild(view, "windshieldwasherControlStalk")
            clickStalk(stalk, 2)
            tryCompare(findChild(stalk, "controlStalkLever").transform[0], "angle", -36, 1000)
            init()
            var button = findChild(view, "windshieldwasherOnceGradientButton")
            mousePress(button)
            compare(sent("cockpitWindshieldWasherMode"), [1])
            tryCompare(findChild(stalk, "controlStalkLever").transform[0], "angle", 0, 1000)
            mouseRelease(button)
            compare(sent("cockpitWindshieldWasherMode"), [1, 0])
            compare(leverAngle(stalk), 0)
        }

        function test_washButton() {
            var view = create(windshieldComponent)
            var button = findChild(view, "windshieldwasherWashGradientButton")
            mousePress(button)
            compare(sent("cockpitWindshieldWasherPump"), [1])
            mouseRelease(button)
            compare(sent("cockpitWindshieldWasherPump"), [1, 0])
        }

        function test_heaterButtonsExcludeEachOther_data() {
            return [
                { tag: "manual while automatic", first: "windshieldheaterAutoButton", second: "windshieldheaterManualButton", firstValue: 1, secondValue: 2 },
                { tag: "automatic while manual", first: "windshieldheaterManualButton", second: "windshieldheaterAutoButton", firstValue: 2, secondValue: 1 }
            ]
        }

        // Latching the second unlatches the first (each change asks for a transmission); unlatching
        // the second switches the heater off.
        function test_heaterButtonsExcludeEachOther(data) {
            var view = create(windshieldComponent)
            var first = findChild(view, data.first)
            var second = findChild(view, data.second)
            mouseClick(first)
            compare(sent("cockpitWindshieldHeater"), [data.firstValue])
            init()
            mouseClick(second)
            verify(second.snaped)
            verify(!first.snaped)
            compare(sent("cockpitWindshieldHeater"), [data.secondValue, data.secondValue])
            init()
            mouseClick(second)
            verify(!second.snaped && !first.snaped)
            compare(sent("cockpitWindshieldHeater"), [0])
        }

        function test_temperature() {
            var view = create(restbusComponent)
            var control = findChild(view, "controlPanelSubviewRestbusTemperatureControl")
            mouseClick(findChild(control, "temperatureControlUpArea"))
            mouseClick(findChild(control, "temperatureControlDownArea"))
            mouseClick(findChild(control, "temperatureControlDownArea"))
            compare(sent("cockpitTemperature"), [6, 5, 4])
        }

        // The cockpit's own sensors only change their pictures; the light sensor starts at day.
        function test_sensorsSendNothing() {
            var view = create(restbusComponent)
            var lightSensor = findChild(view, "controlPanelSubviewRestbusLightSensorSwitch")
            verify(lightSensor.daytimeState)
            mouseClick(lightSensor)
            verify(!lightSensor.daytimeState)
            var distance = findChild(view, "controlPanelSubviewRestbusDistanceSensor")
            var area = findChild(distance, "distanceSensorMouseArea")
            mousePress(area, area.width / 2, 5)
            mouseMove(area, area.width / 2, 0.25 * area.height)
            mouseMove(area, area.width / 2, 0.5 * area.height)
            mouseRelease(area, area.width / 2, 0.5 * area.height)
            verify(distance.vehicleAhead)
            compare(transmitSpy.count, 0)
            compare(virtualPlatformDataModel.windshieldLightSensor, false)
        }

        function test_brake_data() {
            return [
                { tag: "normal", button: "brakeControlNormalButton", mode: 1 },
                { tag: "emergency", button: "brakeControlEmergencyButton", mode: 2 },
                { tag: "extreme emergency", button: "brakeControlExtremeEmergencyButton", mode: 3 }
            ]
        }

        function test_brake(data) {
            var view = create(dynamicComponent)
            var button = findChild(view, data.button)
            mousePress(button)
            compare(sent("cockpitBrake"), [data.mode])
            mouseRelease(button)
            compare(sent("cockpitBrake"), [data.mode, 0])
        }

        function test_sliders_data() {
            return [
                { tag: "velocity", control: "controlPanelSubviewDynamicVelocityControl", slider: "velocityControlSlider", property: "cockpitVelocity", value: 80 },
                { tag: "steering angle", control: "controlPanelSubviewDynamicSteeringAngleControl", slider: "steeringAngleControlSlider", property: "cockpitSteeringAngleDeg", value: -30 }
            ]
        }

        // A drag sends once, at the release.
        function test_sliders(data) {
            var view = create(dynamicComponent)
            var slider = findChild(findChild(view, data.control), data.slider)
            slide(slider, data.value)
            compare(sent(data.property), [data.value])
        }
    }
}
