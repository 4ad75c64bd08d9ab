import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import de.quandrel.jolv.utils 0.1
import "CockpitMainViewComponents"
import "TachometerView"
import "CanView"
import "ControlPanelView"
import "../Theme"

// The cockpit display, laid out for 800 : 480: a menu column on the left and a content area that
// shows the gauges, the bus table or the control panel. The stack's three places are made with it;
// each view is made the first time it is shown and keeps its state from then on while another is
// shown. A menu button puts its view in place of the shown one, the two scaling about their bottom
// corners. The display opens on the control panel.
GridLayout {
    id: cockpitMainView

    anchors.fill: parent
    columns: 2
    rows: 1
    columnSpacing: 0.001 * width

    Rectangle {
        id: buttonSidebar
        objectName: "buttonSidebar"
        Layout.preferredWidth: 0.120 * cockpitMainView.width
        Layout.preferredHeight: cockpitMainView.height
        radius: 10
        color: Theme.themePanelColor

        Column {
            anchors.fill: parent
            anchors.topMargin: 2
            spacing: 2

            CockpitMainViewButton {
                objectName: "cockpitMainViewTachometerButton"
                icon: Theme.themeIconPath + "menu_panel_tachometer_icon.svg"
                onClickView: stack.items[0]
                cockpitMainViewButtonStackView: stack
            }

            CockpitMainViewButton {
                objectName: "cockpitMainViewCanButton"
                icon: Theme.themeIconPath + "menu_panel_can_icon.svg"
                onClickView: stack.items[1]
                cockpitMainViewButtonStackView: stack
            }

            CockpitMainViewButton {
                objectName: "cockpitMainViewControlButton"
                icon: Theme.themeIconPath + "menu_panel_control_icon.svg"
                onClickView: stack.items[2]
                cockpitMainViewButtonStackView: stack
            }

            // No settings view exists: the button presses like the others and changes nothing.
            CockpitMainViewButton {
                objectName: "cockpitMainViewSettingsButton"
                icon: Theme.themeIconPath + "menu_panel_settings_icon.svg"
                cockpitMainViewButtonStackView: stack
            }
        }
    }

    Rectangle {
        objectName: "cockpitMainViewContentArea"
        Layout.preferredWidth: 0.878 * cockpitMainView.width
        Layout.preferredHeight: cockpitMainView.height
        radius: 10
        color: Theme.themeBackgroundColor

        StackView {
            id: stack
            objectName: "cockpitMainViewStack"
            anchors.fill: parent

            // Declared here, not as children, so that the stack alone places them.
            property list<Item> items: [
                LazyLoader {
                    objectName: "tachometerView"
                    width: stack.width
                    height: stack.height
                    transformOrigin: Item.BottomLeft
                    sourceComponent: Component { TachometerView {} }
                },
                LazyLoader {
                    objectName: "canView"
                    width: stack.width
                    height: stack.height
                    transformOrigin: Item.BottomLeft
                    sourceComponent: Component { CanView {} }
                },
                LazyLoader {
                    objectName: "controlPanelView"
                    width: stack.width
                    height: stack.height
                    transformOrigin: Item.BottomRight
                    sourceComponent: Component { ControlPanelView {} }
                }
            ]

            delegate: StackViewDelegate {
                function transitionFinished(properties) {
                    properties.enterItem.transformOrigin = Item.BottomRight
                    properties.exitItem.transformOrigin = Item.BottomLeft
                }

                pushTransition: StackViewTransition {
                    PropertyAnimation {
                        target: enterItem
                        property: "scale"
                        from: 0.0
                        to: 1.0
                    }
                    PropertyAnimation {
                        target: exitItem
                        property: "scale"
                        from: 1.0
                        to: 0.0
                    }
                }
            }

            Component.onCompleted: push({ item: items[2], destroyOnPop: false })
        }
    }
}
