import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"

// The rotary light switch alone in a window of its own, with four positions: off, automatic, low
// beam and high beam. The number of the chosen position goes to lightSwitchDataModel.
ApplicationWindow {
    id: standaloneLightSwitchWindow

    readonly property string standaloneLightSwitchImagePath: "qrc:/JOLV/ZUV-VirtualPlatformCore/images/svg-multilayer-extracted/"

    visible: true
    title: qsTr("ZUV-StandaloneLightSwitch")
    color: "#212121"
    width: 500
    height: 500

    FontLoader {
        objectName: "standaloneLightSwitchFontLoader"
        source: "qrc:/JOLV/ZUV-VirtualPlatformCore/fonts/OpenSans-Regular.ttf"
    }

    LightSwitch {
        objectName: "standaloneLightSwitch"
        anchors.fill: parent
        backgroundImage: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_background.svg"
        needleImage: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_needle.svg"
        lightSwitchItemsRadius: 0.41
        lightSwitchItemsSize: 0.2
        lightSwitchItemsList: [
            LightSwitchItem {
                angle: 235.0
                activeSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_off_active.svg"
                inactiveSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_off_inactive.svg"
            },
            LightSwitchItem {
                angle: 270.0
                activeSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_auto_active.svg"
                inactiveSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_auto_inactive.svg"
            },
            LightSwitchItem {
                angle: 305.0
                activeSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_abblendlicht_active.svg"
                inactiveSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_abblendlicht_inactive.svg"
            },
            LightSwitchItem {
                angle: 340.0
                activeSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_fernlicht_active.svg"
                inactiveSource: standaloneLightSwitchWindow.standaloneLightSwitchImagePath + "light_switch_icon_fernlicht_inactive.svg"
            }
        ]
        onSelectedItemChanged: lightSwitchDataModel.lightSwitchPosition = selection
    }
}
