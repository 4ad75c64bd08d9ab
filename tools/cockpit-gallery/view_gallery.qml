import QtQuick 2.5
import QtTest 1.1

// Shows the gallery for ten minutes, to try the controls by hand. Run by "shoot.sh view".
Item {
    width: gallery.width
    height: gallery.height

    CockpitGallery {
        id: gallery
    }

    TestCase {
        name: "CockpitGalleryView"
        when: windowShown

        function test_view() {
            wait(600000)
        }
    }
}
