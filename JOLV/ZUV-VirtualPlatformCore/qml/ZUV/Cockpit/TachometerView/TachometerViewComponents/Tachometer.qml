import QtQuick 2.5
import QtQuick.Extras 1.4

// Engine speed in thousands of revolutions per minute, 0 to 9, red from 7; the centre readout
// shows the gear.
CircularGauge {
    id: tachometer

    minimumValue: 0
    maximumValue: 9
    value: 0

    style: CustomCircularGaugeStyle {
        maximumValueAngle: 45
        tickmarkStepSize: 1
        labelStepSize: 1
        redZoneStart: 7
        redZoneEnd: 9
        textTop: "x1000"
        textDesc: "Gear"
        textValue: 0
    }

    Behavior on value {
        NumberAnimation {
            duration: 100
            easing.type: Easing.Linear
        }
    }
}
