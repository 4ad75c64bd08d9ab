import QtQuick 2.5
import QtQuick.Layouts 1.3
import "ControlPanelViewComponents"
import "../../Theme"

// The light controls: fog light, hazard warning and rear fog light buttons above the rotary light
// switch and the indicator stalk, with the ignition key at the bottom edge. Every control that the
// peer needs writes its cockpit value into the state model and asks for a transmission; the two fog
// light buttons only change their pictures.
Item {
    id: controlPanelSubviewLight

    Item {
        id: gridLayoutItem
        anchors.fill: parent

        GridLayout {
            anchors.fill: parent
            columns: 3
            rows: 2

            GridLayout {
                Layout.columnSpan: 3
                Layout.fillWidth: true
                Layout.preferredHeight: 0.3 * gridLayoutItem.height
                columns: 3
                rows: 1

                SnapableGradientButton {
                    objectName: "controlPanelSubviewLightFogButton"
                    buttonPressedImageSource: Theme.themeImagePath + "light_button_foglights_active.svg"
                    buttonReleasedImageSource: Theme.themeImagePath + "light_button_foglights_inactive.svg"
                }

                SnapableGradientButton {
                    objectName: "controlPanelSubviewLightWarningButton"
                    buttonImageAnimated: true
                    buttonPressedImageSource: Theme.themeImagePath + "light_button_warninglights_active.svg"
                    buttonReleasedImageSource: Theme.themeImagePath + "light_button_warninglights_inactive.svg"
                    onSnapedChanged: {
                        virtualPlatformDataModel.cockpitWarnLight = snaped ? 1 : 0
                        virtualPlatformDataModel.requestTransmit()
                    }
                }

                SnapableGradientButton {
                    objectName: "controlPanelSubviewLightFogBackButton"
                    buttonPressedImageSource: Theme.themeImagePath + "light_button_fogbacklights_active.svg"
                    buttonReleasedImageSource: Theme.themeImagePath + "light_button_fogbacklights_inactive.svg"
                }
            }

            LightSwitch {
                objectName: "controlPanelSubviewLightSwitch"
                Layout.columnSpan: 1
                Layout.fillHeight: true
                Layout.preferredWidth: Layout.preferredHeight
                Layout.preferredHeight: 0.7 * gridLayoutItem.height
                backgroundImage: Theme.themeImagePath + "light_switch_background.svg"
                needleImage: Theme.themeImagePath + "light_switch_needle.svg"
                lightSwitchItemsRadius: 0.41
                lightSwitchItemsSize: 0.2
                lightSwitchItemsList: [
                    LightSwitchItem {
                        angle: 235
                        activeSource: Theme.themeImagePath + "light_switch_icon_off_active.svg"
                        inactiveSource: Theme.themeImagePath + "light_switch_icon_off_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 270
                        activeSource: Theme.themeImagePath + "light_switch_icon_auto_active.svg"
                        inactiveSource: Theme.themeImagePath + "light_switch_icon_auto_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 305
                        activeSource: Theme.themeImagePath + "light_switch_icon_tagfahrlicht_active.svg"
                        inactiveSource: Theme.themeImagePath + "light_switch_icon_tagfahrlicht_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 340
                        activeSource: Theme.themeImagePath + "light_switch_icon_abblendlicht_active.svg"
                        inactiveSource: Theme.themeImagePath + "light_switch_icon_abblendlicht_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 15
                        activeSource: Theme.themeImagePath + "light_switch_icon_fernlicht_active.svg"
                        inactiveSource: Theme.themeImagePath + "light_switch_icon_fernlicht_inactive.svg"
                    }
                ]
                onSelectedItemChanged: {
                    virtualPlatformDataModel.cockpitLightSwitch = selection
                    virtualPlatformDataModel.requestTransmit()
                }
            }

            // Positions 2 and -2 stay; 1 and -1 spring back to 0 after a second, and the stalk
            // reports that 0 as well. Its console, cut off by the picture's edge, meets the
            // panel's right edge.
            ControlStalk {
                id: signalControlStalk
                objectName: "signalControlStalk"
                Layout.columnSpan: 2
                Layout.alignment: Qt.AlignRight | Qt.AlignVCenter
                Layout.preferredWidth: Layout.preferredHeight
                Layout.preferredHeight: 0.7 * gridLayoutItem.height
                mirrored: true
                autoReturn: true
                controlStalkConsoleImageUrl: Theme.themeImagePath + "control_stalk_console.svg"
                controlStalkGhostlinesImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_ghostlines.svg"
                controlStalkLeverImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever.svg"
                controlStalkIconImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_icon_signal.svg"
                Component.onCompleted: controlStalkAddPositionAreas()
                onLeverPositionChanged: {
                    virtualPlatformDataModel.cockpitIndicator = position
                    virtualPlatformDataModel.requestTransmit()
                }
            }
        }
    }

    Item {
        anchors.fill: parent

        IgnitionSwitch {
            objectName: "controlPanelSubviewLightIgnitionSwitch"
            anchors.bottom: parent.bottom
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: -0.025 * controlPanelSubviewLight.width
            width: 0.2 * controlPanelSubviewLight.height
            height: 0.2 * controlPanelSubviewLight.height
            onActivatedChanged: {
                virtualPlatformDataModel.cockpitIgnition = activated ? 1 : 0
                virtualPlatformDataModel.requestTransmit()
            }
        }
    }
}
