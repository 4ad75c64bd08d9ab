import QtQuick 2.5
import QtQuick.Window 2.2
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Components"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Modules"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// The generic, lights and alarm module views, each in a module frame as on the board, stepped
// through their looks: lamps off, lamps on, each press area hovered and held, a menu button held, and
// a submodule frame shown, dragged against its limits and closed, and at last the modules zoomed to
// twice their width with their lamps lit. Every step is saved as a screenshot named after it.
Window {
    id: viewerWindow

    // The modules' width is moduleWidth times zoom; the last step zooms in.
    property real zoom: 1
    readonly property real frameWidth: zoom * moduleViewer.moduleWidth / 1.05
    readonly property var shown: [genericFrame, lightsFrame, alarmFrame].filter(function(frame) {
        return moduleViewer.only === "" || moduleViewer.only === frame.objectName
    })

    visible: true
    color: Theme.themeBackgroundColor
    width: Math.ceil(shown.length * (frameWidth + 40) + 40)
    height: Math.ceil(zoom * moduleViewer.moduleWidth / 1.318 + 10 + 75 + 60)
    title: "module viewer"

    function place() {
        var frames = [genericFrame, lightsFrame, alarmFrame]
        for (var i = 0; i < frames.length; ++i) {
            var index = shown.indexOf(frames[i])
            frames[i].visible = index >= 0
            frames[i].x = 40 + Math.max(index, 0) * (frameWidth + 40)
        }
    }

    function setLamps(on) {
        [genericModule, lightsModule, alarmModule].forEach(function(module) {
            module.genericModuleLightLeft = on
            module.genericModuleLightUp = on
            module.genericModuleLightRight = on
            module.genericModuleLightDown = on
        })
        ;["Daylight", "UpperBeamlight", "LowerBeamlight", "FoglightRight", "FoglightLeft", "IndicatorLeft",
          "IndicatorRight", "Reverselight", "Brakelight", "Backlight"].forEach(function(lamp) {
            lightsModule["lightsModule" + lamp] = on
        })
        alarmModule.alarmModuleLightAlarm = on
        alarmModule.alarmModuleLightLock = on
    }

    // The centre of a press area of a module in window coordinates, from the area's fractions.
    function areaCentre(module, fx, fy) {
        return module.mapToItem(null, fx * module.width, fy * module.height)
    }

    readonly property var pressAreas: [
        { name: "generic-button", frame: genericFrame, module: genericModule, fx: 0.235, fy: 0.610 },
        { name: "lights-generic-button", frame: lightsFrame, module: lightsModule, fx: 0.235, fy: 0.610 },
        { name: "alarm-generic-button", frame: alarmFrame, module: alarmModule, fx: 0.235, fy: 0.610 },
        { name: "alarm-button", frame: alarmFrame, module: alarmModule, fx: 0.577, fy: 0.662 },
        { name: "lock-button", frame: alarmFrame, module: alarmModule, fx: 0.780, fy: 0.662 }
    ]

    property var steps: []
    property int stepIndex: 0

    function buildSteps() {
        var list = []
        var prefix = moduleViewer.only === "" ? "" : moduleViewer.only + "-"
        list.push({ name: prefix + "lamps-off", run: function() { setLamps(false); moduleViewer.mouseMove(1, 1, false) } })
        list.push({ name: prefix + "lamps-on", run: function() { setLamps(true) } })
        pressAreas.forEach(function(area) {
            if (viewerWindow.shown.indexOf(area.frame) < 0)
                return
            list.push({ name: prefix + "hover-" + area.name, run: function() {
                setLamps(false)
                var p = areaCentre(area.module, area.fx, area.fy)
                moduleViewer.mouseMove(p.x, p.y, false)
            } })
            list.push({ name: prefix + "held-" + area.name, run: function() {
                var p = areaCentre(area.module, area.fx, area.fy)
                moduleViewer.mousePress(p.x, p.y)
            }, after: function() {
                var p = areaCentre(area.module, area.fx, area.fy)
                moduleViewer.mouseRelease(p.x, p.y)
                moduleViewer.mouseMove(1, 1, false)
            } })
        })
        if (viewerWindow.shown.indexOf(genericFrame) >= 0) {
            list.push({ name: prefix + "held-menu-drag-button", run: function() {
                var p = dragMenuItemCentre(genericFrame)
                moduleViewer.mousePress(p.x, p.y)
            }, after: function() {
                var p = dragMenuItemCentre(genericFrame)
                moduleViewer.mouseRelease(p.x, p.y)
                moduleViewer.mouseMove(1, 1, false)
            } })
            list.push({ name: prefix + "submodule-frame", run: function() { submoduleFrame.visible = true } })
            // Dragged by its header far up and left: it stops at its parent's limits.
            list.push({ name: prefix + "submodule-frame-dragged", run: function() {
                var p = submoduleFrame.mapToItem(null, 20, 10)
                moduleViewer.mousePress(p.x, p.y)
                for (var i = 1; i <= 5; ++i)
                    moduleViewer.mouseMove(p.x - 60 * i, p.y - 60 * i, true)
                moduleViewer.mouseRelease(p.x - 300, p.y - 300)
                moduleViewer.mouseMove(1, 1, false)
            } })
            list.push({ name: prefix + "submodule-frame-closed", run: function() {
                var p = submoduleFrame.mapToItem(null, submoduleFrame.width - 9, 10)
                moduleViewer.mousePress(p.x, p.y)
                moduleViewer.mouseRelease(p.x, p.y)
            } })
        }
        // The pictures are rendered anew at the zoomed size once it has settled, well within a step.
        list.push({ name: prefix + "zoomed-2x", run: function() {
            setLamps(true)
            viewerWindow.zoom = 2
            place()
        } })
        return list
    }

    // The centre of a frame's drag button (the middle one of its menu) in window coordinates.
    function dragMenuItemCentre(frame) {
        var module = frame.moduleFrameCustomModule
        return frame.mapToItem(null, frame.width / 2, module.height + 10 + frame.moduleFrameItemSize / 2)
    }

    Timer {
        id: stepTimer
        interval: 600
        onTriggered: {
            var step = viewerWindow.steps[viewerWindow.stepIndex]
            moduleViewer.save(step.name)
            if (step.after)
                step.after()
            viewerWindow.stepIndex += 1
            if (viewerWindow.stepIndex >= viewerWindow.steps.length) {
                moduleViewer.quit(0)
                return
            }
            viewerWindow.steps[viewerWindow.stepIndex].run()
            restart()
        }
    }

    ModuleFrame {
        id: genericFrame
        objectName: "generic"
        y: 30
        width: viewerWindow.frameWidth
        height: viewerWindow.height - 30
        moduleFrameBorderEnabled: true
        moduleFrameCustomModule: GenericModule {
            id: genericModule

            SubmoduleFrame {
                id: submoduleFrame
                z: 3
                visible: false
                submoduleFrameWidth: 0.5 * genericModule.width
                submoduleFrameHeight: 0.5 * genericModule.height
                x: 0.5 * genericModule.width - width / 2
                y: 0.5 * genericModule.height - height / 2
                submoduleFrameSubmodule: Rectangle {
                    color: "#40ffffff"
                    Text {
                        anchors.centerIn: parent
                        text: "submodule"
                        color: "white"
                    }
                }
            }
        }
    }

    ModuleFrame {
        id: lightsFrame
        objectName: "lights"
        y: 30
        width: viewerWindow.frameWidth
        height: viewerWindow.height - 30
        moduleFrameBorderEnabled: true
        moduleFrameCustomModule: LightsModule { id: lightsModule }
    }

    ModuleFrame {
        id: alarmFrame
        objectName: "alarm"
        y: 30
        width: viewerWindow.frameWidth
        height: viewerWindow.height - 30
        moduleFrameBorderEnabled: true
        moduleFrameCustomModule: AlarmModule { id: alarmModule }
    }

    Component.onCompleted: {
        place()
        steps = buildSteps()
        steps[0].run()
        stepTimer.start()
    }
}
