#include "Catalogue.h"

namespace {

const Canvas kModuleCanvas{"191.16933mm", "145mm", "0 0 677.37163 513.77952"};
const Canvas kSquareCanvas{"100", "100", "0 0 26.458333 26.458334"};
const Canvas kButtonCanvas{"11.288888mm", "11.288889mm", "0 0 39.999997 40"};

QStringList layers(const QString& prefix, const QStringList& names)
{
    QStringList out;
    for (const QString& name : names)
        out << QStringLiteral("svg-multilayer-extracted/%1%2.svg").arg(prefix, name);
    return out;
}

QStringList singles(const QStringList& names)
{
    QStringList out;
    for (const QString& name : names)
        out << QStringLiteral("svg/%1.svg").arg(name);
    return out;
}

} // namespace

const QVector<Group>& catalogue()
{
    static const QVector<Group> groups{
        {"module pictures", kModuleCanvas,
         layers("zuv-modules_", {"generic",
                                 "generic_discovery_board",
                                 "generic_button_pressed",
                                 "generic_light_left",
                                 "generic_light_up",
                                 "generic_light_right",
                                 "generic_light_down",
                                 "lights",
                                 "lights_daylight",
                                 "lights_upperbeamlight",
                                 "lights_lowerbeamlight",
                                 "lights_foglight_right",
                                 "lights_foglight_left",
                                 "lights_indicator_right",
                                 "lights_indicator_left",
                                 "lights_reverselight",
                                 "lights_brakelight",
                                 "lights_backlight",
                                 "alarm",
                                 "alarm_light_alarm",
                                 "alarm_light_lock",
                                 "alarm_button_alarm_pressed",
                                 "alarm_button_lock_pressed",
                                 "windshield",
                                 "windshield_heater_light",
                                 "windshield_pump_light",
                                 "windshield_wiper_arm",
                                 "windshield_wiper_light_A",
                                 "windshield_wiper_light_B",
                                 "windshield_wiper_light_C",
                                 "windshield_wiper_light_D",
                                 "cockpit"})},
        {"menu button", kSquareCanvas,
         layers("menu_item_",
                {"background", "pressed_white", "icon_move_left", "icon_move_right", "icon_move_drag"})},
        {"press area", kSquareCanvas, layers("press-label_", {"ring_background", "ring"})},
        {"close button", kSquareCanvas, layers("icon_close_", {"icon"})},
        {"infrared sensor submodule",
         {"100.24999", "50.249996", "0 0 26.524477 13.295312"},
         layers("ir_distance_sensor_", {"background", "object"})},
        {"cockpit menu control icon",
         {"54.186668mm", "54.186668mm", "0 0 192.00001 192.00001"},
         singles({"menu_panel_control_icon"})},
        {"cockpit menu settings icon",
         {"46.132946mm", "46.132946mm", "0 0 163.4632 163.4632"},
         singles({"menu_panel_settings_icon"})},
        {"cockpit menu can icon", {"500", "500", nullptr}, singles({"menu_panel_can_icon"})},
        {"cockpit menu tachometer icon",
         {"500", "489.48108", nullptr},
         singles({"menu_panel_tachometer_icon"})},
        {"control panel tabs", kButtonCanvas,
         singles({"control_panel_icon_light", "control_panel_icon_windshield", "control_panel_icon_alarm",
                  "control_panel_icon_dynamic", "control_panel_icon_sensors"})},
        {"steering wheel", {"479.309", "464.835", "0 0 479.309 464.835"}, singles({"steering_wheel"})},
        {"light switch",
         {"374.99997", "375.00003", "0 0 374.99999 375"},
         layers("light_switch_",
                {"background", "needle", "icon_off_active", "icon_off_inactive", "icon_auto_active",
                 "icon_auto_inactive", "icon_abblendlicht_active", "icon_abblendlicht_inactive",
                 "icon_fernlicht_active", "icon_fernlicht_inactive", "icon_tagfahrlicht_active",
                 "icon_tagfahrlicht_inactive"})},
        {"light buttons", kButtonCanvas,
         layers("light_button_",
                {"foglights_active", "foglights_inactive", "fogbacklights_active", "fogbacklights_inactive",
                 "warninglights_active", "warninglights_inactive"})},
        {"light sensor switch", kSquareCanvas,
         layers("light_sensor_switch_", {"background", "sky_day", "sky_night", "sun_stars", "car", "frame"})},
        {"control stalk",
         {"37.81778mm", "37.81778mm", "0 0 134.00001 134"},
         layers("control_stalk_", {"console", "moveable_lever_ghostlines", "moveable_lever",
                                   "moveable_lever_icon_signal", "moveable_lever_icon_windshieldwasher"})},
        {"windshield buttons", kButtonCanvas,
         layers("windshield", {"heater_auto_active", "heater_auto_inactive", "heater_manuell_active",
                               "heater_manuell_inactive", "washer_once_active", "washer_once_inactive",
                               "washer_wash_active", "washer_wash_inactive"})},
        {"temperature control",
         {"70", "80", "0 0 18.520833 21.166667"},
         layers("temperature-control_", {"static", "gauge", "button_up_active", "button_up_inactive",
                                         "button_down_active", "button_down_inactive"})},
        {"distance sensor",
         {"40", "100.00002", "0 0 10.583333 26.458338"},
         layers("distance_sensor_", {"street", "primary_car", "secondary_car", "beam_green", "beam_red"})},
        {"brake control", kButtonCanvas,
         layers("braking_", {"normal_active", "normal_inactive", "emergency_active", "emergency_inactive",
                             "extreme_emergency_active", "extreme_emergency_inactive"})},
        {"alarm acknowledgement", kButtonCanvas, layers("alarm_acknowledgment_", {"active", "inactive"})},
        {"ignition switch", kSquareCanvas, layers("ignition_switch_", {"base", "on", "off"})},
    };
    return groups;
}
