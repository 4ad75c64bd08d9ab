import QtQuick 2.5
import QtTest 1.1
import de.quandrel.jolv.utils 0.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/VirtualPlatform/Components"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

Item {
    id: root
    width: 800
    height: 600

    Component {
        id: menuItemComponent
        MenuItem {
            width: 75
            height: 75
            centeredItemCenterX: 100
            centeredItemCenterY: 100
            menuItemIcon: Theme.themeImagePath + "menu_item_icon_move_left.svg"
        }
    }

    Component {
        id: clickAreaComponent
        ClickArea {
            width: 60
            height: 60
            centeredItemCenterX: 200
            centeredItemCenterY: 150
        }
    }

    // A module-sized parent with a frame placed in its middle by bindings, as module views place
    // theirs. The content counts clicks, to show that it keeps its state.
    Component {
        id: submoduleHostComponent
        Item {
            id: host
            property alias frame: frame
            property alias content: content
            width: 400
            height: 300
            SubmoduleFrame {
                id: frame
                submoduleFrameWidth: 0.5 * host.width
                submoduleFrameHeight: 0.5 * host.height
                x: 0.5 * host.width - width / 2
                y: 0.5 * host.height - height / 2
                submoduleFrameSubmodule: Rectangle {
                    id: content
                    property int clicks: 0
                    color: "steelblue"
                    MouseArea {
                        anchors.fill: parent
                        onClicked: ++content.clicks
                    }
                }
            }
        }
    }

    Component {
        id: spyComponent
        SignalSpy {}
    }

    TestCase {
        name: "Components"
        when: windowShown

        function fileName(url) {
            var text = url.toString()
            return text.substring(text.lastIndexOf("/") + 1)
        }

        function pictureOf(item, file) {
            for (var i = 0; i < item.children.length; ++i) {
                var child = item.children[i]
                if (child.source !== undefined && fileName(child.source) === file)
                    return child
            }
            return null
        }

        // Fires when it goes down, not again on release; the white overlay shows exactly while
        // it is held, also when the held press leaves the button.
        function test_menuItemFiresOnPress() {
            var item = createTemporaryObject(menuItemComponent, root)
            var clicks = createTemporaryObject(spyComponent, root, { target: item, signalName: "menuItemClicked" })
            var overlay = pictureOf(item, "menu_item_pressed_white.svg")
            verify(overlay)
            compare(overlay.visible, false)
            mousePress(item, 30, 30)
            compare(clicks.count, 1)
            compare(overlay.visible, true)
            mouseMove(item, 200, 30, -1, Qt.LeftButton)
            compare(overlay.visible, true)
            mouseRelease(item, 200, 30)
            compare(clicks.count, 1)
            compare(overlay.visible, false)
            // The icon is the top layer.
            compare(fileName(item.children[2].source), "menu_item_icon_move_left.svg")
            compare(item.x, 100 - 75 / 2)
        }

        function test_clickAreaRingOnHover_data() {
            return [
                { tag: "ring background enabled", ringBackground: true },
                { tag: "ring background disabled", ringBackground: false }
            ]
        }

        function test_clickAreaRingOnHover(data) {
            var area = createTemporaryObject(clickAreaComponent, root, { clickAreaRingBackgroundEnabled: data.ringBackground })
            var ring = pictureOf(area, "press-label_ring.svg")
            var background = pictureOf(area, "press-label_ring_background.svg")
            verify(ring && background)
            compare(area.x, 170)
            mouseMove(root, 10, 10)
            compare(ring.visible, false)
            compare(background.visible, false)
            mouseMove(root, 200, 150)
            compare(ring.visible, true)
            compare(background.visible, data.ringBackground)
            compare(area.clickAreaPressed, false)
            mouseMove(root, 235, 150)
            compare(ring.visible, false)
            compare(background.visible, false)
        }

        // Pressed from press to release, also while the held press is dragged off the area.
        function test_clickAreaPressedUntilRelease() {
            var area = createTemporaryObject(clickAreaComponent, root)
            mousePress(root, 190, 140)
            compare(area.clickAreaPressed, true)
            mouseMove(root, 400, 400, -1, Qt.LeftButton)
            compare(area.clickAreaPressed, true)
            mouseRelease(root, 400, 400)
            compare(area.clickAreaPressed, false)
        }

        // A switched-off area neither shows its ring nor reports a press.
        function test_disabledClickArea() {
            var area = createTemporaryObject(clickAreaComponent, root, { clickAreaRingBackgroundEnabled: true })
            mouseMove(root, 200, 150)
            area.enabled = false
            compare(pictureOf(area, "press-label_ring.svg").visible, false)
            compare(pictureOf(area, "press-label_ring_background.svg").visible, false)
            mousePress(root, 200, 150)
            compare(area.clickAreaPressed, false)
            mouseRelease(root, 200, 150)
            mouseMove(root, 10, 10)
            mouseMove(root, 200, 150)
            compare(pictureOf(area, "press-label_ring.svg").visible, false)
        }

        function test_submoduleFrameLayout() {
            var host = createTemporaryObject(submoduleHostComponent, root)
            var frame = host.frame
            compare(frame.width, 200)
            compare(frame.height, 170)
            compare(frame.x, 100)
            compare(frame.y, 65)
            compare(host.content.width, 200)
            compare(host.content.height, 150)
            compare(host.content.mapToItem(frame, 0, 0).y, 20)
            // The content follows the frame's size.
            host.width = 600
            compare(host.content.width, 300)
        }

        // Drags the frame by its header bar, pressing 20 px from the bar's left end.
        function dragHeader(frame, dx, dy) {
            var host = frame.parent
            var start = frame.mapToItem(host, 20, 10)
            mousePress(host, start.x, start.y)
            var steps = 4
            for (var i = 1; i <= steps; ++i)
                mouseMove(host, start.x + dx * i / steps, start.y + dy * i / steps, -1, Qt.LeftButton)
            mouseRelease(host, start.x + dx, start.y + dy)
        }

        function test_submoduleFrameDragsWithinItsParent_data() {
            // The parent is 400 × 300 and the frame 200 × 170, first at (100, 65).
            return [
                { tag: "freely", dx: -40, dy: 30, x: 60, y: 95 },
                { tag: "not past the left limit", dx: -300, dy: 0, x: 20, y: 65 },
                { tag: "not past the right limit", dx: 300, dy: 0, x: 190, y: 65 },
                { tag: "not above the top", dx: 0, dy: -200, x: 100, y: 0 },
                { tag: "not below the bottom", dx: 0, dy: 200, x: 100, y: 130 }
            ]
        }

        function test_submoduleFrameDragsWithinItsParent(data) {
            var host = createTemporaryObject(submoduleHostComponent, root)
            dragHeader(host.frame, data.dx, data.dy)
            compare(host.frame.x, data.x)
            compare(host.frame.y, data.y)
        }

        // A press in the content area drags nothing, and it does not reach what lies below.
        function test_submoduleFrameDragsOnlyByItsHeader() {
            var host = createTemporaryObject(submoduleHostComponent, root)
            var below = createTemporaryObject(Qt.createComponent("data/PressCounter.qml"), host, { z: -1 })
            verify(below)
            var frame = host.frame
            var start = frame.mapToItem(host, 100, 100)
            mousePress(host, start.x, start.y)
            mouseMove(host, start.x + 50, start.y + 30, -1, Qt.LeftButton)
            mouseMove(host, start.x + 80, start.y + 40, -1, Qt.LeftButton)
            mouseRelease(host, start.x + 80, start.y + 40)
            compare(frame.x, 100)
            compare(frame.y, 65)
            // The frame's border, outside the content, also keeps presses to itself.
            mouseClick(host, frame.x + 1, frame.y + frame.height - 1)
            compare(below.presses, 0)
            mouseClick(host, 5, 5)
            compare(below.presses, 1)
        }

        // After the first drag the frame stays where it was dropped, also when the bindings that
        // first placed it would now place it elsewhere.
        function test_submoduleFrameKeepsItsDropPlace() {
            var host = createTemporaryObject(submoduleHostComponent, root)
            var frame = host.frame
            host.width = 500
            compare(frame.x, 125)
            dragHeader(frame, -50, 20)
            compare(frame.x, 75)
            compare(frame.y, 85)
            host.width = 600
            compare(frame.x, 75)
            compare(frame.width, 300)
        }

        // The close icon hides the frame; shown again it is where it was, with its content's state.
        function test_submoduleFrameCloseKeepsState() {
            var host = createTemporaryObject(submoduleHostComponent, root)
            var frame = host.frame
            dragHeader(frame, 30, 0)
            mouseClick(host.content, 10, 10)
            compare(host.content.clicks, 1)
            var x = frame.x
            // The close icon sits at the bar's right end.
            mouseClick(frame, frame.width - 9, 10)
            compare(frame.visible, false)
            frame.visible = true
            compare(frame.x, x)
            compare(host.content.clicks, 1)
            compare(host.content.parent.parent.parent, frame)
            // A click on the bar elsewhere does not close it.
            mouseClick(frame, frame.width / 2, 10)
            compare(frame.visible, true)
        }
    }
}
