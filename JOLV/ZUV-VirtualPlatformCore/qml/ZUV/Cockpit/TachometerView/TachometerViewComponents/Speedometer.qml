import QtQuick 2.5
import QtQuick.Extras 1.4

// Road speed, 0 to 250 km/h; the red zone starts at the end of the scale.
CircularGauge {
    id: speedometer

    minimumValue: 0
    maximumValue: 250
    value: 0

    style: CustomCircularGaugeStyle {
        labelStepSize: 20
        redZoneStart: 250
        redZoneEnd: 310
        textTop: ""
        textDesc: "km/h"
        textValue: 0
    }

    Behavior on value {
        NumberAnimation {
            duration: 500
            easing.type: Easing.Linear
        }
    }
}
