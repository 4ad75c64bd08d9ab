import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Components"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Modules"

Item {
    id: root
    width: 1400
    height: 700

    // A frame as the board places it: 442 wide, as high as the board, holding a module view.
    Component {
        id: frameComponent
        ModuleFrame {
            width: 442
            height: 600
            moduleFrameCustomModule: GenericModule {}
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        name: "ModuleFrame"
        when: windowShown

        function createFrame(properties) {
            var frame = createTemporaryObject(frameComponent, root, properties || {})
            verify(frame)
            return frame
        }

        function spy(frame, signalName) {
            return createTemporaryObject(spyComponent, root, { target: frame, signalName: signalName })
        }

        // The menu buttons below the container, left to right.
        function menuItems(frame) {
            var container = frame.moduleFrameContainerItem
            var items = []
            function collect(item) {
                for (var i = 0; i < item.children.length; ++i) {
                    var child = item.children[i]
                    if (child.menuItemMouseArea !== undefined)
                        items.push(child)
                    else if (child !== container)
                        collect(child)
                }
            }
            collect(frame)
            items.sort(function(a, b) { return a.mapToItem(frame, 0, 0).x - b.mapToItem(frame, 0, 0).x })
            compare(items.length, 3)
            return items
        }

        function centreOf(frame, item) {
            return item.mapToItem(frame, item.width / 2, item.height / 2)
        }

        function test_holdsTheModuleOverhangingBothSides() {
            var frame = createFrame()
            var module = frame.moduleFrameCustomModule
            var container = frame.moduleFrameContainerItem
            compare(module.parent, container)
            fuzzyCompare(module.width, 464.1, 0.001)
            fuzzyCompare(container.height, 352.12, 0.01)
            var topLeft = module.mapToItem(frame, 0, 0)
            fuzzyCompare(topLeft.x, -11.05, 0.001)
            compare(topLeft.y, 0)
            // The module's width follows the frame's, and the container's height the module's.
            frame.width = 300
            fuzzyCompare(module.width, 315, 0.001)
            fuzzyCompare(container.height, 315 / 1.318, 0.01)
            fuzzyCompare(module.mapToItem(frame, 0, 0).x, -7.5, 0.001)
        }

        function test_menuRowBelowTheModule() {
            var frame = createFrame()
            var items = menuItems(frame)
            var container = frame.moduleFrameContainerItem
            for (var i = 0; i < 3; ++i) {
                compare(items[i].width, 75)
                compare(items[i].height, 75)
                fuzzyCompare(items[i].mapToItem(frame, 0, 0).y, container.height + 10, 0.001)
            }
            compare(items[1].x - items[0].x, 80)
            compare(items[2].x - items[1].x, 80)
            fuzzyCompare(centreOf(frame, items[1]).x, frame.width / 2, 0.5)
        }

        function test_moveButtonsFireOnPress_data() {
            return [
                { tag: "left", index: 0, direction: -1 },
                { tag: "right", index: 2, direction: 1 }
            ]
        }

        // The move buttons ask once, when they go down; holding, moving and releasing add nothing.
        function test_moveButtonsFireOnPress(data) {
            var frame = createFrame()
            var moves = spy(frame, "requestMove")
            var drags = spy(frame, "requestDrag")
            var item = menuItems(frame)[data.index]
            var p = centreOf(frame, item)
            mousePress(frame, p.x, p.y)
            compare(moves.count, 1)
            compare(moves.signalArguments[0][0], frame)
            compare(moves.signalArguments[0][1], data.direction)
            mouseMove(frame, p.x + 10, p.y, -1, Qt.LeftButton)
            wait(50)
            mouseRelease(frame, p.x + 10, p.y)
            compare(moves.count, 1)
            compare(drags.count, 0)
        }

        // The drag button reports the pointer's horizontal travel since the press; a user that moves
        // the frame by each delta keeps the pointer at its place on the button.
        function test_dragButtonReportsDeltasAndDrop() {
            var frame = createFrame({ x: 400 })
            var drags = spy(frame, "requestDrag")
            var drops = spy(frame, "requestDrop")
            frame.requestDrag.connect(function(component, delta) { component.x += delta })
            var p = centreOf(frame, menuItems(frame)[1])
            var startX = frame.x + p.x
            mousePress(root, startX, frame.y + p.y)
            compare(drags.count, 1)
            compare(drags.signalArguments[0][0], frame)
            compare(drags.signalArguments[0][1], 0)
            mouseMove(root, startX + 30, frame.y + p.y, -1, Qt.LeftButton)
            compare(drags.count, 2)
            compare(drags.signalArguments[1][1], 30)
            compare(frame.x, 430)
            mouseMove(root, startX + 10, frame.y + p.y + 5, -1, Qt.LeftButton)
            compare(drags.count, 3)
            compare(drags.signalArguments[2][1], -20)
            compare(frame.x, 410)
            compare(drops.count, 0)
            mouseRelease(root, startX + 10, frame.y + p.y + 5)
            compare(drops.count, 1)
            compare(drops.signalArguments[0][0], frame)
            compare(drags.count, 3)
        }

        function test_dragButtonPressWithoutMoving() {
            var frame = createFrame()
            var drags = spy(frame, "requestDrag")
            var drops = spy(frame, "requestDrop")
            var p = centreOf(frame, menuItems(frame)[1])
            mouseClick(frame, p.x, p.y)
            compare(drags.count, 1)
            compare(drags.signalArguments[0][1], 0)
            compare(drops.count, 1)
            compare(frame.x, 0)
        }

        function test_moveSlidesAndTakesZWhenTheSlideEnds_data() {
            return [
                { tag: "to another slot", startX: 0, targetX: 442 },
                { tag: "back to the left", startX: 884, targetX: 442 },
                { tag: "to its own x", startX: 442, targetX: 442 }
            ]
        }

        // Records the frame's x and z at every step of its slide.
        function recordSteps(frame) {
            var steps = []
            frame.xChanged.connect(function() { steps.push({ x: frame.x, z: frame.z }) })
            return steps
        }

        function test_moveSlidesAndTakesZWhenTheSlideEnds(data) {
            var frame = createFrame({ x: data.startX, z: 100 })
            var steps = recordSteps(frame)
            var started = Date.now()
            frame.moveModuleFrame(data.targetX, 3)
            compare(frame.moduleFramePositionX, data.targetX)
            compare(frame.moduleFramePositionZ, 3)
            compare(frame.z, 100)
            if (data.startX === data.targetX) {
                // Nothing moves, but the slide still takes its time before z changes.
                wait(100)
                if (Date.now() - started < 200)
                    compare(frame.z, 100)
            }
            tryCompare(frame, "z", 3, 1000)
            compare(frame.x, data.targetX)
            if (data.startX !== data.targetX) {
                verify(steps.length >= 2, steps.length + " steps")
                // Every step on the way, up to the last, kept the raised z.
                steps.forEach(function(step) { compare(step.z, 100, "z at x " + step.x) })
            } else {
                compare(steps.length, 0)
            }
        }

        // A second call during a slide ends the first at once (its z applies then) and slides on
        // from where the frame is.
        function test_interruptedSlide() {
            var frame = createFrame({ x: 0, z: 100 })
            frame.moveModuleFrame(442, 3)
            tryVerify(function() { return frame.x > 0 })
            var reached = frame.x
            if (reached >= 442)
                skip("the slide ended before it could be interrupted")
            frame.moveModuleFrame(0, 1)
            compare(frame.z, 1)
            frame.z = 100
            var steps = recordSteps(frame)
            tryCompare(frame, "z", 1, 1000)
            compare(frame.x, 0)
            verify(steps.length >= 1)
            for (var i = 0; i < steps.length; ++i) {
                verify(steps[i].x < (i > 0 ? steps[i - 1].x : reached), "x falls from " + reached + ": " + steps[i].x)
                compare(steps[i].z, 100)
            }
        }

        // A frame grabbed while it slides stops there and stays with the pointer, raised, also
        // past the time the slide would have ended.
        function test_grabbedWhileSliding() {
            var frame = createFrame({ x: 0 })
            frame.requestDrag.connect(function(component, delta) { component.x += delta; component.z = 100 })
            frame.moveModuleFrame(442, 2)
            wait(100)
            var p = centreOf(frame, menuItems(frame)[1])
            var grabbedX = frame.x
            mousePress(root, grabbedX + p.x, p.y)
            compare(frame.z, 100)
            mouseMove(root, grabbedX + p.x - 20, p.y, -1, Qt.LeftButton)
            wait(300)
            compare(frame.x, grabbedX - 20)
            compare(frame.z, 100)
            mouseRelease(root, grabbedX + p.x - 20, p.y)
        }
    }
}
