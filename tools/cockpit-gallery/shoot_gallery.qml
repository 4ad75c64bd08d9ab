import QtQuick 2.5
import QtTest 1.1

// Takes screenshots of the gallery: once as it starts, once after the controls were operated with the
// mouse. Run by shoot.sh; the pictures go to build/cockpit-gallery/.
Item {
    id: root
    width: gallery.width
    height: gallery.height

    CockpitGallery {
        id: gallery
    }

    TestCase {
        name: "CockpitGallery"
        when: windowShown

        readonly property string outputDirectory: String(Qt.resolvedUrl("../../build/cockpit-gallery/")).replace("file://", "")

        function save(item, name) {
            var saved = false
            verify(item.grabToImage(function(result) {
                saved = result.saveToFile(outputDirectory + name + ".png")
            }))
            tryVerify(function() { return saved }, 5000, "saved " + name)
        }

        function slide(slider, fromValue, toValue) {
            var handleWidth = slider.__panel.handleWidth
            function xOf(v) {
                return (v - slider.minimumValue) / (slider.maximumValue - slider.minimumValue) * (slider.width - handleWidth)
                        + handleWidth / 2
            }
            var y = slider.height / 2
            mousePress(slider, xOf(fromValue), y)
            for (var i = 1; i <= 8; ++i)
                mouseMove(slider, xOf(fromValue) + (xOf(toValue) - xOf(fromValue)) * i / 8, y)
            mouseRelease(slider, xOf(toValue), y)
        }

        function clickLightSwitch(lightSwitch, angle) {
            var square = findChild(lightSwitch, "lightSwitchSquare")
            var a = angle * Math.PI / 180
            mouseClick(square, (0.5 + Math.cos(a) * 0.41) * square.width, (0.5 + Math.sin(a) * 0.41) * square.height)
        }

        function clickStalk(stalk, position) {
            for (var i = 0; i < stalk.clickableAreaList.length; ++i) {
                if (stalk.clickableAreaList[i].itemNumber === position)
                    mouseClick(stalk.clickableAreaList[i])
            }
        }

        function dragCar(sensor, relativeY) {
            var area = findChild(sensor, "distanceSensorMouseArea")
            mousePress(area, area.width / 2, 2)
            for (var i = 1; i <= 4; ++i)
                mouseMove(area, area.width / 2, 2 + relativeY * area.height * i / 4)
            mouseRelease(area, area.width / 2, 2 + relativeY * area.height)
        }

        function dragTemperature(control, value) {
            var bar = findChild(control, "temperatureControlBarArea")
            var y = bar.height - (value + 40) / 100 * bar.height
            mousePress(bar, bar.width / 2, bar.height / 2)
            mouseMove(bar, bar.width / 2, (bar.height / 2 + y) / 2)
            mouseMove(bar, bar.width / 2, y)
            mouseRelease(bar, bar.width / 2, y)
        }

        function operate(panel, large) {
            mouseClick(panel.fogButton)
            mouseClick(panel.ignitionSwitch)
            slide(findChild(panel.velocityControl, "velocityControlSlider"), 0, large ? 80 : 120)
            slide(findChild(panel.steeringAngleControl, "steeringAngleControlSlider"), 0, large ? -30 : 45)
            clickLightSwitch(panel.lightSwitch, large ? 340 : 15)
            mouseClick(panel.lightSensorSwitch)
            mouseClick(panel.nightLightSensorSwitch)
            clickStalk(panel.signalControlStalk, large ? 2 : -2)
            clickStalk(panel.wiperControlStalk, large ? -1 : 2)
            if (large)
                dragTemperature(panel.temperatureControl, 30)
            else
                mouseClick(findChild(panel.temperatureControl, "temperatureControlDownArea"))
            dragCar(panel.distanceSensor, large ? 0.5 : 0.9)
            // Nothing drives the gauges in the program; here they show a reading.
            findChild(panel.tachometerView, "tachometerViewTachometer").value = 3
            findChild(panel.tachometerView, "tachometerViewSpeedometer").value = 100
        }

        function test_shoot() {
            wait(800)
            save(gallery, "gallery-start")
            save(gallery.large, "gallery-start-large")
            save(gallery.small, "gallery-start-small")

            operate(gallery.large, true)
            operate(gallery.small, false)
            wait(800)
            save(gallery, "gallery-operated")
            save(gallery.large, "gallery-operated-large")
            save(gallery.small, "gallery-operated-small")

            // Pictures shown only while a press is held.
            var warning = gallery.large.warningButton
            mousePress(warning)
            wait(150)
            save(warning.parent, "held-warning-at-once")
            wait(500)
            save(warning.parent, "held-warning-after-500ms")
            mouseRelease(warning)
            var brake = findChild(gallery.large.brakeControl, "brakeControlEmergencyButton")
            mousePress(brake)
            wait(150)
            save(gallery.large.brakeControl, "held-brake-emergency")
            mouseRelease(brake)
            var up = findChild(gallery.large.temperatureControl, "temperatureControlUpArea")
            mousePress(up)
            wait(150)
            save(gallery.large.temperatureControl, "held-temperature-up")
            mouseRelease(up)

            // Every position of the stalks and of the light switch, one picture each.
            var positions = [2, 1, 0, -1, -2]
            for (var i = 0; i < positions.length; ++i) {
                clickStalk(gallery.large.wiperControlStalk, positions[i])
                clickStalk(gallery.large.signalControlStalk, positions[i])
                wait(450)
                save(gallery.large.wiperControlStalk.parent, "stalk-wiper-" + positions[i])
                save(gallery.large.signalControlStalk.parent, "stalk-indicator-" + positions[i])
            }
            // The car ahead around the ends of the beam, and at the lowest place it can take.
            var sensor = gallery.large.distanceSensor
            var places = [0.15, 0.2, 0.7, 0.75]
            for (i = 0; i < places.length; ++i) {
                var car = sensor.distanceSensorSecondaryCarImage
                var area = findChild(sensor, "distanceSensorMouseArea")
                var fromY = car.y + 5
                var toY = fromY + places[i] * area.height - car.y
                mousePress(area, area.width / 2, fromY)
                mouseMove(area, area.width / 2, (fromY + toY) / 2)
                mouseMove(area, area.width / 2, toY)
                mouseRelease(area, area.width / 2, toY)
                save(sensor.parent, "distance-" + places[i])
            }
            var angles = [235, 270, 305, 340, 15]
            for (i = 0; i < angles.length; ++i) {
                clickLightSwitch(gallery.large.lightSwitch, angles[i])
                wait(400)
                save(gallery.large.lightSwitch.parent, "lightswitch-" + i)
            }
        }
    }
}
