import QtQuick 2.5
import de.quandrel.jolv.utils 0.1

// The lights module: the generic board with the ten lamps of a vehicle's lighting. Every lamp shows
// the current value of its property; the module has no timer of its own, so an indicator blinks
// only when its property is switched on and off.
GenericModule {
    id: lightsModule

    property bool lightsModuleDaylight: false
    property bool lightsModuleUpperBeamlight: false
    property bool lightsModuleLowerBeamlight: false
    property bool lightsModuleFoglightRight: false
    property bool lightsModuleFoglightLeft: false
    property bool lightsModuleIndicatorLeft: false
    property bool lightsModuleIndicatorRight: false
    property bool lightsModuleReverselight: false
    property bool lightsModuleBrakelight: false
    property bool lightsModuleBacklight: false

    property VectorImage lightsModuleDaylightImage: null
    property VectorImage lightsModuleUpperBeamlightImage: null
    property VectorImage lightsModuleLowerBeamlightImage: null
    property VectorImage lightsModuleFoglightRightImage: null
    property VectorImage lightsModuleFoglightLeftImage: null
    property VectorImage lightsModuleIndicatorLeftImage: null
    property VectorImage lightsModuleIndicatorRightImage: null
    property VectorImage lightsModuleReverselightImage: null
    property VectorImage lightsModuleBrakelightImage: null
    property VectorImage lightsModuleBacklightImage: null

    // All lamp layers lie at z 0: above the generic base picture, below the generic board, button
    // and LEDs.
    Component.onCompleted: {
        genericModuleAddLayer("zuv-modules_lights.svg", 0)
        lightsModuleDaylightImage = genericModuleAddLayer("zuv-modules_lights_daylight.svg", 0,
                                                          function() { return lightsModule.lightsModuleDaylight })
        lightsModuleUpperBeamlightImage = genericModuleAddLayer("zuv-modules_lights_upperbeamlight.svg", 0,
                                                                function() { return lightsModule.lightsModuleUpperBeamlight })
        lightsModuleLowerBeamlightImage = genericModuleAddLayer("zuv-modules_lights_lowerbeamlight.svg", 0,
                                                                function() { return lightsModule.lightsModuleLowerBeamlight })
        lightsModuleFoglightRightImage = genericModuleAddLayer("zuv-modules_lights_foglight_right.svg", 0,
                                                               function() { return lightsModule.lightsModuleFoglightRight })
        lightsModuleFoglightLeftImage = genericModuleAddLayer("zuv-modules_lights_foglight_left.svg", 0,
                                                              function() { return lightsModule.lightsModuleFoglightLeft })
        lightsModuleIndicatorRightImage = genericModuleAddLayer("zuv-modules_lights_indicator_right.svg", 0,
                                                                function() { return lightsModule.lightsModuleIndicatorRight })
        lightsModuleIndicatorLeftImage = genericModuleAddLayer("zuv-modules_lights_indicator_left.svg", 0,
                                                               function() { return lightsModule.lightsModuleIndicatorLeft })
        lightsModuleReverselightImage = genericModuleAddLayer("zuv-modules_lights_reverselight.svg", 0,
                                                              function() { return lightsModule.lightsModuleReverselight })
        lightsModuleBrakelightImage = genericModuleAddLayer("zuv-modules_lights_brakelight.svg", 0,
                                                            function() { return lightsModule.lightsModuleBrakelight })
        lightsModuleBacklightImage = genericModuleAddLayer("zuv-modules_lights_backlight.svg", 0,
                                                           function() { return lightsModule.lightsModuleBacklight })
    }
}
