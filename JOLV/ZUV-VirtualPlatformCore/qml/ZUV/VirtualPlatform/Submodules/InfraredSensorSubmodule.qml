import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../Theme"

// The infrared distance sensor of the windshield module: an object in front of the sensor that the
// user slides sideways by its handle. The object's place gives a distance between 0 and 0.5 m, the
// sensor curve gives the voltage at that distance, and a 12-bit converter with a 3.3 V reference
// gives the reading. The reading shown in the text follows the object live; the published reading
// changes only when the user lets the object go.
MultilayerImage {
    id: infraredSensorSubmodule

    property int infraredSensorSubmoduleAnalogDigitalConverterValueIntern: 0
    property int infraredSensorSubmoduleAnalogDigitalConverterValue: 0
    // [distance in m, voltage in V], in order of rising distance.
    property var infraredSensorSubmoduleLinearisedModel: []

    property VectorImage infraredSensorSubmoduleBackgroundImage: null
    property VectorImage infraredSensorSubmoduleObjectImage: null
    property MouseArea infraredSensorSubmoduleDragHandle: null

    readonly property real infraredSensorSubmoduleHandleWidthRelative: 0.21

    // The object's leftmost x: the handle's travel is three quarters of the picture's width that
    // the handle does not cover.
    function infraredSensorSubmoduleLeftLimit() {
        var objectWidth = infraredSensorSubmoduleObjectImage ? infraredSensorSubmoduleObjectImage.width : 0
        return -((objectWidth - infraredSensorSubmoduleHandleWidthRelative * objectWidth) * 0.75)
    }

    // The sensor's output voltage at distance (m), linear between the points of the curve.
    function infraredSensorSubmoduleVoltage(distance) {
        var curve = infraredSensorSubmoduleLinearisedModel
        if (distance === curve[0][0])
            return curve[0][1]
        for (var i = 1; i < curve.length; ++i) {
            if (curve[i][0] > distance) {
                var lower = curve[i - 1]
                var upper = curve[i]
                return lower[1] + (upper[1] - lower[1]) * (distance - lower[0]) / (upper[0] - lower[0])
            }
        }
        return curve[curve.length - 1][1]
    }

    function infraredSensorSubmoduleUpdate() {
        if (!infraredSensorSubmoduleObjectImage || infraredSensorSubmoduleLinearisedModel.length === 0)
            return
        var leftLimit = infraredSensorSubmoduleLeftLimit()
        // Before the picture has a width the object lies at its start, the farthest distance.
        var fraction = leftLimit !== 0 ? 1 - infraredSensorSubmoduleObjectImage.x / leftLimit : 1
        var distance = 0.5 * fraction
        var voltage = infraredSensorSubmoduleVoltage(distance)
        infraredSensorSubmoduleAnalogDigitalConverterValueIntern = 4096 * (voltage / 3.3)
        infraredSensorSubmoduleRay.requestPaint()
    }

    multilayerImageAutoResize: true

    Component {
        id: infraredSensorSubmoduleDragHandleComponent

        // Lies inside the object picture, so that the picture follows it.
        MouseArea {
            id: dragHandle
            z: 3
            width: infraredSensorSubmodule.infraredSensorSubmoduleHandleWidthRelative * parent.width
            height: 0.5 * parent.height
            x: (parent.width - width) / 2 + 0.36 * parent.width
            y: (parent.height - height) / 2
            drag.target: parent
            drag.axis: Drag.XAxis
            drag.smoothed: false
            drag.minimumX: infraredSensorSubmodule.infraredSensorSubmoduleLeftLimit()
            drag.maximumX: 0
            onReleased: infraredSensorSubmodule.infraredSensorSubmoduleAnalogDigitalConverterValue =
                        infraredSensorSubmodule.infraredSensorSubmoduleAnalogDigitalConverterValueIntern
        }
    }

    Connections {
        target: infraredSensorSubmodule.infraredSensorSubmoduleObjectImage
        function onXChanged() { infraredSensorSubmodule.infraredSensorSubmoduleUpdate() }
    }

    Text {
        id: infraredSensorSubmoduleText
        objectName: "infraredSensorSubmoduleText"
        z: 2
        anchors.left: parent.left
        anchors.bottom: parent.bottom
        anchors.bottomMargin: 10
        text: "ADC: " + infraredSensorSubmodule.infraredSensorSubmoduleAnalogDigitalConverterValueIntern
    }

    // The infrared beam from the sensor to the object's handle.
    Canvas {
        id: infraredSensorSubmoduleRay
        objectName: "infraredSensorSubmoduleRay"
        anchors.fill: parent
        z: 4

        onWidthChanged: requestPaint()
        onHeightChanged: requestPaint()

        onPaint: {
            var context = getContext("2d")
            context.clearRect(0, 0, width, height)
            var handle = infraredSensorSubmodule.infraredSensorSubmoduleDragHandle
            if (!handle)
                return
            var startX = 0.09 * width
            var centreY = height / 2 - 0.06 * height
            var endX = mapFromItem(handle, 0, 0).x
            context.fillStyle = "#80FF0000"
            context.beginPath()
            context.moveTo(startX, centreY)
            context.lineTo(endX, centreY + 0.1 * endX)
            context.lineTo(endX, centreY - 0.1 * endX)
            context.closePath()
            context.fill()
        }
    }

    Component.onCompleted: {
        infraredSensorSubmoduleBackgroundImage = addLayer(Theme.themeImagePath + "ir_distance_sensor_background.svg")
        infraredSensorSubmoduleBackgroundImage.z = 0
        infraredSensorSubmoduleObjectImage = addLayerMoveable(Theme.themeImagePath + "ir_distance_sensor_object.svg")
        infraredSensorSubmoduleObjectImage.z = 1
        infraredSensorSubmoduleDragHandle = infraredSensorSubmoduleDragHandleComponent.createObject(infraredSensorSubmoduleObjectImage)
        // Sharp GP2Y0A41SK, datasheet page 4.
        infraredSensorSubmoduleLinearisedModel = [
            [0.00, 0.00], [0.02, 2.20], [0.03, 3.05], [0.04, 2.70], [0.05, 2.35], [0.06, 2.00],
            [0.08, 1.55], [0.09, 1.40], [0.10, 1.25], [0.12, 1.05], [0.14, 0.95], [0.16, 0.80],
            [0.18, 0.75], [0.20, 0.65], [0.25, 0.55], [0.30, 0.40], [0.35, 0.35], [0.40, 0.30],
            [1.00, 0.00]
        ]
        infraredSensorSubmoduleUpdate()
    }
}
