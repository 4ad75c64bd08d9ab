import QtQuick 2.5
import QtTest 1.1

// The main window and the single-module window, loaded from the resource tree as start-up loads
// the main document.
Item {
    id: root
    width: 200
    height: 200

    SignalSpy { id: transmits; target: virtualPlatformDataModel; signalName: "requestTransmit" }
    SignalSpy { id: localChanges; target: virtualPlatformDataModel; signalName: "localBasedDataChanged" }

    TestCase {
        name: "MainWindows"
        when: windowShown

        function openWindow(document) {
            var component = Qt.createComponent("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/" + document)
            compare(component.status, Component.Ready, component.errorString())
            var window = createTemporaryObject(component, root)
            verify(window)
            return window
        }

        function test_mainWindow() {
            transmits.clear()
            localChanges.clear()
            var window = openWindow("ZUV-VirtualPlatformMain.qml")
            compare(window.title, "ZUV-VirtualPlatform")
            compare(window.width, 800)
            compare(window.height, 800)
            compare(window.minimumHeight, 800)
            verify(Qt.colorEqual(window.color, "#212121"))
            var view = findChild(window.contentItem, "virtualPlatformMainView")
            compare(view.width, 760)
            compare(view.height, 800)
            var moveable = findChild(view, "moduleViewMoveable")
            compare(moveable.x, -283)
            compare(transmits.count, 1)
            // A narrower window re-centres the board; the module pictures keep their size.
            var lightsWidth = findChild(view, "lightsModule").width
            window.width = 600
            tryCompare(view, "width", 570)
            compare(moveable.x, view.width / 2 - 1.5 * view.virtualPlatformMainViewFrameWidth)
            compare(findChild(view, "lightsModule").width, lightsWidth)
            // The frames have slid into their slots, and nothing more was sent.
            tryCompare(findChild(view, "windshieldModuleFrame"), "x", 3 * view.virtualPlatformMainViewFrameWidth, 1000)
            compare(transmits.count, 1)
            compare(localChanges.count, 0)
        }

        function test_singleModuleWindow() {
            transmits.clear()
            var window = openWindow("ZUV-VirtualPlatformSingleSystemMain.qml")
            compare(window.title, "ZUV-VirtualPlatformSingleSystem")
            compare(window.width, 800)
            compare(window.height, 800)
            compare(window.minimumHeight, 800)
            var frame = findChild(window.contentItem, "windshieldModuleFrame")
            var module = findChild(window.contentItem, "windshieldModule")
            compare(frame.width, 500)
            compare(frame.height, 500)
            tryCompare(frame.parent, "x", 150)
            compare(frame.parent.y, 150)
            compare(module.width, 525)
            // Wired as on the board: applied documents turn the arm, the sensors write the model.
            virtualPlatformDataModel.windshieldWiperB = false
            virtualPlatformDataModel.windshieldWiperC = true
            virtualPlatformDataModel.windshieldWiperD = true
            virtualPlatformDataModel.remoteBasedDataChanged()
            compare(module.windshieldModuleWiperArmPosition, 1)
            virtualPlatformDataModel.lightUpperBeamHeadlight = true
            virtualPlatformDataModel.windshieldHeater = true
            compare(module.windshieldModuleHeaterLight, true)
            module.windshieldModuleLightSensor = 1
            compare(virtualPlatformDataModel.windshieldLightSensor, true)
            module.windshieldModuleDistanceSensor = 682
            compare(virtualPlatformDataModel.windshieldDistanceSensor, 682)
            // Its frame's move buttons lead nowhere.
            frame.requestMove(frame, 1)
            frame.requestDrag(frame, 50)
            frame.requestDrop(frame)
            compare(frame.x, 0)
            compare(transmits.count, 0)
        }
    }
}
