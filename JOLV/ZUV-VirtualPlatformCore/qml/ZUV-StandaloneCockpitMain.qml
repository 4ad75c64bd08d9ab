import QtQuick 2.2
import QtQuick.Window 2.1
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import QtQuick.Extras 1.4
import de.quandrel.jolv.utils 0.1
import "ZUV/Cockpit"
import "ZUV/Theme"

// The cockpit display alone in a window of its own, kept at 800 : 480 whatever the window's size.
ApplicationWindow {
    id: standaloneCockpitWindow

    visible: true
    title: qsTr("ZUV-StandaloneCockpit")
    color: Theme.themeBackgroundColor
    width: 800
    height: 480

    FontLoader {
        objectName: "standaloneCockpitFontLoader"
        source: Theme.themeFontSource
    }

    Item {
        anchors.fill: parent

        AspectRatioItem {
            objectName: "standaloneCockpitArea"
            aspectRatioWidth: 800
            aspectRatioHeight: 480

            CockpitMainView {
                objectName: "cockpitMainView"
            }
        }
    }
}
