import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// A day/night switch drawn as a small landscape. A click toggles daytimeState; the sun-and-stars
// disc then turns by half a turn and the day sky cross-fades into the night sky, or back, over
// 500 ms. The picture always ends in the state that daytimeState reports, also when it is set
// from outside or at creation.
MultilayerImage {
    id: lightSensorSwitch

    property bool daytimeState: true
    property int angle: 0
    property int skyDayImageOpacity: 1
    property int skyNightImageOpacity: 0
    property VectorImage skyDayImage: null
    property VectorImage skyNightImage: null
    property VectorImage sunStarsImage: null

    // Sets the targets for daytimeState and brings the layers there, from where they are.
    function lightSensorSwitchShowState(animated) {
        lightSensorSwitchDiscAnimation.stop()
        lightSensorSwitchDayAnimation.stop()
        lightSensorSwitchNightAnimation.stop()
        angle = daytimeState ? 0 : 180
        skyDayImageOpacity = daytimeState ? 1 : 0
        skyNightImageOpacity = daytimeState ? 0 : 1
        if (!sunStarsImage)
            return
        if (animated) {
            lightSensorSwitchDiscAnimation.start()
            lightSensorSwitchDayAnimation.start()
            lightSensorSwitchNightAnimation.start()
        } else {
            sunStarsImage.rotation = angle
            skyDayImage.opacity = skyDayImageOpacity
            skyNightImage.opacity = skyNightImageOpacity
        }
    }

    multilayerImageAutoResize: true

    onDaytimeStateChanged: lightSensorSwitchShowState(true)

    Component.onCompleted: {
        addLayer(Theme.themeImagePath + "light_sensor_switch_background.svg")
        skyDayImage = addLayer(Theme.themeImagePath + "light_sensor_switch_sky_day.svg")
        skyNightImage = addLayer(Theme.themeImagePath + "light_sensor_switch_sky_night.svg")
        sunStarsImage = addLayer(Theme.themeImagePath + "light_sensor_switch_sun_stars.svg")
        addLayer(Theme.themeImagePath + "light_sensor_switch_car.svg")
        addLayer(Theme.themeImagePath + "light_sensor_switch_frame.svg")
        lightSensorSwitchShowState(false)
    }

    MouseArea {
        objectName: "lightSensorSwitchMouseArea"
        anchors.fill: parent
        z: 10
        onClicked: lightSensorSwitch.daytimeState = !lightSensorSwitch.daytimeState
    }

    // The disc layer covers the whole control, so it turns about the control's centre.
    RotationAnimation {
        id: lightSensorSwitchDiscAnimation
        target: lightSensorSwitch.sunStarsImage
        property: "rotation"
        to: lightSensorSwitch.angle
        duration: 500
    }

    NumberAnimation {
        id: lightSensorSwitchDayAnimation
        target: lightSensorSwitch.skyDayImage
        property: "opacity"
        to: lightSensorSwitch.skyDayImageOpacity
        duration: 500
    }

    NumberAnimation {
        id: lightSensorSwitchNightAnimation
        target: lightSensorSwitch.skyNightImage
        property: "opacity"
        to: lightSensorSwitch.skyNightImageOpacity
        duration: 500
    }
}
