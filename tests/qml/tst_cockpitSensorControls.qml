import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"

// The temperature control and the distance sensor, driven by the mouse.
Item {
    id: root
    width: 600
    height: 600

    // 350 x 400 is the thermometer's own ratio: the bar is 35 x 250 pixels, its top edge at y 17.
    Component {
        id: temperatureComponent
        TemperatureControl {
            width: 350
            height: 400
        }
    }

    Component {
        id: distanceComponent
        DistanceSensor {
            width: 200
            height: 400
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        name: "CockpitSensorControls"
        when: windowShown

        function test_temperatureButtons_data() {
            return [
                { tag: "up from 5", start: 5, area: "temperatureControlUpArea", expected: 6, reports: 1 },
                { tag: "down from 5", start: 5, area: "temperatureControlDownArea", expected: 4, reports: 1 },
                { tag: "up at 60", start: 60, area: "temperatureControlUpArea", expected: 60, reports: 0 },
                { tag: "down at -40", start: -40, area: "temperatureControlDownArea", expected: -40, reports: 0 },
                { tag: "down at 60", start: 60, area: "temperatureControlDownArea", expected: 59, reports: 1 }
            ]
        }

        function test_temperatureButtons(data) {
            var control = createTemporaryObject(temperatureComponent, root, {
                temperatureControlTemperatureValueIntern: data.start, temperatureControlTemperatureValue: data.start })
            var spy = createTemporaryObject(spyComponent, root, { target: control, signalName: "temperatureControlTemperatureValueChanged" })
            var area = findChild(control, data.area)
            mouseClick(area)
            compare(control.temperatureControlTemperatureValueIntern, data.expected)
            compare(control.temperatureControlTemperatureValue, data.expected)
            compare(spy.count, data.reports)
        }

        function test_temperatureBarClickInTheMiddle() {
            var control = createTemporaryObject(temperatureComponent, root)
            var bar = findChild(control, "temperatureControlBarArea")
            compare(bar.height, 250)
            var spy = createTemporaryObject(spyComponent, root, { target: control, signalName: "temperatureControlTemperatureValueChanged" })
            mouseClick(bar, bar.width / 2, bar.height / 2)
            compare(control.temperatureControlTemperatureValue, 10)
            compare(spy.count, 1)
            var mercury = findChild(control, "temperatureControlMercury")
            compare(mercury.height, 125)
            compare(mercury.y + mercury.height, bar.y + bar.height)
        }

        // The reading follows the drag; above the top it keeps the last value inside the range, and
        // the release, even outside the bar, reports it once.
        function test_temperatureDragAboveTheTop() {
            var control = createTemporaryObject(temperatureComponent, root)
            var bar = findChild(control, "temperatureControlBarArea")
            var spy = createTemporaryObject(spyComponent, root, { target: control, signalName: "temperatureControlTemperatureValueChanged" })
            var x = bar.width / 2
            mousePress(bar, x, 200)
            compare(control.temperatureControlTemperatureValueIntern, 5)  // the press alone sets nothing
            mouseMove(bar, x, 150)
            compare(control.temperatureControlTemperatureValueIntern, 0)
            mouseMove(bar, x, 25)
            compare(control.temperatureControlTemperatureValueIntern, 50)
            mouseMove(bar, x, 3)
            compare(control.temperatureControlTemperatureValueIntern, 58)
            mouseMove(bar, x, -20)
            compare(control.temperatureControlTemperatureValueIntern, 58)
            compare(spy.count, 0)
            compare(control.temperatureControlTemperatureValue, 5)
            mouseRelease(bar, x, -20)
            compare(control.temperatureControlTemperatureValue, 58)
            compare(spy.count, 1)
            compare(findChild(control, "temperatureControlReading").text, "58°C")
        }

        function test_temperatureDragBelowTheBottom() {
            var control = createTemporaryObject(temperatureComponent, root)
            var bar = findChild(control, "temperatureControlBarArea")
            var x = bar.width / 2
            mousePress(bar, x, 200)
            mouseMove(bar, x, 249)
            compare(control.temperatureControlTemperatureValueIntern, -39)
            mouseMove(bar, x, 300)
            mouseRelease(bar, x, 300)
            compare(control.temperatureControlTemperatureValue, -39)
        }

        function test_distanceSensorDrag_data() {
            return [
                { tag: "into the beam", to: 0.5, carY: 0.5, ahead: true },
                { tag: "near the beam's far end", to: 0.2, carY: 0.2, ahead: true },
                { tag: "before the beam", to: 0.1, carY: 0.1, ahead: false },
                { tag: "below the limit", to: 0.9, carY: 0.75, ahead: false },
                { tag: "above the top", to: -0.2, carY: 0, ahead: false }
            ]
        }

        function test_distanceSensorDrag(data) {
            var sensor = createTemporaryObject(distanceComponent, root)
            var area = findChild(sensor, "distanceSensorMouseArea")
            var car = sensor.distanceSensorSecondaryCarImage
            var green = findChild(sensor, "distanceSensorBeamGreen")
            var red = findChild(sensor, "distanceSensorBeamRed")
            compare(car.y, 0)
            verify(!sensor.vehicleAhead)
            verify(green.visible && !red.visible)

            // The car follows the pointer from where it was grabbed.
            var startY = 50
            mousePress(area, 100, startY)
            for (var i = 1; i <= 4; ++i)
                mouseMove(area, 100, startY + data.to * area.height * i / 4)
            compare(car.y, data.carY * area.height)
            compare(sensor.vehicleAhead, data.ahead)
            compare(red.visible, data.ahead)
            compare(green.visible, !data.ahead)
            mouseRelease(area, 100, startY + data.to * area.height)
            compare(car.y, data.carY * area.height)
        }

        function test_distanceSensorKeepsTheCarsPlaceWhenResized() {
            var sensor = createTemporaryObject(distanceComponent, root)
            var area = findChild(sensor, "distanceSensorMouseArea")
            mousePress(area, 100, 10)
            mouseMove(area, 100, 110)
            mouseMove(area, 100, 210)
            mouseRelease(area, 100, 210)
            compare(sensor.distanceSensorSecondaryCarImage.y, 200)
            sensor.width = 100
            sensor.height = 200
            compare(sensor.distanceSensorSecondaryCarImage.y, 100)
            verify(sensor.vehicleAhead)
        }
    }
}
