import QtQuick 2.5
import "TachometerViewComponents"

// The instrument view: the tachometer on the left, overlapped on its right by the speedometer.
Item {
    id: tachometerView

    width: parent ? parent.width : 0
    height: parent ? parent.height : 0

    Tachometer {
        id: tachometerViewTachometer
        objectName: "tachometerViewTachometer"
        x: 0.01 * tachometerView.width
        y: 0.01 * tachometerView.height
        width: 0.98 * tachometerView.height
        height: 0.98 * tachometerView.height
    }

    Speedometer {
        id: tachometerViewSpeedometer
        objectName: "tachometerViewSpeedometer"
        x: 0.44 * tachometerView.width
        y: 0.19 * tachometerView.height
        width: 0.80 * tachometerView.height
        height: 0.80 * tachometerView.height
        z: 1
    }
}
