import QtQuick 2.5

// A latching GradientButton: every press toggles snaped, the release changes nothing. The face and
// the picture follow snaped, also when it is assigned from outside.
GradientButton {
    id: snapableGradientButton

    property bool snaped: false

    buttonPressed: snaped

    onPressedChanged: {
        if (pressed)
            snaped = !snaped
    }
}
