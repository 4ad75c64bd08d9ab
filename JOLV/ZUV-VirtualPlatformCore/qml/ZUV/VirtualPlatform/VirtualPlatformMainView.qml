import QtQuick 2.5

// The board of module frames. Until the modules exist it only asks the link for the first
// transmission of the whole state once it is complete.
Item {
    id: virtualPlatformMainView

    Component.onCompleted: virtualPlatformDataModel.requestTransmit()
}
