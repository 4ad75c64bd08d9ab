import QtQuick 2.5
import de.quandrel.jolv.utils 0.1
import "../../../Theme"

// A thermometer from temperatureControlMinimumTemperature to temperatureControlMaximumTemperature
// with an up and a down button. The buttons step the temperature by one degree; pressing or dragging
// on the thermometer's bar sets the temperature of the pointer's height. The reading and the mercury
// follow live (temperatureControlTemperatureValueIntern); temperatureControlTemperatureValue, the
// output, takes the shown value once per click or drag. Values outside the range are ignored.
Item {
    id: temperatureControl

    property int temperatureControlMaximumTemperature: 60
    property int temperatureControlMinimumTemperature: -40
    property int temperatureControlTemperatureValueIntern: 5
    property int temperatureControlTemperatureValue: 5

    function setTemperature(value) {
        if (value >= temperatureControlMinimumTemperature && value <= temperatureControlMaximumTemperature)
            temperatureControlTemperatureValueIntern = value < 0 ? Math.ceil(value) : Math.floor(value)
    }

    function changeTemperatureRelative(delta) {
        setTemperature(temperatureControlTemperatureValueIntern + delta)
    }

    function temperatureControlPublish() {
        temperatureControlTemperatureValue = temperatureControlTemperatureValueIntern
    }

    // The temperature at height y of the bar (0 at its top edge).
    function temperatureControlValueAt(y) {
        var barHeight = temperatureControlBarArea.height
        if (barHeight <= 0)
            return NaN
        return (temperatureControlMaximumTemperature - temperatureControlMinimumTemperature) / barHeight
                * (barHeight - y) + temperatureControlMinimumTemperature
    }

    AspectRatioItem {
        aspectRatioWidth: 70
        aspectRatioHeight: 80

        MultilayerImage {
            id: temperatureControlImage
            objectName: "temperatureControlImage"
            anchors.fill: parent
            multilayerImageAutoResize: true

            function placeClickableAreas() {
                temperatureControlUpArea.updatePositionAndSize(false)
                temperatureControlDownArea.updatePositionAndSize(false)
                temperatureControlBarArea.updatePositionAndSize(false)
            }

            onWidthChanged: placeClickableAreas()
            onHeightChanged: placeClickableAreas()

            Component.onCompleted: {
                var path = Theme.themeImagePath
                addLayer(path + "temperature-control_static.svg").z = 1
                addLayer(path + "temperature-control_gauge.svg").z = 3
                addLayer(path + "temperature-control_button_up_inactive.svg").z = 4
                var upActive = addLayer(path + "temperature-control_button_up_active.svg")
                upActive.z = 5
                upActive.visible = Qt.binding(function() { return temperatureControlUpArea.pressed })
                addLayer(path + "temperature-control_button_down_inactive.svg").z = 4
                var downActive = addLayer(path + "temperature-control_button_down_active.svg")
                downActive.z = 5
                downActive.visible = Qt.binding(function() { return temperatureControlDownArea.pressed })
                placeClickableAreas()
            }

            ClickableArea {
                id: temperatureControlUpArea
                objectName: "temperatureControlUpArea"
                xRelative: 0.70
                yRelative: 0.17
                widthRelative: 0.49
                heightRelative: 0.27
                onClicked: {
                    temperatureControl.changeTemperatureRelative(1)
                    temperatureControl.temperatureControlPublish()
                }
            }

            ClickableArea {
                id: temperatureControlDownArea
                objectName: "temperatureControlDownArea"
                xRelative: 0.70
                yRelative: 0.50
                widthRelative: 0.49
                heightRelative: 0.27
                onClicked: {
                    temperatureControl.changeTemperatureRelative(-1)
                    temperatureControl.temperatureControlPublish()
                }
            }

            ClickableArea {
                id: temperatureControlBarArea
                objectName: "temperatureControlBarArea"
                xRelative: 0.2
                yRelative: 0.355
                widthRelative: 0.1
                heightRelative: 0.625
                z: 2
                onPositionChanged: {
                    if (pressed)
                        temperatureControl.setTemperature(temperatureControl.temperatureControlValueAt(mouse.y))
                }
                onReleased: {
                    if (mouse.x >= 0 && mouse.x <= width && mouse.y >= 0 && mouse.y <= height)
                        temperatureControl.setTemperature(temperatureControl.temperatureControlValueAt(mouse.y))
                    temperatureControl.temperatureControlPublish()
                }
            }

            Rectangle {
                objectName: "temperatureControlMercury"
                z: 2
                color: "red"
                width: temperatureControlBarArea.width
                height: (temperatureControl.temperatureControlTemperatureValueIntern - temperatureControl.temperatureControlMinimumTemperature)
                        * (temperatureControlBarArea.height
                           / (temperatureControl.temperatureControlMaximumTemperature - temperatureControl.temperatureControlMinimumTemperature))
                x: temperatureControlBarArea.x
                y: temperatureControlBarArea.y + temperatureControlBarArea.height - height
            }

            Rectangle {
                objectName: "temperatureControlBulb"
                z: 2
                color: "red"
                width: 0.1 * temperatureControlImage.width
                height: 0.1 * temperatureControlImage.height
                x: temperatureControlBarArea.x + (temperatureControlBarArea.width - width) / 2
                y: temperatureControlBarArea.y + temperatureControlBarArea.height
            }

            Text {
                objectName: "temperatureControlReading"
                z: 2
                x: 0.7 * temperatureControlImage.width - width / 2
                y: 0.85 * temperatureControlImage.height - height / 2
                text: temperatureControl.temperatureControlTemperatureValueIntern + "°C"
                color: "white"
                font.pixelSize: Math.max(1, 0.13 * temperatureControlImage.height)
            }
        }
    }
}
