import QtQuick 2.5
import QtQuick.Layouts 1.3
import "ControlPanelViewComponents"

// The driving controls: steering angle, velocity and brake, each written into the state model and
// sent when its value changes.
GridLayout {
    id: controlPanelSubviewDynamic

    columns: 3
    rows: 1

    SteeringAngleControl {
        objectName: "controlPanelSubviewDynamicSteeringAngleControl"
        Layout.fillWidth: true
        Layout.preferredHeight: 0.8 * controlPanelSubviewDynamic.height
        onSteeringAngleControlAngleValueDegChanged: {
            virtualPlatformDataModel.cockpitSteeringAngleDeg = steeringAngleControlAngleValueDeg
            virtualPlatformDataModel.requestTransmit()
        }
    }

    VelocityControl {
        objectName: "controlPanelSubviewDynamicVelocityControl"
        Layout.fillWidth: true
        Layout.preferredHeight: 0.8 * controlPanelSubviewDynamic.height
        onVelocityControlValueChanged: {
            virtualPlatformDataModel.cockpitVelocity = velocityControlValue
            virtualPlatformDataModel.requestTransmit()
        }
    }

    BrakeControl {
        objectName: "controlPanelSubviewDynamicBrakeControl"
        Layout.fillWidth: true
        Layout.preferredHeight: 0.8 * controlPanelSubviewDynamic.height
        onBrakeControlBrakeModeChanged: {
            virtualPlatformDataModel.cockpitBrake = brakeControlBrakeMode
            virtualPlatformDataModel.requestTransmit()
        }
    }
}
