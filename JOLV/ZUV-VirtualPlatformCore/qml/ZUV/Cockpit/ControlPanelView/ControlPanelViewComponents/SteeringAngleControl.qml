import QtQuick 2.5
import QtQuick.Controls 1.4
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// Sets the steering angle in degrees with a slider. The wheel and the number follow the slider while
// it is dragged; steeringAngleControlAngleValueDeg takes the value when the slider is let go.
Item {
    id: steeringAngleControl

    property int steeringAngleControlAngleValueDeg: 0
    property int steeringAngleControlAngleMaxDeg: 45
    property int steeringAngleControlAngleMinDeg: -45

    function steeringAngleControlPublish() {
        steeringAngleControlAngleValueDeg = Math.round(steeringAngleControlSlider.value)
    }

    VectorImage {
        id: steeringAngleControlWheel
        objectName: "steeringAngleControlWheel"
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        width: (465.0 / 480.0) * steeringAngleControl.width
        height: 0.6 * steeringAngleControl.height
        source: Theme.themeIconPath + "steering_wheel.svg"
        vectorImageAutoResize: true
        // The wheel keeps its round shape inside the area, so that it does not wobble as it turns.
        fillMode: Image.PreserveAspectFit
        rotation: steeringAngleControlSlider.value
    }

    Text {
        id: steeringAngleControlText
        objectName: "steeringAngleControlText"
        anchors.top: steeringAngleControlWheel.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: steeringAngleControl.width
        height: 0.2 * steeringAngleControl.height
        text: Math.round(steeringAngleControlSlider.value) + "°"
        color: "white"
        font.pixelSize: Math.max(1, 0.12 * steeringAngleControl.height)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignBottom
    }

    Slider {
        id: steeringAngleControlSlider
        objectName: "steeringAngleControlSlider"
        anchors.top: steeringAngleControlText.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: 0.8 * steeringAngleControl.width
        height: 0.2 * steeringAngleControl.height
        minimumValue: steeringAngleControl.steeringAngleControlAngleMinDeg
        maximumValue: steeringAngleControl.steeringAngleControlAngleMaxDeg
        stepSize: 1.0
        value: 0

        onPressedChanged: {
            if (!pressed)
                steeringAngleControl.steeringAngleControlPublish()
        }
        // A change without a held press (mouse wheel, arrow keys) is taken at once, so that the
        // number shown and the value sent never part.
        onValueChanged: {
            if (!pressed)
                steeringAngleControl.steeringAngleControlPublish()
        }
    }
}
