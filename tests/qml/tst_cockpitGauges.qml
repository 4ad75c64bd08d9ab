import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/TachometerView"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/TachometerView/TachometerViewComponents"

// The gauges view: faces painted at the gauge's radius, the red zones, labels never below 6 pixels.
Item {
    id: root
    width: 800
    height: 480

    Component {
        id: viewComponent
        Item {
            width: 800
            height: 480
            property alias view: view
            TachometerView {
                id: view
            }
        }
    }

    TestCase {
        name: "CockpitGauges"
        when: windowShown

        function gaugesOf(holder) {
            return {
                tachometer: findChild(holder.view, "tachometerViewTachometer"),
                speedometer: findChild(holder.view, "tachometerViewSpeedometer")
            }
        }

        function verifyPaintedAt(gauge) {
            var radius = Math.min(gauge.width, gauge.height) / 2
            var face = findChild(gauge, "customCircularGaugeStyleFace")
            tryVerify(function() { return Math.abs(face.facePaintedRadius - radius) < 0.01 }, 2000,
                      "face painted at radius " + radius + ", last at " + face.facePaintedRadius)
            compare(face.width, 2 * radius)
            var label = findChild(gauge, "customCircularGaugeStyleLabel0")
            verify(Math.abs(label.font.pixelSize - Math.max(6, 0.1 * radius)) < 1,
                   "label pixel size " + label.font.pixelSize + " at radius " + radius)
        }

        function test_resizeRepaintsBothFaces() {
            var holder = createTemporaryObject(viewComponent, root)
            var gauges = gaugesOf(holder)
            fuzzyCompare(gauges.tachometer.width, 0.98 * 480, 0.01)
            fuzzyCompare(gauges.speedometer.x, 0.44 * 800, 0.01)
            fuzzyCompare(gauges.speedometer.y, 0.19 * 480, 0.01)
            verify(gauges.speedometer.z > gauges.tachometer.z)
            verifyPaintedAt(gauges.tachometer)
            verifyPaintedAt(gauges.speedometer)
            holder.width = 400
            holder.height = 240
            verifyPaintedAt(gauges.tachometer)
            verifyPaintedAt(gauges.speedometer)
            // Below a radius of 60 pixels the labels keep 6 pixels.
            holder.width = 160
            holder.height = 96
            verifyPaintedAt(gauges.tachometer)
            verifyPaintedAt(gauges.speedometer)
            compare(findChild(gauges.speedometer, "customCircularGaugeStyleLabel20").font.pixelSize, 6)
        }

        function test_redZone_data() {
            var red = "#e34c22"
            return [
                { tag: "tachometer 6", gauge: "tachometer", value: 6, tickShown: true, tickColor: "#e5e5e5", labelColor: "#ffffff" },
                { tag: "tachometer 7", gauge: "tachometer", value: 7, tickShown: false, tickColor: red, labelColor: red },
                { tag: "tachometer 9", gauge: "tachometer", value: 9, tickShown: false, tickColor: red, labelColor: red },
                { tag: "speedometer 240", gauge: "speedometer", value: 240, tickShown: true, tickColor: "#e5e5e5", labelColor: "#ffffff" },
                { tag: "speedometer 250", gauge: "speedometer", value: 250, tickShown: true, tickColor: red, labelColor: null }
            ]
        }

        function test_redZone(data) {
            var holder = createTemporaryObject(viewComponent, root)
            var gauge = gaugesOf(holder)[data.gauge]
            var tick = findChild(gauge, "customCircularGaugeStyleTickmark" + data.value)
            verify(tick !== null)
            compare(tick.visible, data.tickShown)
            compare(String(tick.color), data.tickColor)
            var label = findChild(gauge, "customCircularGaugeStyleLabel" + data.value)
            if (data.labelColor === null)
                compare(label, null)  // 250 is no multiple of the label step 20
            else
                compare(String(label.color), data.labelColor)
        }

        function test_valueChangeIsAnimated_data() {
            return [
                { tag: "tachometer", gauge: "tachometer", maximum: 9, duration: 100 },
                { tag: "speedometer", gauge: "speedometer", maximum: 250, duration: 500 }
            ]
        }

        function test_valueChangeIsAnimated(data) {
            var holder = createTemporaryObject(viewComponent, root)
            var gauge = gaugesOf(holder)[data.gauge]
            compare(gauge.value, 0)
            gauge.value = data.maximum
            verify(gauge.value < data.maximum)
            if (data.duration > 200) {
                wait(data.duration / 2)
                verify(gauge.value > 0 && gauge.value < data.maximum)
            }
            tryCompare(gauge, "value", data.maximum, data.duration + 500)
        }
    }
}
