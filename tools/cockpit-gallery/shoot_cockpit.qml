import QtQuick 2.5
import QtTest 1.1

// Takes screenshots of the stand-alone cockpit window at 800 x 480 and at the size the cockpit has
// on the board (371 x 223): every main view and every control panel sub-view, before and after the
// controls were operated. Run by "shoot.sh cockpit"; the pictures go to build/cockpit-gallery/.
Item {
    id: root
    width: 100
    height: 100

    TestCase {
        name: "CockpitScreens"
        when: windowShown

        readonly property string outputDirectory: String(Qt.resolvedUrl("../../build/cockpit-gallery/")).replace("file://", "")
        readonly property var mainViews: [
            { name: "gauges", button: "cockpitMainViewTachometerButton" },
            { name: "bus", button: "cockpitMainViewCanButton" },
            { name: "controlpanel", button: "cockpitMainViewControlButton" }
        ]
        readonly property var subviews: [
            { name: "light", button: "controlPanelViewLightButton" },
            { name: "alarm", button: "controlPanelViewAlarmButton" },
            { name: "windshield", button: "controlPanelViewWindshieldButton" },
            { name: "sensors", button: "controlPanelViewRestbusButton" },
            { name: "driving", button: "controlPanelViewDynamicButton" }
        ]

        function save(item, name) {
            var saved = false
            verify(item.grabToImage(function(result) {
                saved = result.saveToFile(outputDirectory + name + ".png")
            }))
            tryVerify(function() { return saved }, 5000, "saved " + name)
        }

        function openCockpit(width, height) {
            var component = Qt.createComponent("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV-StandaloneCockpitMain.qml")
            compare(component.status, Component.Ready, component.errorString())
            var window = component.createObject(null, { width: width, height: height })
            verify(window)
            tryVerify(function() { return window.active || window.visible }, 2000)
            wait(600)
            return window
        }

        function show(window, button) {
            mouseClick(findChild(window.contentItem, button))
            wait(500)
        }

        function shoot(window, prefix) {
            for (var i = 0; i < mainViews.length; ++i) {
                show(window, mainViews[i].button)
                save(window.contentItem, prefix + "-" + mainViews[i].name)
            }
            for (i = 0; i < subviews.length; ++i) {
                show(window, subviews[i].button)
                save(window.contentItem, prefix + "-sub-" + subviews[i].name)
            }
        }

        // Moves every sub-view's controls away from where they start.
        function operate(window) {
            var content = window.contentItem
            show(window, "controlPanelViewLightButton")
            mouseClick(findChild(content, "controlPanelSubviewLightWarningButton"))
            mouseClick(findChild(content, "controlPanelSubviewLightFogButton"))
            mouseClick(findChild(content, "controlPanelSubviewLightIgnitionSwitch"))
            var lightSwitch = findChild(content, "controlPanelSubviewLightSwitch")
            mouseClick(lightSwitch.lightSwitchItemsList[3].clickableArea)
            var signalStalk = findChild(content, "signalControlStalk")
            mouseClick(signalStalk.clickableAreaList[4])
            show(window, "controlPanelViewWindshieldButton")
            var wiperStalk = findChild(content, "windshieldwasherControlStalk")
            mouseClick(wiperStalk.clickableAreaList[1])
            mouseClick(findChild(content, "windshieldheaterAutoButton"))
            show(window, "controlPanelViewRestbusButton")
            mouseClick(findChild(content, "controlPanelSubviewRestbusLightSensorSwitch"))
            var temperature = findChild(content, "controlPanelSubviewRestbusTemperatureControl")
            for (var i = 0; i < 5; ++i)
                mouseClick(findChild(temperature, "temperatureControlUpArea"))
            show(window, "controlPanelViewDynamicButton")
            var velocity = findChild(findChild(content, "controlPanelSubviewDynamicVelocityControl"), "velocityControlSlider")
            mouseWheel(velocity, velocity.width / 2, velocity.height / 2, 0, 600)
            var steering = findChild(findChild(content, "controlPanelSubviewDynamicSteeringAngleControl"), "steeringAngleControlSlider")
            mouseWheel(steering, steering.width / 2, steering.height / 2, 0, -600)
        }

        function test_shoot() {
            var sizes = [ { name: "cockpit-800x480", width: 800, height: 480 },
                          { name: "cockpit-371x223", width: 371, height: 223 } ]
            for (var i = 0; i < sizes.length; ++i) {
                var window = openCockpit(sizes[i].width, sizes[i].height)
                save(window.contentItem, sizes[i].name + "-start")
                shoot(window, sizes[i].name)
                operate(window)
                wait(500)
                shoot(window, sizes[i].name + "-operated")
                window.destroy()
                wait(100)
            }
        }
    }
}
