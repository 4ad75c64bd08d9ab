import QtQuick 2.5
import QtTest 1.1
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit"

// The cockpit display's navigation, worked with the mouse: the start views, the scale transitions
// and the transform origins they leave, views that keep their state while hidden, the button of the
// shown view and the settings button; and the bus table.
Item {
    id: root
    width: 800
    height: 480

    SignalSpy {
        id: transmitSpy
        target: virtualPlatformDataModel
        signalName: "requestTransmit"
    }

    Component {
        id: cockpitComponent
        Item {
            property alias cockpit: cockpit
            width: root.width
            height: root.height
            CockpitMainView {
                id: cockpit
            }
        }
    }

    TestCase {
        name: "CockpitNavigation"
        when: windowShown

        property var cockpit: null
        property var mainStack: null
        property var panelStack: null

        function init() {
            transmitSpy.clear()
            cockpit = createTemporaryObject(cockpitComponent, root).cockpit
            mainStack = findChild(cockpit, "cockpitMainViewStack")
            panelStack = findChild(cockpit, "controlPanelViewStack")
            // The menu column places its buttons when the first frame is prepared.
            waitForRendering(cockpit)
            compare(transmitSpy.count, 0, "a new cockpit sends nothing")
        }

        function click(name) {
            var button = findChild(cockpit, name)
            verify(button, name)
            mouseClick(button)
        }

        // Clicks a button that changes the view and checks the transition on the way.
        function switchTo(stack, button, index) {
            var leaving = stack.currentItem
            var entering = stack.items[index]
            click(button)
            verify(stack.busy)
            compare(stack.currentItem, entering)
            wait(100)
            verify(entering.scale > 0 && entering.scale < 1, "entering at " + entering.scale)
            verify(leaving.scale > 0 && leaving.scale < 1, "leaving at " + leaving.scale)
            tryCompare(stack, "busy", false, 1000)
            compare(entering.scale, 1)
            compare(leaving.scale, 0)
            verify(entering.visible && !leaving.visible)
            return leaving
        }

        function test_startViews() {
            compare(mainStack.items.length, 3)
            compare(mainStack.depth, 1)
            compare(mainStack.currentItem, mainStack.items[2])
            compare(mainStack.currentItem.objectName, "controlPanelView")
            compare(panelStack.items.length, 5)
            compare(panelStack.depth, 1)
            compare(panelStack.currentItem.objectName, "controlPanelSubviewLight")
            var origins = [Item.BottomLeft, Item.BottomLeft, Item.BottomRight]
            for (var i = 0; i < 3; ++i)
                compare(mainStack.items[i].transformOrigin, origins[i])
            compare(panelStack.items[0].transformOrigin, Item.Bottom)
            for (i = 1; i < 5; ++i)
                compare(panelStack.items[i].transformOrigin, Item.Top)
            compare(mainStack.currentItem.width, mainStack.width)
            compare(panelStack.currentItem.height, panelStack.height)
        }

        function test_mainViews_data() {
            return [
                { tag: "gauges", button: "cockpitMainViewTachometerButton", index: 0 },
                { tag: "bus", button: "cockpitMainViewCanButton", index: 1 }
            ]
        }

        // Away from the control panel and back; each step leaves the entering view's origin at the
        // bottom right and the leaving one's at the bottom left.
        function test_mainViews(data) {
            var panel = switchTo(mainStack, data.button, data.index)
            compare(mainStack.items[data.index].transformOrigin, Item.BottomRight)
            compare(panel.transformOrigin, Item.BottomLeft)
            switchTo(mainStack, "cockpitMainViewControlButton", 2)
            compare(panel.transformOrigin, Item.BottomRight)
            compare(mainStack.items[data.index].transformOrigin, Item.BottomLeft)
            compare(mainStack.depth, 1)
        }

        function test_subviews_data() {
            return [
                { tag: "alarm", button: "controlPanelViewAlarmButton", index: 1 },
                { tag: "windshield", button: "controlPanelViewWindshieldButton", index: 2 },
                { tag: "sensors", button: "controlPanelViewRestbusButton", index: 3 },
                { tag: "driving", button: "controlPanelViewDynamicButton", index: 4 }
            ]
        }

        function test_subviews(data) {
            var light = switchTo(panelStack, data.button, data.index)
            compare(panelStack.items[data.index].transformOrigin, Item.Bottom)
            compare(light.transformOrigin, Item.Top)
            switchTo(panelStack, "controlPanelViewLightButton", 0)
            compare(light.transformOrigin, Item.Bottom)
            compare(panelStack.items[data.index].transformOrigin, Item.Top)
            compare(panelStack.depth, 1)
        }

        function test_buttonOfTheShownViewChangesNothing_data() {
            return [
                { tag: "control panel", button: "cockpitMainViewControlButton" },
                { tag: "light tab", button: "controlPanelViewLightButton" },
                { tag: "settings", button: "cockpitMainViewSettingsButton" }
            ]
        }

        // Also the settings button, which has no view: it presses like the others.
        function test_buttonOfTheShownViewChangesNothing(data) {
            var button = findChild(cockpit, data.button)
            var shown = mainStack.currentItem
            var subview = panelStack.currentItem
            mousePress(button)
            verify(button.pressed)
            mouseRelease(button)
            verify(!mainStack.busy && !panelStack.busy)
            compare(mainStack.currentItem, shown)
            compare(panelStack.currentItem, subview)
            compare(mainStack.depth, 1)
            compare(panelStack.depth, 1)
            wait(300)
            verify(shown.visible && subview.visible)
            compare(shown.scale, 1)
            compare(subview.scale, 1)
        }

        // The sub-view shown and its controls' positions survive a visit to the gauges; the
        // navigation itself sends nothing.
        function test_navigationKeepsTheState() {
            switchTo(panelStack, "controlPanelViewWindshieldButton", 2)
            var windshield = panelStack.currentItem
            var stalk = findChild(windshield, "windshieldwasherControlStalk")
            mouseClick(stalk.clickableAreaList[0])
            var heater = findChild(windshield, "windshieldheaterAutoButton")
            mouseClick(heater)
            compare(transmitSpy.count, 2)
            var views = []
            for (var i = 0; i < 3; ++i)
                views.push(mainStack.items[i])

            switchTo(mainStack, "cockpitMainViewTachometerButton", 0)
            switchTo(mainStack, "cockpitMainViewCanButton", 1)
            switchTo(mainStack, "cockpitMainViewControlButton", 2)

            for (i = 0; i < 3; ++i)
                compare(mainStack.items[i], views[i])
            compare(panelStack.currentItem, windshield)
            verify(heater.snaped)
            compare(findChild(stalk, "controlStalkLever").transform[0].angle, -36)
            compare(transmitSpy.count, 2)
            compare(virtualPlatformDataModel.cockpitWindshieldWasherMode, 5)
            compare(virtualPlatformDataModel.cockpitWindshieldHeater, 1)
        }

        // A second button during a transition finishes it and starts the next.
        function test_clickDuringATransition() {
            click("cockpitMainViewTachometerButton")
            wait(50)
            switchTo(mainStack, "cockpitMainViewCanButton", 1)
            verify(!mainStack.items[0].visible && !mainStack.items[2].visible)
        }

        function test_busTable() {
            var table = findChild(mainStack.items[1], "canViewTable")
            compare(table.rowCount, 3)
            compare(table.model.get(2).data, "10 11 30 00 00 34 AF FF")
            var titles = ["ID", "DLC", "Data", "Zyklus [ms]", "Anzahl"]
            var widths = [100, 50, 325, 100, 75]
            for (var i = 0; i < titles.length; ++i) {
                compare(table.getColumn(i).title, titles[i])
                compare(table.getColumn(i).width, widths[i])
            }
        }

        // On the board the cockpit is 371 x 223: the table shrinks with it and needs no scrolling.
        function test_busTableFitsTheSmallCockpit() {
            cockpit.parent.width = 371
            cockpit.parent.height = 223
            switchTo(mainStack, "cockpitMainViewCanButton", 1)
            var table = findChild(mainStack.items[1], "canViewTable")
            var total = 0
            for (var i = 0; i < table.columnCount; ++i)
                total += table.getColumn(i).width
            verify(total <= table.viewport.width, total + " > " + table.viewport.width)
            verify(total > 0.8 * table.viewport.width)
        }
    }
}
