import QtQuick 2.5
import QtQuick.Window 2.2
import QtTest 1.1

// Takes screenshots of the program's main window at its default size of 800 x 800, the board panned
// so that the cockpit lies in view, on every main view of the cockpit (board-<view>.png), in device
// pixels. It prints where the cockpit's display lies in the window, in the window's own pixels. Run by "shoot.sh board"; the pictures go to
// build/cockpit-gallery/.
Item {
    id: root
    width: 100
    height: 100

    TestCase {
        name: "BoardScreens"
        when: windowShown

        readonly property string outputDirectory: String(Qt.resolvedUrl("../../build/cockpit-gallery/")).replace("file://", "")
        readonly property var mainViews: [
            { name: "gauges", button: "cockpitMainViewTachometerButton" },
            { name: "bus", button: "cockpitMainViewCanButton" },
            { name: "controlpanel", button: "cockpitMainViewControlButton" }
        ]

        // Saves the item as the screen shows it, in device pixels (at QT_SCALE_FACTOR=2 twice its size).
        function save(item, name) {
            var ratio = Screen.devicePixelRatio
            var saved = false
            verify(item.grabToImage(function(result) { saved = result.saveToFile(outputDirectory + name + ".png") },
                                    Qt.size(item.width * ratio, item.height * ratio)))
            tryVerify(function() { return saved }, 5000, "saved " + name)
        }

        function test_shoot() {
            var component = Qt.createComponent("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV-VirtualPlatformMain.qml")
            compare(component.status, Component.Ready, component.errorString())
            var window = component.createObject(null)
            verify(window)
            tryVerify(function() { return window.visible }, 2000)
            var board = findChild(window.contentItem, "moduleViewMoveable")
            var frame = findChild(window.contentItem, "cockpitModuleFrame")
            tryCompare(frame, "x", 0, 2000)
            // The cockpit frame's left edge 20 pixels from the window's left edge.
            board.x = 20
            var display = findChild(window.contentItem, "cockpitModuleDisplay")
            var corner = display.mapToItem(window.contentItem, 0, 0)
            console.log("cockpit display in the window:", corner.x, corner.y, display.width, display.height)
            for (var i = 0; i < mainViews.length; ++i) {
                mouseClick(findChild(window.contentItem, mainViews[i].button))
                tryCompare(findChild(window.contentItem, "cockpitMainViewStack"), "busy", false, 2000)
                waitForRendering(window.contentItem)
                save(window.contentItem, "board-" + mainViews[i].name)
            }
            window.destroy()
        }
    }
}
