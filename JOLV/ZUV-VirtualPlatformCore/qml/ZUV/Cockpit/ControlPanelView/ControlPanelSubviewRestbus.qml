import QtQuick 2.5
import QtQuick.Layouts 1.3
import de.quandrel.jolv.utils 0.1
import "ControlPanelViewComponents"

// The vehicle's sensors as the rest of the bus would report them: the distance sensor and the
// light sensor switch, which only change their pictures, and the outside temperature, which is
// written into the state model and sent. The distance sensor and the light sensor switch stretch
// their pictures to their size, so each sits in a cell that keeps its picture's proportions.
GridLayout {
    id: controlPanelSubviewRestbus

    columns: 6
    rows: 2

    Item {
        Layout.columnSpan: 2
        Layout.rowSpan: 2
        Layout.fillWidth: true
        Layout.preferredHeight: 0.8 * controlPanelSubviewRestbus.height

        AspectRatioItem {
            aspectRatioWidth: 40
            aspectRatioHeight: 100

            DistanceSensor {
                objectName: "controlPanelSubviewRestbusDistanceSensor"
                anchors.fill: parent
            }
        }
    }

    Item {
        Layout.columnSpan: 2
        Layout.rowSpan: 2
        Layout.fillWidth: true
        Layout.preferredHeight: 0.7 * controlPanelSubviewRestbus.height

        AspectRatioItem {
            aspectRatio: 1

            LightSensorSwitch {
                objectName: "controlPanelSubviewRestbusLightSensorSwitch"
                anchors.fill: parent
            }
        }
    }

    TemperatureControl {
        objectName: "controlPanelSubviewRestbusTemperatureControl"
        Layout.columnSpan: 2
        Layout.rowSpan: 2
        Layout.fillWidth: true
        Layout.preferredHeight: 0.5 * controlPanelSubviewRestbus.height
        onTemperatureControlTemperatureValueChanged: {
            virtualPlatformDataModel.cockpitTemperature = temperatureControlTemperatureValue
            virtualPlatformDataModel.requestTransmit()
        }
    }
}
