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
            width: root.width
            height: root.height
            CockpitMainView {}
        }
    }

    TestCase {
        name: "CockpitNavigation"
        when: windowShown

        property var cockpit: null
        property var stacks: ({})

        function init() {
            transmitSpy.clear()
            cockpit = createTemporaryObject(cockpitComponent, root).children[0]
            stacks = { main: findChild(cockpit, "cockpitMainViewStack"), panel: findChild(cockpit, "controlPanelViewStack") }
            // The menu column places its buttons when the first frame is prepared.
            waitForRendering(cockpit)
        }

        // Clicks a button that changes the view and checks the transition on the way.
        function switchTo(stack, button, index) {
            var leaving = stack.currentItem
            var entering = stack.items[index]
            mouseClick(findChild(cockpit, button))
            verify(stack.busy)
            compare(stack.currentItem, entering)
            wait(100)
            verify(entering.scale > 0 && entering.scale < 1 && leaving.scale > 0 && leaving.scale < 1)
            tryCompare(stack, "busy", false, 1000)
            compare([entering.scale, leaving.scale, entering.visible, leaving.visible], [1, 0, true, false])
            compare(stack.depth, 1)
            return leaving
        }

        // The stack's views, a list property, as an array.
        function views(stack) {
            var list = []
            for (var i = 0; i < stack.items.length; ++i)
                list.push(stack.items[i])
            return list
        }

        function origins(stack) {
            return views(stack).map(function(v) { return v.transformOrigin })
        }

        function test_startViews() {
            compare(stacks.main.currentItem.objectName, "controlPanelView")
            compare(stacks.panel.currentItem.objectName, "controlPanelSubviewLight")
            compare(origins(stacks.main), [Item.BottomLeft, Item.BottomLeft, Item.BottomRight])
            compare(origins(stacks.panel), [Item.Bottom, Item.Top, Item.Top, Item.Top, Item.Top])
            compare(transmitSpy.count, 0, "a new cockpit sends nothing")
            // Views are made when they are first shown.
            compare(views(stacks.main).map(function(v) { return v.item !== null }), [false, false, true])
            compare(views(stacks.panel).map(function(v) { return v.item !== null }), [true, false, false, false, false])
        }

        function test_switching_data() {
            var rows = [
                { tag: "gauges", stack: "main", button: "cockpitMainViewTachometerButton", index: 0, back: "cockpitMainViewControlButton", start: 2 },
                { tag: "bus", stack: "main", button: "cockpitMainViewCanButton", index: 1, back: "cockpitMainViewControlButton", start: 2 }
            ]
            var tabs = ["Alarm", "Windshield", "Restbus", "Dynamic"]
            for (var i = 0; i < tabs.length; ++i)
                rows.push({ tag: tabs[i], stack: "panel", button: "controlPanelView" + tabs[i] + "Button", index: i + 1,
                            back: "controlPanelViewLightButton", start: 0 })
            return rows
        }

        // Away and back: each transition leaves the entering view's origin at the bottom (right)
        // and the leaving one's at the top, or in the main stack at the bottom left.
        function test_switching(data) {
            var stack = stacks[data.stack]
            var entering = data.stack === "main" ? Item.BottomRight : Item.Bottom
            var leaving = data.stack === "main" ? Item.BottomLeft : Item.Top
            var start = switchTo(stack, data.button, data.index)
            compare([stack.items[data.index].transformOrigin, start.transformOrigin], [entering, leaving])
            switchTo(stack, data.back, data.start)
            compare([stack.items[data.index].transformOrigin, start.transformOrigin], [leaving, entering])
        }

        function test_buttonThatChangesNothing_data() {
            return [ { tag: "control panel (shown)", button: "cockpitMainViewControlButton" },
                     { tag: "light tab (shown)", button: "controlPanelViewLightButton" },
                     { tag: "settings", button: "cockpitMainViewSettingsButton" } ]
        }

        // The button presses as any other, and no animation runs.
        function test_buttonThatChangesNothing(data) {
            var button = findChild(cockpit, data.button)
            var shown = [stacks.main.currentItem, stacks.panel.currentItem]
            mousePress(button)
            verify(button.pressed)
            mouseRelease(button)
            verify(!stacks.main.busy && !stacks.panel.busy)
            wait(300)
            compare([stacks.main.currentItem, stacks.panel.currentItem], shown)
            compare([shown[0].scale, shown[1].scale, shown[0].visible, shown[1].visible], [1, 1, true, true])
            compare([stacks.main.depth, stacks.panel.depth], [1, 1])
        }

        // The sub-view and its controls' positions survive a visit to the gauges; the navigation
        // itself sends nothing.
        function test_navigationKeepsTheState() {
            switchTo(stacks.panel, "controlPanelViewWindshieldButton", 2)
            var windshield = stacks.panel.currentItem
            var stalk = findChild(windshield, "windshieldwasherControlStalk")
            mouseClick(stalk.clickableAreaList[0])
            var heater = findChild(windshield, "windshieldheaterAutoButton")
            mouseClick(heater)
            var mainViews = views(stacks.main)

            switchTo(stacks.main, "cockpitMainViewTachometerButton", 0)
            switchTo(stacks.main, "cockpitMainViewControlButton", 2)

            compare(views(stacks.main), mainViews)
            compare(stacks.panel.currentItem, windshield)
            verify(heater.snaped)
            compare(findChild(stalk, "controlStalkLever").transform[0].angle, -36)
            compare(transmitSpy.count, 2)
        }

        function test_busTable_data() {
            return [ { tag: "800 x 480", width: 800, height: 480, smallest: 16 },
                     { tag: "on the board", width: 371.28, height: 222.768, smallest: 12 },
                     { tag: "large window", width: 1600, height: 960, smallest: 16 } ]
        }

        // Every text shown in the table, header or cell, with the column it lies in (the header's
        // filler after the last column and its hidden copies for dragging are left out).
        function busTableTexts(table) {
            var starts = [], x = 0
            for (var i = 0; i < table.columnCount; ++i) {
                starts.push(x)
                x += table.getColumn(i).width
            }
            var texts = []
            var walk = function(item) {
                var isText = item.objectName === "canViewCellText" || item.objectName === "canViewHeaderText"
                if (isText && item.visible && item.text !== "") {
                    var left = item.mapToItem(table, 0, 0).x + table.flickableItem.contentX
                    var column = starts.length - 1
                    while (column > 0 && left < starts[column] - 0.5)
                        --column
                    texts.push({ item: item, column: column, left: left, start: starts[column] })
                }
                for (var c = 0; c < item.children.length; ++c)
                    walk(item.children[c])
            }
            walk(table)
            return texts
        }

        // The table is laid out for the size it is shown at: every column as wide as its texts, all
        // columns side by side within the display, titles and cells starting at the same place, the
        // text no smaller than it need be.
        function test_busTable(data) {
            cockpit.parent.width = data.width
            cockpit.parent.height = data.height
            switchTo(stacks.main, "cockpitMainViewCanButton", 1)
            var view = stacks.main.items[1]
            var table = findChild(view, "canViewTable")
            compare(table.rowCount, 3)
            compare(table.model.get(2).data, "10 11 30 00 00 34 AF FF")
            var titles = [], total = 0
            for (var i = 0; i < table.columnCount; ++i) {
                titles.push(table.getColumn(i).title)
                total += table.getColumn(i).width
            }
            compare(titles, ["ID", "DLC", "Data", "Zyklus [ms]", "Anzahl"])
            verify(total <= table.viewport.width, total + " within " + table.viewport.width)
            verify(table.viewport.width <= view.width)
            compare(table.flickableItem.contentX, 0)

            var texts = busTableTexts(table)
            compare(texts.length, 5 + 3 * 5)
            var firstGlyph = []
            texts.forEach(function(text) {
                var t = text.item
                var cell = table.getColumn(text.column).width
                var what = text.column + " '" + t.text + "'"
                // A title may break at its spaces; nothing is cut off.
                var width = t.contentWidth + t.leftPadding + t.rightPadding
                verify(width <= cell, what + ": " + width + " wider than its cell of " + cell)
                verify(!t.truncated && t.lineCount <= (t.objectName === "canViewHeaderText" ? 2 : 1), what)
                fuzzyCompare(text.left, text.start, 0.5, what)
                verify(t.font.pixelSize >= data.smallest, what + " at " + t.font.pixelSize + " px")
                var glyph = text.left + t.leftPadding
                if (firstGlyph[text.column] === undefined)
                    firstGlyph[text.column] = glyph
                compare(glyph, firstGlyph[text.column], what + " starts where its column's texts do")
            })
        }
    }
}
