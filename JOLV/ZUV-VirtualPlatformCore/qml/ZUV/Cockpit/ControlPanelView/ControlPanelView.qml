import QtQuick 2.5
import QtQuick.Controls 1.4
import QtQuick.Layouts 1.3
import de.quandrel.jolv.utils 0.1
import "ControlPanelViewComponents"
import "../../Theme"

// The control panel: a bar of five tabs above a stack that shows one of the five sub-views. Each
// sub-view is made the first time it is shown and keeps its controls' state from then on while
// another is shown.
// A tab puts its sub-view in place of the shown one; the two scale about the bottom and the top
// edge. The panel opens on the light sub-view.
GridLayout {
    id: controlPanelView

    function controlPanelViewShow(index) {
        stack.push({ item: stack.items[index], replace: true })
    }

    rows: 2
    columns: 1
    columnSpacing: 0

    Rectangle {
        objectName: "controlPanelViewTabBar"
        Layout.fillWidth: true
        Layout.preferredHeight: 0.07 * controlPanelView.height
        radius: 10
        color: Theme.themePanelColor

        RowLayout {
            anchors.fill: parent
            spacing: 1

            // One tab per sub-view, in the order of the stack's items.
            Repeater {
                model: [
                    { name: "controlPanelViewLightButton", icon: "control_panel_icon_light.svg" },
                    { name: "controlPanelViewAlarmButton", icon: "control_panel_icon_alarm.svg" },
                    { name: "controlPanelViewWindshieldButton", icon: "control_panel_icon_windshield.svg" },
                    { name: "controlPanelViewRestbusButton", icon: "control_panel_icon_sensors.svg" },
                    { name: "controlPanelViewDynamicButton", icon: "control_panel_icon_dynamic.svg" }
                ]

                ControlPanelButton {
                    objectName: modelData.name
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.alignment: Qt.AlignVCenter
                    icon: Theme.themeIconPath + modelData.icon
                    onClicked: controlPanelView.controlPanelViewShow(index)
                }
            }
        }
    }

    StackView {
        id: stack
        objectName: "controlPanelViewStack"
        Layout.fillWidth: true
        Layout.fillHeight: true

        // Declared here, not as children, so that the stack alone places them.
        property list<Item> items: [
            LazyLoader {
                objectName: "controlPanelSubviewLight"
                width: stack.width
                height: stack.height
                transformOrigin: Item.Bottom
                sourceComponent: Component { ControlPanelSubviewLight {} }
            },
            LazyLoader {
                objectName: "controlPanelSubviewAlarm"
                width: stack.width
                height: stack.height
                transformOrigin: Item.Top
                sourceComponent: Component { ControlPanelSubviewAlarm {} }
            },
            LazyLoader {
                objectName: "controlPanelSubviewWindshield"
                width: stack.width
                height: stack.height
                transformOrigin: Item.Top
                sourceComponent: Component { ControlPanelSubviewWindshield {} }
            },
            LazyLoader {
                objectName: "controlPanelSubviewRestbus"
                width: stack.width
                height: stack.height
                transformOrigin: Item.Top
                sourceComponent: Component { ControlPanelSubviewRestbus {} }
            },
            LazyLoader {
                objectName: "controlPanelSubviewDynamic"
                width: stack.width
                height: stack.height
                transformOrigin: Item.Top
                sourceComponent: Component { ControlPanelSubviewDynamic {} }
            }
        ]

        delegate: StackViewDelegate {
            function transitionFinished(properties) {
                properties.enterItem.transformOrigin = Item.Bottom
                properties.exitItem.transformOrigin = Item.Top
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

        Component.onCompleted: push({ item: items[0], destroyOnPop: false })
    }
}
