import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// The cockpit's picture buttons, the ignition switch and the brake control, driven by the mouse.
Item {
    id: root
    width: 600
    height: 600

    readonly property string imagePath: Theme.themeImagePath

    Component {
        id: gradientButtonComponent
        GradientButton {
            width: 200
            height: 100
            buttonPressedImageSource: root.imagePath + "light_button_warninglights_active.svg"
            buttonReleasedImageSource: root.imagePath + "light_button_warninglights_inactive.svg"
        }
    }

    Component {
        id: snapableButtonComponent
        SnapableGradientButton {
            width: 200
            height: 100
            buttonPressedImageSource: root.imagePath + "light_button_foglights_active.svg"
            buttonReleasedImageSource: root.imagePath + "light_button_foglights_inactive.svg"
        }
    }

    Component {
        id: ignitionComponent
        IgnitionSwitch {
            width: 100
            height: 100
        }
    }

    Component {
        id: brakeComponent
        BrakeControl {
            width: 200
            height: 450
            property var modes: []
            onBrakeControlBrakeModeChanged: modes.push(brakeControlBrakeMode)
        }
    }

    TestCase {
        name: "CockpitButtons"
        when: windowShown

        // Which of the two pictures a button shows.
        function shownPicture(button) {
            var pressedImage = findChild(button, "gradientButtonPressedImage")
            var releasedImage = findChild(button, "gradientButtonReleasedImage")
            verify(pressedImage.visible !== releasedImage.visible)
            return pressedImage.visible ? "pressed" : "released"
        }

        // Pressed, the active picture shows at once and alternates with the other one every 500 ms
        // while the button is held.
        function test_blinkingButton() {
            var button = createTemporaryObject(gradientButtonComponent, root, { buttonImageAnimated: true })
            var blink = findChild(button, "gradientButtonBlinkTimer")
            mousePress(button)
            var pressedAt = Date.now()
            compare(shownPicture(button), "pressed")
            tryVerify(function() { return shownPicture(button) === "released" }, 1000)
            verify(Date.now() - pressedAt >= 450, "blinked after " + (Date.now() - pressedAt) + " ms")
            verify(button.buttonPressed)
            tryVerify(function() { return shownPicture(button) === "pressed" }, 1000)
            mouseRelease(button)
            compare(shownPicture(button), "released")
            // The blinking ends with the release.
            verify(!blink.running)
        }

        function test_latchingTwice() {
            var button = createTemporaryObject(snapableButtonComponent, root)
            var spy = createTemporaryObject(spyComponent, root, { target: button, signalName: "snapedChanged" })
            mousePress(button)
            verify(button.snaped)
            compare(shownPicture(button), "pressed")  // at the press, not at the release
            mouseRelease(button)
            verify(button.snaped)
            verify(button.buttonPressed)
            compare(shownPicture(button), "pressed")
            mousePress(button)
            verify(!button.snaped)
            compare(shownPicture(button), "released")
            mouseRelease(button)
            verify(!button.snaped)
            verify(!button.buttonPressed)
            compare(spy.count, 2)
        }

        function test_latchingFromOutside() {
            var button = createTemporaryObject(snapableButtonComponent, root)
            button.snaped = true
            verify(button.buttonPressed)
            compare(shownPicture(button), "pressed")
            mouseClick(button)
            verify(!button.snaped)
            compare(shownPicture(button), "released")
        }

        function test_ignitionSwitch() {
            var ignition = createTemporaryObject(ignitionComponent, root)
            var on = findChild(ignition, "ignitionSwitchOnImage")
            var off = findChild(ignition, "ignitionSwitchOffImage")
            verify(!ignition.activated)
            verify(!on.visible && off.visible)
            mouseClick(ignition)
            verify(ignition.activated)
            verify(on.visible && !off.visible)
            mouseClick(ignition)
            verify(!ignition.activated)
            verify(!on.visible && off.visible)
        }

        function test_brakeModeSequence_data() {
            return [
                { tag: "normal", button: "brakeControlNormalButton", mode: 1 },
                { tag: "emergency", button: "brakeControlEmergencyButton", mode: 2 },
                { tag: "extreme emergency", button: "brakeControlExtremeEmergencyButton", mode: 3 }
            ]
        }

        function test_brakeModeSequence(data) {
            var brake = createTemporaryObject(brakeComponent, root)
            var button = findChild(brake, data.button)
            // The three buttons share the column's height.
            compare(button.width, brake.width)
            verify(Math.abs(button.height - brake.height / 3) < 10)
            mousePress(button)
            compare(brake.brakeControlBrakeMode, data.mode)
            mouseRelease(button)
            compare(brake.brakeControlBrakeMode, 0)
            compare(brake.modes, [data.mode, 0])
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }
}
