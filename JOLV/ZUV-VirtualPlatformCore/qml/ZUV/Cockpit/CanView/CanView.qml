import QtQuick 2.6
import QtQuick.Controls 1.4
import QtQuick.Controls.Styles 1.4
import "../../Theme"

// The bus view: a fixed table of three example messages. It shows no live traffic.
//
// The table is laid out for the width it is given: every column is as wide as its widest text,
// header or cell, plus a margin on either side, and the text takes the largest size at which all
// columns fit side by side, 24 pixels at most (16 for the titles). Titles stay on one line down to
// canViewLegibleFontSize; below that they break at their spaces instead, so that the text keeps a
// legible size on the small display of the board. The table is set in the kit's typeface, so that
// its widths do not depend on the fonts of the machine.
Rectangle {
    id: canView

    readonly property int canViewLargestFontSize: 24
    readonly property int canViewLargestTitleFontSize: 16
    readonly property int canViewLegibleFontSize: 13
    readonly property int canViewSmallestFontSize: 9

    // The table's columns in order, each with its title and the texts of its cells.
    readonly property var canViewColumns: {
        var columns = []
        for (var i = 0; i < canViewTable.columnCount; ++i) {
            var column = canViewTable.getColumn(i)
            var values = []
            for (var row = 0; row < canViewModel.count; ++row)
                values.push(canViewModel.get(row)[column.role])
            columns.push({ title: column.title, values: values })
        }
        return columns
    }

    // The layout for the view's width: the text sizes, whether titles break, the column widths.
    readonly property var canViewLayout: canViewLayoutFor(width)
    readonly property int canViewFontSize: canViewLayout.fontSize
    readonly property int canViewTitleFontSize: Math.min(canViewFontSize, canViewLargestTitleFontSize)
    readonly property int canViewPadding: Math.max(3, Math.round(canViewFontSize / 4))
    readonly property int canViewRowHeight: Math.round(1.25 * canViewFontSize)
    readonly property int canViewTitleHeight: Math.ceil(canViewTitleMetrics.height) * (canViewLayout.titlesBreak ? 2 : 1)
                                              + canViewPadding

    // The width of a text at font size 1, measured at a size large enough for fractions to count.
    function canViewTextWidth(text) {
        return canViewMetrics.advanceWidth(text) / canViewMetrics.font.pixelSize
    }

    // The widths of the columns at a font size, and their sum with the margins.
    function canViewColumnWidths(fontSize, titlesBreak) {
        var titleSize = Math.min(fontSize, canViewLargestTitleFontSize)
        var padding = Math.max(3, Math.round(fontSize / 4))
        var widths = []
        var total = 0
        for (var i = 0; i < canViewColumns.length; ++i) {
            var column = canViewColumns[i]
            var titleParts = titlesBreak ? column.title.split(" ") : [column.title]
            var widest = 0
            titleParts.forEach(function(part) { widest = Math.max(widest, canViewTextWidth(part) * titleSize) })
            column.values.forEach(function(value) { widest = Math.max(widest, canViewTextWidth(value) * fontSize) })
            var width = Math.ceil(widest) + 1 + 2 * padding
            widths.push(width)
            total += width
        }
        return { widths: widths, total: total }
    }

    function canViewColumnWidth(column) {
        return column < canViewLayout.widths.length ? canViewLayout.widths[column] : 0
    }

    function canViewLayoutFor(available) {
        // canViewMetrics's font is read here so that the layout follows the typeface once it is loaded.
        if (canViewMetrics.font.family === "" || available <= 0)
            return { fontSize: canViewSmallestFontSize, titlesBreak: false, widths: [] }
        var passes = [ { titlesBreak: false, smallest: canViewLegibleFontSize },
                       { titlesBreak: true, smallest: canViewSmallestFontSize } ]
        for (var p = 0; p < passes.length; ++p) {
            for (var size = canViewLargestFontSize; size >= passes[p].smallest; --size) {
                var columns = canViewColumnWidths(size, passes[p].titlesBreak)
                if (columns.total <= available)
                    return { fontSize: size, titlesBreak: passes[p].titlesBreak, widths: columns.widths }
            }
        }
        return { fontSize: canViewSmallestFontSize, titlesBreak: true,
                 widths: canViewColumnWidths(canViewSmallestFontSize, true).widths }
    }

    color: "transparent"

    FontLoader {
        id: canViewFont
        source: Theme.themeFontSource
    }

    FontMetrics {
        id: canViewMetrics
        font.family: canViewFont.name
        font.pixelSize: 100
    }

    FontMetrics {
        id: canViewTitleMetrics
        font.family: canViewFont.name
        font.pixelSize: canView.canViewTitleFontSize
    }

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
        frameVisible: false
        horizontalScrollBarPolicy: Qt.ScrollBarAlwaysOff

        TableViewColumn { role: "idd"; title: "ID"; width: canView.canViewColumnWidth(0) }
        TableViewColumn { role: "dlc"; title: "DLC"; width: canView.canViewColumnWidth(1) }
        TableViewColumn { role: "data"; title: "Data"; width: canView.canViewColumnWidth(2) }
        TableViewColumn { role: "period"; title: "Zyklus [ms]"; width: canView.canViewColumnWidth(3) }
        TableViewColumn { role: "count"; title: "Anzahl"; width: canView.canViewColumnWidth(4) }

        style: TableViewStyle {
            backgroundColor: "black"
            alternateBackgroundColor: Theme.themeTableAlternateRowColor
            textColor: "white"
        }

        itemDelegate: Text {
            objectName: "canViewCellText"
            text: styleData.value
            color: "white"
            font.family: canViewFont.name
            font.pixelSize: canView.canViewFontSize
            leftPadding: canView.canViewPadding
            rightPadding: canView.canViewPadding
            verticalAlignment: Text.AlignVCenter
            elide: styleData.elideMode
        }

        rowDelegate: Rectangle {
            height: canView.canViewRowHeight
            color: styleData.selected ? canViewPalette.highlight : (styleData.alternate ? Theme.themeTableAlternateRowColor : "black")
        }

        headerDelegate: Rectangle {
            color: "black"
            height: canView.canViewTitleHeight

            Text {
                objectName: "canViewHeaderText"
                anchors.fill: parent
                text: styleData.value
                horizontalAlignment: Text.AlignLeft
                verticalAlignment: Text.AlignVCenter
                wrapMode: canView.canViewLayout.titlesBreak ? Text.WordWrap : Text.NoWrap
                elide: Text.ElideRight
                color: "white"
                renderType: Text.NativeRendering
                font.family: canViewFont.name
                font.pixelSize: canView.canViewTitleFontSize
                leftPadding: canView.canViewPadding
                rightPadding: canView.canViewPadding
            }
        }
    }
}
