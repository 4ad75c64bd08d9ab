import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import "../../Theme"

// The bus view: a fixed table of three example messages. It shows no live traffic. Its sizes are
// those of the cockpit at 800 x 480 and scale with the view, so that the table fits the cockpit on
// the board as well.
Rectangle {
    id: canView

    // The content area of an 800 x 480 cockpit.
    readonly property real canViewDesignWidth: 702.4
    readonly property real canViewDesignHeight: 480
    readonly property real canViewScale: width > 0 && height > 0
                                         ? Math.min(width / canViewDesignWidth, height / canViewDesignHeight) : 1

    function canViewSize(size) {
        return Math.max(1, Math.round(size * canViewScale))
    }

    color: "transparent"

    SystemPalette {
        id: canViewPalette
        colorGroup: SystemPalette.Active
    }

    ListModel {
        id: canViewModel
        ListElement { idd: "0x000"; dlc: "2"; data: "00 00"; period: "500"; count: "34" }
        ListElement { idd: "0x001"; dlc: "3"; data: "00 00 01"; period: "100"; count: "3400" }
        ListElement { idd: "0x002"; dlc: "8"; data: "10 11 30 00 00 34 AF FF"; period: "15000"; count: "1" }
    }

    TableView {
        id: canViewTable
        objectName: "canViewTable"
        anchors.fill: parent
        model: canViewModel

        TableViewColumn { role: "idd"; title: "ID"; width: canView.canViewSize(100) }
        TableViewColumn { role: "dlc"; title: "DLC"; width: canView.canViewSize(50) }
        TableViewColumn { role: "data"; title: "Data"; width: canView.canViewSize(325) }
        TableViewColumn { role: "period"; title: "Zyklus [ms]"; width: canView.canViewSize(100) }
        TableViewColumn { role: "count"; title: "Anzahl"; width: canView.canViewSize(75) }

        style: TableViewStyle {
            backgroundColor: "black"
            alternateBackgroundColor: Theme.themeTableAlternateRowColor
            textColor: "white"
        }

        itemDelegate: Text {
            text: styleData.value
            color: "white"
            font.pixelSize: canView.canViewSize(24)
            verticalAlignment: Text.AlignVCenter
            elide: styleData.elideMode
        }

        rowDelegate: Rectangle {
            height: canView.canViewSize(30)
            color: styleData.selected ? canViewPalette.highlight : (styleData.alternate ? Theme.themeTableAlternateRowColor : "black")
        }

        headerDelegate: Rectangle {
            color: "black"
            width: canViewHeaderText.implicitWidth
            height: canViewHeaderText.implicitHeight

            Text {
                id: canViewHeaderText
                anchors.fill: parent
                text: styleData.value
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                elide: Text.ElideRight
                color: "white"
                renderType: Text.NativeRendering
                font.pixelSize: canView.canViewSize(16)
            }
        }
    }
}
