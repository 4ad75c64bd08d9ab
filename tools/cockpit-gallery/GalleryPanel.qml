import QtQuick 2.5
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/TachometerView"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// Every cockpit control once, set up as the cockpit uses it, in cells of galleryPanelCell pixels.
Rectangle {
    id: galleryPanel

    property real galleryPanelCell: 200
    property string galleryPanelTitle: ""

    property alias warningButton: warningButton
    property alias fogButton: fogButton
    property alias ignitionSwitch: ignitionSwitch
    property alias brakeControl: brakeControl
    property alias velocityControl: velocityControl
    property alias steeringAngleControl: steeringAngleControl
    property alias lightSwitch: lightSwitch
    property alias lightSensorSwitch: lightSensorSwitch
    property alias nightLightSensorSwitch: nightLightSensorSwitch
    property alias signalControlStalk: signalControlStalk
    property alias wiperControlStalk: wiperControlStalk
    property alias temperatureControl: temperatureControl
    property alias distanceSensor: distanceSensor
    property alias tachometerView: tachometerView

    color: Theme.themePanelColor
    width: galleryPanelFlow.width + 20
    height: galleryPanelFlow.height + galleryPanelTitleText.height + 20

    Text {
        id: galleryPanelTitleText
        x: 10
        y: 4
        text: galleryPanel.galleryPanelTitle
        color: "white"
        font.pixelSize: 14
    }

    Flow {
        id: galleryPanelFlow
        x: 10
        y: galleryPanelTitleText.height + 10
        width: 7 * (galleryPanel.galleryPanelCell + spacing)
        spacing: 6

        GalleryCell {
            galleryCellTitle: "GradientButton (blinks)"
            galleryCellSize: galleryPanel.galleryPanelCell
            GradientButton {
                id: warningButton
                anchors.fill: parent
                anchors.margins: parent.width * 0.15
                buttonImageAnimated: true
                buttonPressedImageSource: Theme.themeImagePath + "light_button_warninglights_active.svg"
                buttonReleasedImageSource: Theme.themeImagePath + "light_button_warninglights_inactive.svg"
            }
        }

        GalleryCell {
            galleryCellTitle: "SnapableGradientButton"
            galleryCellSize: galleryPanel.galleryPanelCell
            SnapableGradientButton {
                id: fogButton
                anchors.fill: parent
                anchors.margins: parent.width * 0.15
                buttonPressedImageSource: Theme.themeImagePath + "light_button_foglights_active.svg"
                buttonReleasedImageSource: Theme.themeImagePath + "light_button_foglights_inactive.svg"
            }
        }

        GalleryCell {
            galleryCellTitle: "IgnitionSwitch"
            galleryCellSize: galleryPanel.galleryPanelCell
            IgnitionSwitch {
                id: ignitionSwitch
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "BrakeControl"
            galleryCellSize: galleryPanel.galleryPanelCell
            BrakeControl {
                id: brakeControl
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "VelocityControl"
            galleryCellSize: galleryPanel.galleryPanelCell
            VelocityControl {
                id: velocityControl
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "SteeringAngleControl"
            galleryCellSize: galleryPanel.galleryPanelCell
            SteeringAngleControl {
                id: steeringAngleControl
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "LightSwitch"
            galleryCellSize: galleryPanel.galleryPanelCell
            LightSwitch {
                id: lightSwitch
                anchors.fill: parent
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
            }
        }

        GalleryCell {
            galleryCellTitle: "LightSensorSwitch"
            galleryCellSize: galleryPanel.galleryPanelCell
            LightSensorSwitch {
                id: lightSensorSwitch
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "LightSensorSwitch (night at start)"
            galleryCellSize: galleryPanel.galleryPanelCell
            LightSensorSwitch {
                id: nightLightSensorSwitch
                anchors.fill: parent
                daytimeState: false
            }
        }

        GalleryCell {
            galleryCellTitle: "ControlStalk (indicator, mirrored)"
            galleryCellSize: galleryPanel.galleryPanelCell
            ControlStalk {
                id: signalControlStalk
                anchors.fill: parent
                mirrored: true
                autoReturn: true
                controlStalkConsoleImageUrl: Theme.themeImagePath + "control_stalk_console.svg"
                controlStalkGhostlinesImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_ghostlines.svg"
                controlStalkLeverImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever.svg"
                controlStalkIconImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_icon_signal.svg"
                Component.onCompleted: controlStalkAddPositionAreas()
            }
        }

        GalleryCell {
            galleryCellTitle: "ControlStalk (wiper)"
            galleryCellSize: galleryPanel.galleryPanelCell
            ControlStalk {
                id: wiperControlStalk
                anchors.fill: parent
                controlStalkConsoleImageUrl: Theme.themeImagePath + "control_stalk_console.svg"
                controlStalkGhostlinesImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_ghostlines.svg"
                controlStalkLeverImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever.svg"
                controlStalkIconImageUrl: Theme.themeImagePath + "control_stalk_moveable_lever_icon_windshieldwasher.svg"
                Component.onCompleted: controlStalkAddPositionAreas()
            }
        }

        GalleryCell {
            galleryCellTitle: "TemperatureControl"
            galleryCellSize: galleryPanel.galleryPanelCell
            TemperatureControl {
                id: temperatureControl
                anchors.fill: parent
            }
        }

        GalleryCell {
            galleryCellTitle: "DistanceSensor"
            galleryCellSize: galleryPanel.galleryPanelCell
            DistanceSensor {
                id: distanceSensor
                // The sensor's pictures are 40 by 100.
                anchors.centerIn: parent
                height: parent.height
                width: parent.height * 0.4
            }
        }

        GalleryCell {
            galleryCellTitle: "TachometerView (800 : 480)"
            galleryCellSize: galleryPanel.galleryPanelCell
            galleryCellWidth: 2 * galleryPanel.galleryPanelCell + galleryPanelFlow.spacing
            Rectangle {
                anchors.centerIn: parent
                height: parent.height
                width: parent.height * 800 / 480
                color: Theme.themeBackgroundColor
                TachometerView {
                    id: tachometerView
                }
            }
        }
    }
}
