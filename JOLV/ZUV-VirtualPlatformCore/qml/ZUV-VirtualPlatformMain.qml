import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/VirtualPlatform" as ZUV_VirtualPlatform
import "ZUV/Theme"

ApplicationWindow {
    id: mainWindow

    visible: true
    title: qsTr("ZUV-VirtualPlatform")
    color: Theme.themeBackgroundColor
    width: 800
    height: 800
    minimumHeight: 800

    ZUV_VirtualPlatform.VirtualPlatformMainView {
        id: virtualPlatformMainView
        objectName: "virtualPlatformMainView"
        x: 0
        y: 0
        width: 0.95 * mainWindow.width
        height: mainWindow.height
    }
}
