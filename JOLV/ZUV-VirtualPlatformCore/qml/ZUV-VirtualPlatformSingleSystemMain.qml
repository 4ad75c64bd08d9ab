import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/VirtualPlatform/Components"
import "ZUV/VirtualPlatform/Modules"
import "ZUV/Theme"

// The windshield module alone, in a frame in the middle of its own window, wired to the state model
// as on the board. Its frame's move buttons have no effect here.
ApplicationWindow {
    id: singleSystemWindow

    visible: true
    title: qsTr("ZUV-VirtualPlatformSingleSystem")
    color: Theme.themeBackgroundColor
    width: 800
    height: 800
    minimumHeight: 800

    onWidthChanged: windshieldModule.resizeAll()
    onHeightChanged: windshieldModule.resizeAll()

    Item {
        width: 500
        height: 500
        anchors.centerIn: parent

        ModuleFrame {
            id: windshieldModuleFrame
            objectName: "windshieldModuleFrame"
            anchors.fill: parent
            moduleFrameCustomModule: WindshieldModule {
                id: windshieldModule
                objectName: "windshieldModule"

                windshieldModuleHeaterLight: virtualPlatformDataModel.windshieldHeater
                windshieldModuleWasherPumpLight: virtualPlatformDataModel.windshieldWasherPump
                windshieldModuleWiperLightA: virtualPlatformDataModel.windshieldWiperA
                windshieldModuleWiperLightB: virtualPlatformDataModel.windshieldWiperB
                windshieldModuleWiperLightC: virtualPlatformDataModel.windshieldWiperC
                windshieldModuleWiperLightD: virtualPlatformDataModel.windshieldWiperD
                genericModuleLightLeft: virtualPlatformDataModel.windshieldGenericLightLeft
                genericModuleLightUp: virtualPlatformDataModel.windshieldGenericLightUp
                genericModuleLightRight: virtualPlatformDataModel.windshieldGenericLightRight
                genericModuleLightDown: virtualPlatformDataModel.windshieldGenericLightDown

                onWindshieldModuleDistanceSensorChanged: virtualPlatformDataModel.windshieldDistanceSensor = windshieldModuleDistanceSensor
                onWindshieldModuleLightSensorChanged: virtualPlatformDataModel.windshieldLightSensor = windshieldModuleLightSensor !== 0
                onGenericModuleButtonPressedChanged: virtualPlatformDataModel.windshieldGenericButton = genericModuleButtonPressed
            }
        }
    }

    Connections {
        target: virtualPlatformDataModel
        function onRemoteBasedDataChanged() { windshieldModule.updateWindshieldWasherArm() }
    }
}
