import QtQuick 2.5
import QtQuick.Window 2.2
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Modules"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

Item {
    id: root
    width: 900
    height: 700

    Component { id: genericComponent; GenericModule { width: 464.1 } }
    Component { id: lightsComponent; LightsModule { width: 464.1 } }
    Component { id: alarmComponent; AlarmModule { width: 464.1 } }
    // One module layer on a page of one pixel per unit of the pictures' view box.
    Component {
        id: pageComponent
        MultilayerImage {
            width: Theme.themeModulePageSize.width
            height: Theme.themeModulePageSize.height
        }
    }

    readonly property var genericLayers: [
        { file: "zuv-modules_generic.svg", z: 0, handle: "genericModuleBaseImage" },
        { file: "zuv-modules_generic_discovery_board.svg", z: 1, handle: "genericModuleDiscoveryBoardImage" },
        { file: "zuv-modules_generic_button_pressed.svg", z: 2, handle: "genericModuleButtonPressedImage" },
        { file: "zuv-modules_generic_light_left.svg", z: 2, handle: "genericModuleLightLeftImage", lamp: "genericModuleLightLeft" },
        { file: "zuv-modules_generic_light_up.svg", z: 2, handle: "genericModuleLightUpImage", lamp: "genericModuleLightUp" },
        { file: "zuv-modules_generic_light_right.svg", z: 2, handle: "genericModuleLightRightImage", lamp: "genericModuleLightRight" },
        { file: "zuv-modules_generic_light_down.svg", z: 2, handle: "genericModuleLightDownImage", lamp: "genericModuleLightDown" }
    ]

    readonly property var lightsLayers: genericLayers.concat([
        { file: "zuv-modules_lights.svg", z: 0 },
        { file: "zuv-modules_lights_daylight.svg", z: 0, handle: "lightsModuleDaylightImage", lamp: "lightsModuleDaylight" },
        { file: "zuv-modules_lights_upperbeamlight.svg", z: 0, handle: "lightsModuleUpperBeamlightImage", lamp: "lightsModuleUpperBeamlight" },
        { file: "zuv-modules_lights_lowerbeamlight.svg", z: 0, handle: "lightsModuleLowerBeamlightImage", lamp: "lightsModuleLowerBeamlight" },
        { file: "zuv-modules_lights_foglight_right.svg", z: 0, handle: "lightsModuleFoglightRightImage", lamp: "lightsModuleFoglightRight" },
        { file: "zuv-modules_lights_foglight_left.svg", z: 0, handle: "lightsModuleFoglightLeftImage", lamp: "lightsModuleFoglightLeft" },
        { file: "zuv-modules_lights_indicator_right.svg", z: 0, handle: "lightsModuleIndicatorRightImage", lamp: "lightsModuleIndicatorRight" },
        { file: "zuv-modules_lights_indicator_left.svg", z: 0, handle: "lightsModuleIndicatorLeftImage", lamp: "lightsModuleIndicatorLeft" },
        { file: "zuv-modules_lights_reverselight.svg", z: 0, handle: "lightsModuleReverselightImage", lamp: "lightsModuleReverselight" },
        { file: "zuv-modules_lights_brakelight.svg", z: 0, handle: "lightsModuleBrakelightImage", lamp: "lightsModuleBrakelight" },
        { file: "zuv-modules_lights_backlight.svg", z: 0, handle: "lightsModuleBacklightImage", lamp: "lightsModuleBacklight" }
    ])

    readonly property var alarmLayers: genericLayers.concat([
        { file: "zuv-modules_alarm.svg", z: 1, handle: "alarmModuleAlarmImage" },
        { file: "zuv-modules_alarm_light_alarm.svg", z: 2, handle: "alarmModuleLightAlarmImage", lamp: "alarmModuleLightAlarm" },
        { file: "zuv-modules_alarm_light_lock.svg", z: 2, handle: "alarmModuleLightLockImage", lamp: "alarmModuleLightLock" },
        { file: "zuv-modules_alarm_button_alarm_pressed.svg", z: 2, handle: "alarmModuleButtonAlarmPressedImage" },
        { file: "zuv-modules_alarm_button_lock_pressed.svg", z: 2, handle: "alarmModuleButtonLockPressedImage" }
    ])

    // The press areas as fractions of the module's width (side, centre x) and height (centre y),
    // with the property that reports each, the layer that shows it held, and whether hovering shows
    // the ring background.
    readonly property var genericButton: { "side": 0.15, "cx": 0.235, "cy": 0.610, "pressed": "genericModuleButtonPressed",
        "image": "genericModuleButtonPressedImage", "ringBackground": true }
    readonly property var alarmButton: { "side": 0.15, "cx": 0.577, "cy": 0.662, "pressed": "alarmModuleButtonAlarm",
        "image": "alarmModuleButtonAlarmPressedImage", "ringBackground": false }
    readonly property var lockButton: { "side": 0.15, "cx": 0.780, "cy": 0.662, "pressed": "alarmModuleButtonLock",
        "image": "alarmModuleButtonLockPressedImage", "ringBackground": false }

    TestCase {
        name: "ModuleViews"
        when: windowShown

        function createModule(component) {
            var module = createTemporaryObject(component, root)
            verify(module)
            return module
        }

        function fileName(url) {
            var text = url.toString()
            return text.substring(text.lastIndexOf("/") + 1)
        }

        // The module's children in painting order: by z, then in order of creation; a layer drawn
        // within an area stands for the item that clips it.
        function paintingOrder(item) {
            var children = []
            for (var i = 0; i < item.children.length; ++i)
                children.push({ item: item.children[i].clippedLayerPicture || item.children[i], index: i })
            children.sort(function(a, b) { return a.item.z - b.item.z || a.index - b.index })
            return children.map(function(entry) { return entry.item })
        }

        function pressedProperties(module) {
            return [genericButton, alarmButton, lockButton].filter(function(button) {
                return module[button.pressed] !== undefined
            })
        }

        function test_heightFollowsWidth_data() {
            return [
                { tag: "generic on the board", component: genericComponent, width: 464.1, height: 352.12 },
                { tag: "lights on the board", component: lightsComponent, width: 464.1, height: 352.12 },
                { tag: "alarm on the board", component: alarmComponent, width: 464.1, height: 352.12 },
                { tag: "alarm widened", component: alarmComponent, width: 659, height: 500 }
            ]
        }

        function test_heightFollowsWidth(data) {
            var module = createTemporaryObject(data.component, root, { width: data.width })
            fuzzyCompare(module.height, data.height, 0.01)
            module.width = 2 * data.width
            fuzzyCompare(module.height, 2 * data.height, 0.02)
        }

        function test_layersInOrderWithTheirZ_data() {
            return [
                { tag: "generic", component: genericComponent, layers: genericLayers },
                { tag: "lights", component: lightsComponent, layers: lightsLayers },
                { tag: "alarm", component: alarmComponent, layers: alarmLayers }
            ]
        }

        function test_layersInOrderWithTheirZ(data) {
            var module = createModule(data.component)
            var layers = module.multilayerImageLayers
            compare(layers.length, data.layers.length)
            for (var i = 0; i < layers.length; ++i) {
                var expected = data.layers[i]
                compare(fileName(layers[i].source), expected.file, "layer " + i)
                compare(layers[i].z, expected.z, expected.file)
                if (expected.handle)
                    compare(module[expected.handle], layers[i], expected.handle)
                // Every layer covers the whole module.
                compare(layers[i].width, module.width, expected.file)
                compare(layers[i].height, module.height, expected.file)
            }
            // Among equal z, a layer added later is painted above one added earlier.
            var order = paintingOrder(module).filter(function(item) { return layers.indexOf(item) >= 0 })
            for (var j = 1; j < order.length; ++j) {
                if (order[j].z === order[j - 1].z)
                    verify(layers.indexOf(order[j]) > layers.indexOf(order[j - 1]), fileName(order[j].source))
            }
        }

        // A layer drawn within its area loses nothing of its picture: the page drawn by the scene
        // is the picture rendered whole.
        function test_areasHoldTheirWholePicture_data() {
            return Object.keys(Theme.themeModuleLayerAreas).map(function(file) { return { tag: file, file: file } })
        }

        function test_areasHoldTheirWholePicture(data) {
            var url = Theme.themeImagePath + data.file
            var area = Theme.themeModuleLayerArea(data.file)
            verify(area.width < 0.5 || area.height < 0.5, "an area is a small part of the page")
            var page = createTemporaryObject(pageComponent, root)
            var layer = page.addLayer(url, area)
            tryVerify(function() { return layer.status === Image.Ready && layer.vectorImageRenderSize.width > 0 })
            var grabbed = null
            verify(page.grabToImage(function(result) { grabbed = result.image }))
            tryVerify(function() { return grabbed !== null })
            var seen = qmlTestPictures.compareWithPicture(page, grabbed, url)
            compare(seen.difference, 0, data.file + " is drawn whole")
        }

        function test_lampsFollowTheirProperties_data() {
            return [
                { tag: "generic", component: genericComponent, layers: genericLayers },
                { tag: "lights", component: lightsComponent, layers: lightsLayers },
                { tag: "alarm", component: alarmComponent, layers: alarmLayers }
            ]
        }

        // All lamps can be lit together, and each follows only its own property.
        function test_lampsFollowTheirProperties(data) {
            var module = createModule(data.component)
            var lamps = data.layers.filter(function(layer) { return layer.lamp !== undefined })
            var always = data.layers.filter(function(layer) { return layer.z < 2 && layer.lamp === undefined })
            lamps.forEach(function(lamp) { compare(module[lamp.handle].visible, false, lamp.lamp) })
            lamps.forEach(function(lamp) { module[lamp.lamp] = true })
            lamps.forEach(function(lamp) { compare(module[lamp.handle].visible, true, lamp.lamp) })
            for (var i = 0; i < lamps.length; ++i) {
                module[lamps[i].lamp] = false
                for (var j = 0; j < lamps.length; ++j)
                    compare(module[lamps[j].handle].visible, j !== i, lamps[i].lamp + " off, " + lamps[j].lamp)
                module[lamps[i].lamp] = true
            }
            lamps.forEach(function(lamp) { module[lamp.lamp] = false })
            lamps.forEach(function(lamp) { compare(module[lamp.handle].visible, false, lamp.lamp) })
            // The pictures that are not lamps stay shown throughout.
            always.forEach(function(layer) {
                verify(module.multilayerImageLayers.filter(function(l) {
                    return fileName(l.source) === layer.file && l.visible }).length === 1, layer.file)
            })
        }

        function test_buttonsShowPressedWhileHeld_data() {
            return [
                { tag: "generic button of the generic module", component: genericComponent, button: genericButton },
                { tag: "generic button of the lights module", component: lightsComponent, button: genericButton },
                { tag: "generic button of the alarm module", component: alarmComponent, button: genericButton },
                { tag: "alarm button", component: alarmComponent, button: alarmButton },
                { tag: "lock button", component: alarmComponent, button: lockButton }
            ]
        }

        // A button reports pressed and shows its pressed picture from press to release, also when
        // the held press is dragged off it; no other button of the module reacts.
        function test_buttonsShowPressedWhileHeld(data) {
            var module = createModule(data.component)
            var button = data.button
            var others = pressedProperties(module).filter(function(b) { return b !== button })
            var x = button.cx * module.width
            var y = button.cy * module.height
            mousePress(module, x, y)
            compare(module[button.pressed], true)
            compare(module[button.image].visible, true)
            others.forEach(function(other) {
                compare(module[other.pressed], false, other.pressed)
                compare(module[other.image].visible, false, other.image)
            })
            mouseMove(module, x + 0.3 * module.width, y - 0.3 * module.height, -1, Qt.LeftButton)
            compare(module[button.pressed], true)
            compare(module[button.image].visible, true)
            mouseRelease(module, x + 0.3 * module.width, y - 0.3 * module.height)
            compare(module[button.pressed], false)
            compare(module[button.image].visible, false)
        }

        function test_pressAreasFollowResizes_data() {
            var cases = []
            var buttons = [
                { name: "generic button", component: lightsComponent, button: genericButton },
                { name: "alarm button", component: alarmComponent, button: alarmButton },
                { name: "lock button", component: alarmComponent, button: lockButton }
            ]
            buttons.forEach(function(b) {
                [300, 700].forEach(function(width) {
                    cases.push({ tag: b.name + " at width " + width, component: b.component, button: b.button, width: width })
                })
            })
            return cases
        }

        // After a resize a press lands on the area at its new place: inside its new edges it
        // presses, just outside them it does not.
        function test_pressAreasFollowResizes(data) {
            var module = createModule(data.component)
            module.width = data.width
            var button = data.button
            var half = button.side * module.width / 2
            var cx = button.cx * module.width
            var cy = button.cy * module.height
            var inside = [[cx, cy], [cx - half + 1, cy], [cx + half - 1, cy], [cx, cy - half + 1], [cx, cy + half - 1]]
            var outside = [[cx - half - 2, cy], [cx + half + 2, cy], [cx, cy - half - 2], [cx, cy + half + 2]]
            inside.forEach(function(p) {
                mousePress(module, p[0], p[1])
                compare(module[button.pressed], true, "press at " + p)
                mouseRelease(module, p[0], p[1])
            })
            outside.forEach(function(p) {
                mousePress(module, p[0], p[1])
                compare(module[button.pressed], false, "press at " + p)
                mouseRelease(module, p[0], p[1])
            })
        }

        function pressAreaAt(module, x, y) {
            for (var i = 0; i < module.children.length; ++i) {
                var child = module.children[i]
                if (child.clickAreaPressed !== undefined && child.contains(child.mapFromItem(module, x, y)))
                    return child
            }
            return null
        }

        function ringOf(area, file) {
            for (var i = 0; i < area.children.length; ++i) {
                var child = area.children[i]
                if (child.source !== undefined && fileName(child.source) === file)
                    return child
            }
            return null
        }

        function test_hoverShowsTheRing_data() {
            return [
                { tag: "generic button", component: genericComponent, button: genericButton },
                { tag: "alarm button", component: alarmComponent, button: alarmButton },
                { tag: "lock button", component: alarmComponent, button: lockButton }
            ]
        }

        // Hovering a press area shows its ring; only the generic button adds the ring background.
        function test_hoverShowsTheRing(data) {
            var module = createModule(data.component)
            var x = data.button.cx * module.width
            var y = data.button.cy * module.height
            var area = pressAreaAt(module, x, y)
            verify(area, "a press area lies at the button")
            var ring = ringOf(area, "press-label_ring.svg")
            var background = ringOf(area, "press-label_ring_background.svg")
            mouseMove(module, 5, 5)
            compare(ring.visible, false)
            mouseMove(module, x, y)
            compare(ring.visible, true)
            compare(background.visible, data.button.ringBackground)
            mouseMove(module, 5, 5)
            compare(ring.visible, false)
            compare(background.visible, false)
        }

        // A module view renders its layers anew once its size has settled after a change of more
        // than a tenth, not for a small one; layers that have not been shown (lamps that are off,
        // pressed looks) stay unrendered.
        function test_layersFollowLargeResizes() {
            var module = createModule(alarmComponent)
            var shown = module.multilayerImageLayers.filter(function(l) { return l.visible })
            var hidden = module.multilayerImageLayers.filter(function(l) { return !l.visible })
            verify(shown.length > 0 && hidden.length > 0)
            var renderedWidths = function(layers) { return layers.map(function(l) { return l.vectorImageRenderSize.width }) }
            var firstWidth = Math.ceil(module.width)
            shown.forEach(function(l) { tryCompare(l, "vectorImageRenderSize", Qt.size(firstWidth, Math.ceil(module.height))) })
            module.width = 1.05 * module.width
            verify(!shown.some(function(l) { return l.vectorImageRenderPending }))
            module.width = 2 * module.width
            compare(renderedWidths(shown), shown.map(function() { return firstWidth }))
            shown.forEach(function(l) { tryCompare(l, "vectorImageRenderPending", false) })
            compare(renderedWidths(shown), shown.map(function() { return Math.ceil(module.width) }))
            compare(renderedWidths(hidden), hidden.map(function() { return 0 }))
        }
    }
}
