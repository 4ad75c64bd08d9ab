import QtQuick 2.5
import "qrc:/JOLV/ZUV-VirtualPlatformCore/qml/ZUV/Theme"

// Every cockpit control at two sizes, on the cockpit's background.
Rectangle {
    id: cockpitGallery

    property alias large: cockpitGalleryLarge
    property alias small: cockpitGallerySmall

    color: Theme.themeBackgroundColor
    width: Math.max(cockpitGalleryLarge.width, cockpitGallerySmall.width) + 20
    height: cockpitGalleryColumn.height + 20

    Column {
        id: cockpitGalleryColumn
        x: 10
        y: 10
        spacing: 10

        GalleryPanel {
            id: cockpitGalleryLarge
            galleryPanelTitle: "large (cells of 200 pixels)"
            galleryPanelCell: 200
        }

        GalleryPanel {
            id: cockpitGallerySmall
            galleryPanelTitle: "small (cells of 90 pixels)"
            galleryPanelCell: 90
        }
    }
}
