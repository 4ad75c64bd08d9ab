import QtQuick 2.5
import QtTest 1.1

// Opens the program's main window, then shows everything the board can show once: every output of
// the modules lit and put out again, every view and sub-view of the cockpit, both sensor pop-ups,
// the board panned across. Prints the resident memory of the process after start-up and after the
// walk, as a lab day would leave it once every picture and view has been seen. Run by walk.sh.
Item {
    id: root
    width: 100
    height: 100

    TestCase {
        name: "BoardWalk"
        when: windowShown

        function residentMegabytes() {
            var request = new XMLHttpRequest()
            request.open("GET", "file:///proc/self/status", false)
            request.send()
            return Number(request.responseText.match(/VmRSS:\s*(\d+)/)[1]) / 1024
        }

        function click(window, name) {
            var button = findChild(window.contentItem, name)
            verify(button, name)
            button.clicked()
            wait(400)
        }

        function test_walk() {
            var component = Qt.createComponent("qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV-VirtualPlatformMain.qml")
            compare(component.status, Component.Ready, component.errorString())
            var window = component.createObject(null)
            verify(window)
            wait(3000)
            var atStart = residentMegabytes()

            var outputs = virtualPlatformDataModelFacts.moduleOutputs
            outputs.forEach(function(name) { virtualPlatformDataModel[name] = true })
            wait(500)
            outputs.forEach(function(name) { virtualPlatformDataModel[name] = false })
            ;["cockpitMainViewTachometerButton", "cockpitMainViewCanButton", "cockpitMainViewControlButton",
              "controlPanelViewAlarmButton", "controlPanelViewWindshieldButton", "controlPanelViewRestbusButton",
              "controlPanelViewDynamicButton", "controlPanelViewLightButton"].forEach(function(name) { click(window, name) })
            findChild(window.contentItem, "infraredSensorSubmoduleFrame").visible = true
            findChild(window.contentItem, "lightSensorSubmoduleFrame").visible = true
            var board = findChild(window.contentItem, "moduleViewMoveable")
            for (var x = board.x; x > -1200; x -= 200) {
                board.x = x
                wait(100)
            }
            wait(3000)
            var afterWalk = residentMegabytes()
            console.log("resident memory: " + atStart.toFixed(1) + " MB after start-up, " + afterWalk.toFixed(1)
                        + " MB once everything has been shown (" + (afterWalk - atStart).toFixed(1) + " MB more)")
            window.destroy()
        }
    }
}
