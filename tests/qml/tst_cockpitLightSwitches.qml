import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// The rotary light switch and the day/night light sensor switch, driven by the mouse.
Item {
    id: root
    width: 600
    height: 600

    readonly property string imagePath: Theme.themeImagePath
    // Directions of the positions, as the cockpit arranges them: off, auto, daytime, low, high beam.
    readonly property var angles: [235, 270, 305, 340, 15]

    Component {
        id: lightSwitchComponent
        LightSwitch {
            width: 400
            height: 300
            property var selections: []
            backgroundImage: root.imagePath + "light_switch_background.svg"
            needleImage: root.imagePath + "light_switch_needle.svg"
            lightSwitchItemsRadius: 0.41
            lightSwitchItemsSize: 0.2
            lightSwitchItemsList: [
                LightSwitchItem {
                    angle: 235
                    activeSource: root.imagePath + "light_switch_icon_off_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_off_inactive.svg"
                },
                LightSwitchItem {
                    angle: 270
                    activeSource: root.imagePath + "light_switch_icon_auto_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_auto_inactive.svg"
                },
                LightSwitchItem {
                    angle: 305
                    activeSource: root.imagePath + "light_switch_icon_tagfahrlicht_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_tagfahrlicht_inactive.svg"
                },
                LightSwitchItem {
                    angle: 340
                    activeSource: root.imagePath + "light_switch_icon_abblendlicht_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_abblendlicht_inactive.svg"
                },
                LightSwitchItem {
                    angle: 15
                    activeSource: root.imagePath + "light_switch_icon_fernlicht_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_fernlicht_inactive.svg"
                }
            ]
            onSelectedItemChanged: selections.push(selection)
        }
    }

    // Positions that keep their own radius and size: the switch's are left unset.
    Component {
        id: ownRadiusSwitchComponent
        LightSwitch {
            width: 300
            height: 300
            property var selections: []
            backgroundImage: root.imagePath + "light_switch_background.svg"
            needleImage: root.imagePath + "light_switch_needle.svg"
            lightSwitchItemsList: [
                LightSwitchItem {
                    angle: 180
                    radiusRelative: 0.3
                    sizeRelative: 0.1
                    activeSource: root.imagePath + "light_switch_icon_off_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_off_inactive.svg"
                },
                LightSwitchItem {
                    angle: 0
                    radiusRelative: 0.3
                    sizeRelative: 0.1
                    activeSource: root.imagePath + "light_switch_icon_auto_active.svg"
                    inactiveSource: root.imagePath + "light_switch_icon_auto_inactive.svg"
                }
            ]
            onSelectedItemChanged: selections.push(selection)
        }
    }

    Component {
        id: lightSensorComponent
        LightSensorSwitch {
            width: 200
            height: 200
        }
    }

    TestCase {
        name: "CockpitLightSwitches"
        when: windowShown

        // An angle brought into [-180, 180).
        function normalised(degrees) {
            return ((degrees % 360) + 540) % 360 - 180
        }

        function needleOf(lightSwitch) {
            return findChild(lightSwitch, "lightSwitchNeedle")
        }

        function waitForNeedle(lightSwitch, itemAngle) {
            var needle = needleOf(lightSwitch)
            tryVerify(function() { return Math.abs(normalised(needle.rotation - itemAngle - 90)) < 0.01 }, 1000,
                      "needle at " + itemAngle)
        }

        // Clicks the centre of a position's click area, reckoned from its direction and radius.
        function clickPosition(lightSwitch, angle, radius) {
            var square = findChild(lightSwitch, "lightSwitchSquare")
            var a = angle * Math.PI / 180
            mouseClick(square, (0.5 + Math.cos(a) * radius) * square.width, (0.5 + Math.sin(a) * radius) * square.height)
        }

        function litItems(lightSwitch) {
            var lit = []
            for (var i = 0; i < lightSwitch.lightSwitchItemsList.length; ++i) {
                if (lightSwitch.lightSwitchItemsList[i].switchableImageActive)
                    lit.push(i)
            }
            return lit
        }

        function test_startUp() {
            var lightSwitch = createTemporaryObject(lightSwitchComponent, root)
            compare(lightSwitch.activeLightSwitchItem, lightSwitch.lightSwitchItemsList[0])
            compare(litItems(lightSwitch), [0])
            for (var i = 0; i < 5; ++i) {
                compare(lightSwitch.lightSwitchItemsList[i].itemNumber, i)
                compare(lightSwitch.lightSwitchItemsList[i].radiusRelative, 0.41)
            }
            waitForNeedle(lightSwitch, 235)
            compare(lightSwitch.selections, [])
        }

        function test_clickSelectsAndTurnsTheNeedle_data() {
            return [
                { tag: "off to high beam", from: 0, to: 4 },
                { tag: "high beam to off", from: 4, to: 0 },
                { tag: "auto to low beam", from: 1, to: 3 },
                { tag: "low beam to daytime", from: 3, to: 2 }
            ]
        }

        // The needle takes the shorter way: between 235 and 15 degrees it passes the top.
        function test_clickSelectsAndTurnsTheNeedle(data) {
            var lightSwitch = createTemporaryObject(lightSwitchComponent, root)
            var needle = needleOf(lightSwitch)
            if (data.from !== 0)
                clickPosition(lightSwitch, root.angles[data.from], 0.41)
            waitForNeedle(lightSwitch, root.angles[data.from])

            var samples = []
            needle.rotationChanged.connect(function() { samples.push(needle.rotation) })
            clickPosition(lightSwitch, root.angles[data.to], 0.41)
            compare(lightSwitch.activeLightSwitchItem, lightSwitch.lightSwitchItemsList[data.to])
            compare(litItems(lightSwitch), [data.to])
            waitForNeedle(lightSwitch, root.angles[data.to])

            var first = normalised(root.angles[data.from] + 90)
            var last = normalised(root.angles[data.to] + 90)
            verify(samples.length > 2, "the needle turned in steps")
            for (var i = 0; i < samples.length; ++i) {
                var s = normalised(samples[i])
                verify(s >= Math.min(first, last) - 0.01 && s <= Math.max(first, last) + 0.01,
                       "needle at " + s + " lies on the short way from " + first + " to " + last)
            }
            compare(lightSwitch.selections, data.from === 0 ? [data.to] : [data.from, data.to])
        }

        function test_clickOnTheActivePositionReportsAgain() {
            var lightSwitch = createTemporaryObject(lightSwitchComponent, root)
            clickPosition(lightSwitch, 15, 0.41)
            waitForNeedle(lightSwitch, 15)
            var needle = needleOf(lightSwitch)
            var rotation = needle.rotation
            clickPosition(lightSwitch, 15, 0.41)
            compare(lightSwitch.selections, [4, 4])
            compare(litItems(lightSwitch), [4])
            wait(100)
            compare(needle.rotation, rotation)
        }

        function test_positionsKeepTheirOwnRadiusWhenTheSwitchSetsNone() {
            var lightSwitch = createTemporaryObject(ownRadiusSwitchComponent, root)
            compare(lightSwitch.lightSwitchItemsList[1].radiusRelative, 0.3)
            compare(lightSwitch.lightSwitchItemsList[1].sizeRelative, 0.1)
            // Where the switch's default radius would put it, nothing is hit.
            clickPosition(lightSwitch, 0, 0.41)
            compare(lightSwitch.selections, [])
            clickPosition(lightSwitch, 0, 0.3)
            compare(lightSwitch.selections, [1])
        }

        // The sky layers and the disc, as drawn.
        function sensorLook(sensor) {
            return { angle: sensor.sunStarsImage.rotation, day: sensor.skyDayImage.opacity, night: sensor.skyNightImage.opacity }
        }

        function verifySensorShows(sensor, day) {
            tryVerify(function() {
                var look = sensorLook(sensor)
                return look.angle === (day ? 0 : 180) && look.day === (day ? 1 : 0) && look.night === (day ? 0 : 1)
            }, 1500, "the picture shows " + (day ? "day" : "night"))
        }

        function test_lightSensorClick() {
            var sensor = createTemporaryObject(lightSensorComponent, root)
            verify(sensor.daytimeState)
            verifySensorShows(sensor, true)
            mouseClick(sensor)
            verify(!sensor.daytimeState)
            verifySensorShows(sensor, false)
            mouseClick(sensor)
            verify(sensor.daytimeState)
            verifySensorShows(sensor, true)
        }

        function test_lightSensorQuickClicks_data() {
            return [
                { tag: "double click", doubleClick: true, clicks: 2 },
                { tag: "two clicks 200 ms apart", doubleClick: false, clicks: 2 },
                { tag: "three clicks 150 ms apart", doubleClick: false, clicks: 3 }
            ]
        }

        // A click during the fade turns back from where the layers are; the picture ends in the
        // state that daytimeState reports.
        function test_lightSensorQuickClicks(data) {
            var sensor = createTemporaryObject(lightSensorComponent, root)
            var angles = []
            sensor.sunStarsImage.rotationChanged.connect(function() { angles.push(sensor.sunStarsImage.rotation) })
            if (data.doubleClick) {
                mouseDoubleClickSequence(sensor)
            } else {
                for (var i = 0; i < data.clicks; ++i) {
                    if (i > 0)
                        wait(data.clicks === 2 ? 200 : 150)
                    mouseClick(sensor)
                }
            }
            compare(sensor.daytimeState, data.clicks % 2 === 0)
            verifySensorShows(sensor, sensor.daytimeState)
            if (data.clicks === 2)
                verify(Math.max.apply(Math, angles) < 180, "the disc turned back before half a turn")
        }

        function test_lightSensorStartingAtNight() {
            var sensor = createTemporaryObject(lightSensorComponent, root, { daytimeState: false })
            // Drawn at night from the start, not faded there.
            compare(sensorLook(sensor), { angle: 180, day: 0, night: 1 })
            wait(100)
            compare(sensorLook(sensor), { angle: 180, day: 0, night: 1 })
            mouseClick(sensor)
            verify(sensor.daytimeState)
            verifySensorShows(sensor, true)
        }

        // A state set from outside is drawn too.
        function test_lightSensorStateSetFromOutside() {
            var sensor = createTemporaryObject(lightSensorComponent, root)
            sensor.daytimeState = false
            verifySensorShows(sensor, false)
        }
    }
}
