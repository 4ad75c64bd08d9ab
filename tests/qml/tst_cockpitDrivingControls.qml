import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"

// The velocity and steering angle controls: the display follows the slider live, the output takes
// the value once, when the slider is let go, and the slider stops at its limits.
Item {
    id: root
    width: 600
    height: 600

    Component {
        id: velocityComponent
        VelocityControl {
            width: 400
            height: 400
        }
    }

    Component {
        id: steeringComponent
        SteeringAngleControl {
            width: 400
            height: 400
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        name: "CockpitDrivingControls"
        when: windowShown

        readonly property var kinds: ({
            velocity: { component: velocityComponent, prefix: "velocityControl", output: "velocityControlValue", unit: " km/h" },
            steering: { component: steeringComponent, prefix: "steeringAngleControl", output: "steeringAngleControlAngleValueDeg", unit: "°" }
        })

        // The x coordinate, in slider coordinates, of the handle's centre at value v.
        function handleCentre(slider, v) {
            var handleWidth = slider.__panel.handleWidth
            return (v - slider.minimumValue) / (slider.maximumValue - slider.minimumValue) * (slider.width - handleWidth)
                    + handleWidth / 2
        }

        // The display that follows the slider live: the gauge's value or the wheel's rotation.
        function liveDisplay(control, kind) {
            return kind === "velocity" ? findChild(control, "velocityControlGauge").value
                                       : findChild(control, "steeringAngleControlWheel").rotation
        }

        function test_dragPublishesOnceAtRelease_data() {
            return [
                { tag: "velocity to 80", kind: "velocity", to: 80, expected: 80 },
                { tag: "velocity beyond the top", kind: "velocity", to: 200, expected: 120 },
                { tag: "steering to 30", kind: "steering", to: 30, expected: 30 },
                { tag: "steering beyond the right end", kind: "steering", to: 90, expected: 45 },
                { tag: "steering beyond the left end", kind: "steering", to: -90, expected: -45 }
            ]
        }

        function test_dragPublishesOnceAtRelease(data) {
            var kind = kinds[data.kind]
            var control = createTemporaryObject(kind.component, root)
            var slider = findChild(control, kind.prefix + "Slider")
            var text = findChild(control, kind.prefix + "Text")
            var spy = createTemporaryObject(spyComponent, root, { target: control, signalName: kind.output + "Changed" })
            compare(control[kind.output], 0)
            compare(text.text, "0" + kind.unit)

            var y = slider.height / 2
            var x = handleCentre(slider, 0)
            var targetX = handleCentre(slider, data.to)
            mousePress(slider, x, y)
            var seen = []
            for (var i = 1; i <= 10; ++i) {
                mouseMove(slider, x + (targetX - x) * i / 10, y)
                var v = Math.round(slider.value)
                compare(text.text, v + kind.unit)
                compare(liveDisplay(control, data.kind), slider.value)
                if (seen.indexOf(v) < 0)
                    seen.push(v)
            }
            verify(seen.length > 3, "the display moved in steps: " + seen)
            compare(slider.value, data.expected)
            compare(spy.count, 0)
            compare(control[kind.output], 0)
            mouseRelease(slider, targetX, y)
            compare(control[kind.output], data.expected)
            compare(spy.count, 1)
        }

        // A wheel turn over the slider changes the value without a press; it is published at once
        // so that the number shown and the value sent stay the same.
        function test_wheelPublishesAtOnce_data() {
            return [ { tag: "velocity", kind: "velocity" }, { tag: "steering", kind: "steering" } ]
        }

        function test_wheelPublishesAtOnce(data) {
            var kind = kinds[data.kind]
            var control = createTemporaryObject(kind.component, root)
            var slider = findChild(control, kind.prefix + "Slider")
            mouseWheel(slider, slider.width / 2, slider.height / 2, 0, 120)
            verify(slider.value !== 0)
            compare(control[kind.output], Math.round(slider.value))
        }
    }
}
