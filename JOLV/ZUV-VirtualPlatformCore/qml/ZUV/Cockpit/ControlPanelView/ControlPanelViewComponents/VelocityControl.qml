import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Extras 1.4

// Sets the vehicle's velocity, 0 to 120 km/h, with a slider. The gauge and the number follow the
// slider while it is dragged; velocityControlValue takes the value when the slider is let go.
Item {
    id: velocityControl

    property int velocityControlValue: 0

    function velocityControlPublish() {
        velocityControlValue = Math.round(velocityControlSlider.value)
    }

    CircularGauge {
        id: velocityControlGauge
        objectName: "velocityControlGauge"
        anchors.top: parent.top
        anchors.horizontalCenter: parent.horizontalCenter
        width: 0.6 * velocityControl.width
        height: 0.6 * velocityControl.height
        minimumValue: 0
        maximumValue: 120
        value: velocityControlSlider.value
    }

    Text {
        id: velocityControlText
        objectName: "velocityControlText"
        anchors.top: velocityControlGauge.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: velocityControl.width
        height: 0.2 * velocityControl.height
        text: Math.round(velocityControlSlider.value) + " km/h"
        color: "white"
        font.pixelSize: Math.max(1, 0.12 * velocityControl.height)
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignBottom
    }

    Slider {
        id: velocityControlSlider
        objectName: "velocityControlSlider"
        anchors.top: velocityControlText.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: 0.8 * velocityControl.width
        height: 0.2 * velocityControl.height
        minimumValue: 0
        maximumValue: 120
        stepSize: 1.0
        value: 0

        onPressedChanged: {
            if (!pressed)
                velocityControl.velocityControlPublish()
        }
        // A change without a held press (mouse wheel, arrow keys) is taken at once, so that the
        // number shown and the value sent never part.
        onValueChanged: {
            if (!pressed)
                velocityControl.velocityControlPublish()
        }
    }
}
