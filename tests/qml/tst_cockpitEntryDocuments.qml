import QtQuick 2.5
import QtTest 1.1

// The stand-alone cockpit, light switch and component test windows, loaded from the resource tree
// as a user would open them: they load without a warning, with their font, title and size; the
// light switch window reports every chosen position to lightSwitchDataModel.
Item {
    id: root
    width: 100
    height: 100

    readonly property string documentPath: "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/"

    TestCase {
        name: "CockpitEntryDocuments"
        when: windowShown

        function open(document) {
            var component = Qt.createComponent(root.documentPath + document)
            compare(component.status, Component.Ready, component.errorString())
            var window = component.createObject(null)
            verify(window)
            tryVerify(function() { return window.visible }, 2000)
            waitForRendering(window.contentItem)
            return window
        }

        function test_documents_data() {
            return [
                { tag: "cockpit", document: "ZUV-StandaloneCockpitMain.qml", title: "ZUV-StandaloneCockpit",
                  width: 800, height: 480, font: "standaloneCockpitFontLoader", content: "cockpitMainView" },
                { tag: "light switch", document: "ZUV-StandaloneLightSwitchMain.qml", title: "ZUV-StandaloneLightSwitch",
                  width: 500, height: 500, font: "standaloneLightSwitchFontLoader", content: "standaloneLightSwitch" },
                { tag: "component testfield", document: "ZUV-ComponentTestfield.qml", title: "ZUV-ComponentTestfield",
                  width: 800, height: 480, font: "componentTestfieldFontLoader", content: "componentTestfieldVelocityControl" }
            ]
        }

        function test_documents(data) {
            var window = open(data.document)
            compare(window.title, data.title)
            compare(window.width, data.width)
            compare(window.height, data.height)
            compare(String(window.color), "#212121")
            var fontLoader = findChild(window, data.font)
            verify(fontLoader)
            tryCompare(fontLoader, "status", FontLoader.Ready, 2000)
            var content = findChild(window.contentItem, data.content)
            verify(content)
            compare(content.width, data.width)
            compare(content.height, data.height)
            window.destroy()
        }

        function test_lightSwitchWindow() {
            lightSwitchDataModel.lightSwitchPosition = -1
            var window = open("ZUV-StandaloneLightSwitchMain.qml")
            var lightSwitch = findChild(window.contentItem, "standaloneLightSwitch")
            compare(lightSwitch.lightSwitchItemsList.length, 4)
            var positions = [3, 2, 1, 0]
            for (var i = 0; i < positions.length; ++i) {
                mouseClick(lightSwitch.lightSwitchItemsList[positions[i]].clickableArea)
                compare(lightSwitchDataModel.lightSwitchPosition, positions[i])
            }
            window.destroy()
        }
    }
}
