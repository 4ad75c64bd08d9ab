import QtQuick 2.5
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/ControlPanelView/ControlPanelViewComponents"
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Cockpit/TachometerView"

// Every cockpit control once, set up as the cockpit uses it, in cells of galleryPanelCell pixels.
Rectangle {
    id: galleryPanel

    property real galleryPanelCell: 200
    property string galleryPanelTitle: ""
    readonly property string galleryPanelImagePath: "qrc:/JOLV/ZUV-VirtualPlatformCore/images/svg-multilayer-extracted/"

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

    function addStalkAreas(stalk) {
        stalk.addClickableArea(0.60, 0.19, 0.375, 0.18, -36, 2)
        stalk.addClickableArea(0.71, 0.31, 0.375, 0.18, -18, 1)
        stalk.addClickableArea(0.75, 0.47, 0.375, 0.18, 0, 0)
        stalk.addClickableArea(0.75, 0.63, 0.375, 0.18, 18, -1)
        stalk.addClickableArea(0.70, 0.78, 0.375, 0.18, 36, -2)
    }

    color: "#515151"
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
                buttonPressedImageSource: galleryPanel.galleryPanelImagePath + "light_button_warninglights_active.svg"
                buttonReleasedImageSource: galleryPanel.galleryPanelImagePath + "light_button_warninglights_inactive.svg"
            }
        }

        GalleryCell {
            galleryCellTitle: "SnapableGradientButton"
            galleryCellSize: galleryPanel.galleryPanelCell
            SnapableGradientButton {
                id: fogButton
                anchors.fill: parent
                anchors.margins: parent.width * 0.15
                buttonPressedImageSource: galleryPanel.galleryPanelImagePath + "light_button_foglights_active.svg"
                buttonReleasedImageSource: galleryPanel.galleryPanelImagePath + "light_button_foglights_inactive.svg"
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
                backgroundImage: galleryPanel.galleryPanelImagePath + "light_switch_background.svg"
                needleImage: galleryPanel.galleryPanelImagePath + "light_switch_needle.svg"
                lightSwitchItemsRadius: 0.41
                lightSwitchItemsSize: 0.2
                lightSwitchItemsList: [
                    LightSwitchItem {
                        angle: 235
                        activeSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_off_active.svg"
                        inactiveSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_off_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 270
                        activeSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_auto_active.svg"
                        inactiveSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_auto_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 305
                        activeSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_tagfahrlicht_active.svg"
                        inactiveSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_tagfahrlicht_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 340
                        activeSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_abblendlicht_active.svg"
                        inactiveSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_abblendlicht_inactive.svg"
                    },
                    LightSwitchItem {
                        angle: 15
                        activeSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_fernlicht_active.svg"
                        inactiveSource: galleryPanel.galleryPanelImagePath + "light_switch_icon_fernlicht_inactive.svg"
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
                controlStalkConsoleImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_console.svg"
                controlStalkGhostlinesImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever_ghostlines.svg"
                controlStalkLeverImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever.svg"
                controlStalkIconImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever_icon_signal.svg"
                Component.onCompleted: galleryPanel.addStalkAreas(signalControlStalk)
            }
        }

        GalleryCell {
            galleryCellTitle: "ControlStalk (wiper)"
            galleryCellSize: galleryPanel.galleryPanelCell
            ControlStalk {
                id: wiperControlStalk
                anchors.fill: parent
                controlStalkConsoleImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_console.svg"
                controlStalkGhostlinesImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever_ghostlines.svg"
                controlStalkLeverImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever.svg"
                controlStalkIconImageUrl: galleryPanel.galleryPanelImagePath + "control_stalk_moveable_lever_icon_windshieldwasher.svg"
                Component.onCompleted: galleryPanel.addStalkAreas(wiperControlStalk)
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
                color: "#212121"
                TachometerView {
                    id: tachometerView
                }
            }
        }
    }
}
