import QtQuick 2.5
import "ControlPanelViewComponents"
import "../../Theme"

// The alarm acknowledgement: one large button. Each press sets cockpitAlarmReset to 1 and asks for
// a transmission; the release sends nothing. The value goes back to 0 only by a received state.
Item {
    id: controlPanelSubviewAlarm

    GradientButton {
        objectName: "controlPanelSubviewAlarmButton"
        anchors.centerIn: parent
        width: 0.8 * controlPanelSubviewAlarm.width
        height: 0.8 * controlPanelSubviewAlarm.height
        buttonPressedImageSource: Theme.themeImagePath + "alarm_acknowledgment_active.svg"
        buttonReleasedImageSource: Theme.themeImagePath + "alarm_acknowledgment_inactive.svg"
        onButtonPressedChanged: {
            if (buttonPressed) {
                virtualPlatformDataModel.cockpitAlarmReset = 1
                virtualPlatformDataModel.requestTransmit()
            }
        }
    }
}
