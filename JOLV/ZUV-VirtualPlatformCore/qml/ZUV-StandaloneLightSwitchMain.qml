import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "ZUV/Theme"

// The rotary light switch alone in a window of its own, with four positions: off, automatic, low
// beam and high beam. The number of the chosen position goes to lightSwitchDataModel.
ApplicationWindow {
    id: standaloneLightSwitchWindow

    visible: true
    title: qsTr("ZUV-StandaloneLightSwitch")
    color: Theme.themeBackgroundColor
    width: 500
    height: 500

    FontLoader {
        objectName: "standaloneLightSwitchFontLoader"
        source: Theme.themeFontSource
    }

    LightSwitch {
        objectName: "standaloneLightSwitch"
        anchors.fill: parent
        backgroundImage: Theme.themeImagePath + "light_switch_background.svg"
        needleImage: Theme.themeImagePath + "light_switch_needle.svg"
        lightSwitchItemsRadius: 0.41
        lightSwitchItemsSize: 0.2
        lightSwitchItemsList: [
            LightSwitchItem {
                angle: 235.0
                activeSource: Theme.themeImagePath + "light_switch_icon_off_active.svg"
                inactiveSource: Theme.themeImagePath + "light_switch_icon_off_inactive.svg"
            },
            LightSwitchItem {
                angle: 270.0
                activeSource: Theme.themeImagePath + "light_switch_icon_auto_active.svg"
                inactiveSource: Theme.themeImagePath + "light_switch_icon_auto_inactive.svg"
            },
            LightSwitchItem {
                angle: 305.0
                activeSource: Theme.themeImagePath + "light_switch_icon_abblendlicht_active.svg"
                inactiveSource: Theme.themeImagePath + "light_switch_icon_abblendlicht_inactive.svg"
            },
            LightSwitchItem {
                angle: 340.0
                activeSource: Theme.themeImagePath + "light_switch_icon_fernlicht_active.svg"
                inactiveSource: Theme.themeImagePath + "light_switch_icon_fernlicht_inactive.svg"
            }
        ]
        onSelectedItemChanged: lightSwitchDataModel.lightSwitchPosition = selection
    }
}
