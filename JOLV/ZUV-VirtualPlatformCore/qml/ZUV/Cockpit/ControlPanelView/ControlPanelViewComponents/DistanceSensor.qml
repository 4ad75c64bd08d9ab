import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// A road seen from above with the own car and its distance sensor beam. The user drags the car
// ahead up and down the road; while it stands in the beam, vehicleAhead is true and the beam is
// drawn red, otherwise green.
Item {
    id: distanceSensor

    property bool vehicleAhead: false

    property VectorImage distanceSensorSecondaryCarImage: null
    // The car ahead's position in fractions of the height, kept when the sensor is resized.
    property real distanceSensorSecondaryCarRelativeY: 0

    MultilayerImage {
        id: distanceSensorImage
        objectName: "distanceSensorImage"
        anchors.fill: parent
        multilayerImageAutoResize: true

        onHeightChanged: {
            if (distanceSensor.distanceSensorSecondaryCarImage)
                distanceSensor.distanceSensorSecondaryCarImage.y = distanceSensor.distanceSensorSecondaryCarRelativeY * height
        }

        Component.onCompleted: {
            var path = Theme.themeImagePath
            addLayer(path + "distance_sensor_street.svg")
            addLayer(path + "distance_sensor_primary_car.svg")
            distanceSensor.distanceSensorSecondaryCarImage = addLayerMoveable(path + "distance_sensor_secondary_car.svg")
            var green = addLayer(path + "distance_sensor_beam_green.svg")
            green.objectName = "distanceSensorBeamGreen"
            green.visible = Qt.binding(function() { return !distanceSensor.vehicleAhead })
            var red = addLayer(path + "distance_sensor_beam_red.svg")
            red.objectName = "distanceSensorBeamRed"
            red.visible = Qt.binding(function() { return distanceSensor.vehicleAhead })
        }

        MouseArea {
            id: distanceSensorMouseArea
            objectName: "distanceSensorMouseArea"
            anchors.fill: parent
            z: 10

            property real imageRelativeMaximumY: 0.75
            property int pressPointerY: 0
            property int pressCarY: 0

            onPressed: {
                pressPointerY = Math.round(mouse.y)
                pressCarY = Math.round(distanceSensor.distanceSensorSecondaryCarImage.y)
            }

            onPositionChanged: {
                if (!pressed || height <= 0)
                    return
                var newY = pressCarY + (mouse.y - pressPointerY)
                var relativeY = newY / height
                newY = Math.max(0, Math.min(imageRelativeMaximumY * height, newY))
                distanceSensor.vehicleAhead = relativeY > 0.195 && relativeY < 0.725
                distanceSensor.distanceSensorSecondaryCarImage.y = newY
                distanceSensor.distanceSensorSecondaryCarRelativeY = newY / height
            }
        }
    }
}
