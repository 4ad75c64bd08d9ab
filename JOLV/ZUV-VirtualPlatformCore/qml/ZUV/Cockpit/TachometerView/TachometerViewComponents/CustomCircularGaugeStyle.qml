import QtQuick 2.5
import QtQuick.Controls.Styles 1.4
import "../../../Theme"

// The cockpit's gauge face: a black dial with a red arc from redZoneStart to redZoneEnd, tick marks
// and labels that turn red in the red zone, a light needle and the captions textTop, textValue and
// textDesc. Every size is a fraction of the gauge's outer radius.
CircularGaugeStyle {
    id: customCircularGaugeStyle

    property int redZoneStart: 250
    property int redZoneEnd: 310
    property string textDesc: "km/h"
    property string textTop: ""
    property int textValue: 0
    property real xCenter: outerRadius
    property real yCenter: outerRadius

    function toPixels(fraction) {
        return fraction * outerRadius
    }

    function degreesToRadians(degrees) {
        return degrees * (Math.PI / 180)
    }

    // The gauge angle of a value (0 straight up, clockwise), continued beyond the scale's ends.
    function customCircularGaugeStyleAngleOf(value) {
        var range = control.maximumValue - control.minimumValue
        if (range === 0)
            return minimumValueAngle
        return minimumValueAngle + (value - control.minimumValue) / range * (maximumValueAngle - minimumValueAngle)
    }

    tickmarkInset: toPixels(0.04)
    minorTickmarkInset: tickmarkInset
    labelStepSize: 20
    labelInset: toPixels(0.23)

    background: Item {
        Canvas {
            id: customCircularGaugeStyleFace
            objectName: "customCircularGaugeStyleFace"
            anchors.fill: parent

            property real faceRadius: customCircularGaugeStyle.outerRadius
            property real faceRedZoneStartAngle: customCircularGaugeStyle.customCircularGaugeStyleAngleOf(customCircularGaugeStyle.redZoneStart)
            property real faceRedZoneEndAngle: customCircularGaugeStyle.customCircularGaugeStyleAngleOf(customCircularGaugeStyle.redZoneEnd)
            // The radius of the last painting, for anyone who needs to know that the face is current.
            property real facePaintedRadius: 0

            onFaceRadiusChanged: requestPaint()
            onFaceRedZoneStartAngleChanged: requestPaint()
            onFaceRedZoneEndAngleChanged: requestPaint()

            onPaint: {
                var ctx = getContext("2d")
                var r = faceRadius
                var cx = customCircularGaugeStyle.xCenter
                var cy = customCircularGaugeStyle.yCenter
                ctx.reset()
                if (r <= 0)
                    return

                ctx.beginPath()
                ctx.ellipse(0, 0, width, height)
                ctx.fillStyle = "black"
                ctx.fill()

                ctx.beginPath()
                ctx.lineWidth = customCircularGaugeStyle.toPixels(0.04)
                ctx.strokeStyle = "black"
                ctx.arc(cx, cy, r - customCircularGaugeStyle.toPixels(0.02), 0, 2 * Math.PI)
                ctx.stroke()

                ctx.beginPath()
                ctx.lineWidth = customCircularGaugeStyle.toPixels(0.02)
                ctx.strokeStyle = "#222"
                ctx.arc(cx, cy, r - customCircularGaugeStyle.toPixels(0.01), 0, 2 * Math.PI)
                ctx.stroke()

                ctx.beginPath()
                ctx.lineWidth = customCircularGaugeStyle.toPixels(0.02)
                ctx.strokeStyle = Theme.themeGaugeRedColor
                ctx.arc(cx, cy, r - customCircularGaugeStyle.toPixels(0.03),
                        customCircularGaugeStyle.degreesToRadians(faceRedZoneStartAngle - 90),
                        customCircularGaugeStyle.degreesToRadians(faceRedZoneEndAngle - 90), false)
                ctx.stroke()

                ctx.beginPath()
                var glow = ctx.createRadialGradient(cx, cy, customCircularGaugeStyle.toPixels(0.2),
                                                    cx, cy, customCircularGaugeStyle.toPixels(0.6))
                glow.addColorStop(0, Qt.rgba(0, 0, 0, 1))
                glow.addColorStop(0.6, Qt.rgba(1, 1, 1, 0.13))
                glow.addColorStop(1, Qt.rgba(1, 1, 1, 0))
                ctx.fillStyle = glow
                ctx.arc(cx, cy, r - customCircularGaugeStyle.toPixels(0.04), 0, 2 * Math.PI)
                ctx.fill()

                facePaintedRadius = r
            }
        }

        Text {
            id: customCircularGaugeStyleValueText
            objectName: "customCircularGaugeStyleValueText"
            anchors.horizontalCenter: parent.horizontalCenter
            y: customCircularGaugeStyle.yCenter + customCircularGaugeStyle.toPixels(0.2)
            text: customCircularGaugeStyle.textValue
            color: "white"
            font.pixelSize: Math.max(1, customCircularGaugeStyle.toPixels(0.2))
        }

        Text {
            objectName: "customCircularGaugeStyleDescText"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.top: customCircularGaugeStyleValueText.bottom
            text: customCircularGaugeStyle.textDesc
            color: "white"
            font.pixelSize: Math.max(1, customCircularGaugeStyle.toPixels(0.09))
        }

        Text {
            objectName: "customCircularGaugeStyleTopText"
            anchors.horizontalCenter: parent.horizontalCenter
            y: customCircularGaugeStyle.yCenter - customCircularGaugeStyle.toPixels(0.3) - height
            text: customCircularGaugeStyle.textTop
            color: "white"
            font.pixelSize: Math.max(1, customCircularGaugeStyle.toPixels(0.09))
        }
    }

    tickmark: Rectangle {
        objectName: "customCircularGaugeStyleTickmark" + styleData.value
        implicitWidth: customCircularGaugeStyle.toPixels(0.02)
        implicitHeight: customCircularGaugeStyle.toPixels(0.06)
        antialiasing: true
        visible: styleData.value < customCircularGaugeStyle.redZoneStart || styleData.value % 10 === 0
        color: styleData.value >= customCircularGaugeStyle.redZoneStart ? Theme.themeGaugeRedColor : Theme.themeGaugeMarkColor
    }

    minorTickmark: Rectangle {
        implicitWidth: customCircularGaugeStyle.toPixels(0.01)
        implicitHeight: customCircularGaugeStyle.toPixels(0.03)
        antialiasing: true
        visible: styleData.value < customCircularGaugeStyle.redZoneStart
        color: Theme.themeGaugeMarkColor
    }

    tickmarkLabel: Text {
        objectName: "customCircularGaugeStyleLabel" + styleData.value
        font.pixelSize: Math.max(6, customCircularGaugeStyle.toPixels(0.1))
        text: styleData.value
        color: styleData.value >= customCircularGaugeStyle.redZoneStart ? Theme.themeGaugeRedColor : "white"
        antialiasing: true
    }

    needle: Rectangle {
        y: customCircularGaugeStyle.toPixels(0.15)
        implicitWidth: customCircularGaugeStyle.toPixels(0.03)
        implicitHeight: customCircularGaugeStyle.toPixels(0.9)
        antialiasing: true
        color: Theme.themeGaugeMarkColor
    }

    foreground: Item {
        Rectangle {
            anchors.centerIn: parent
            width: customCircularGaugeStyle.toPixels(0.2)
            height: width
            radius: width / 2
            color: Theme.themeGaugeMarkColor
        }
    }
}
