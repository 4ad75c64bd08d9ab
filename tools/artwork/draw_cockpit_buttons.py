"""Cockpit push-button pictures and control panel tab icons (button canvas).

Button pictures lie on the gradient face of the cockpit's buttons and fill it; tab icons fill
the light grey tab faces. Both are shown stretched to their face, which is wider than high, so
each family narrows its symbol by the stretch that its face has in the cockpit's 800 x 480
layout (SQUEEZE): on screen the symbols then keep their proportions.
"""

import svgkit as K
import cockpitkit as CK

# Width : height of the faces in the cockpit layout
SQUEEZE = {
    "light": 1.7,       # fog and hazard buttons, a third of the light view wide
    "washer": 2.3,      # single-wipe and wash buttons, half the windshield view wide
    "heater": 1.2,      # heater buttons, a quarter of the windshield view wide
    "brake": 2.0,       # brake buttons, stacked in a third of the driving view
    "alarm": 1.6,       # the alarm acknowledgement button, 0.8 of its view
    "tab": 3.2,         # control panel tabs, a fifth of the panel wide, 0.07 of it high
}


def light_buttons():
    CK.button_pictures("light_button_foglights", lambda c, col: CK.headlamp(c, "fog_front", col),
                       K.TELLTALE_GREEN, SQUEEZE["light"], scale=0.98, cy=20)
    CK.button_pictures("light_button_fogbacklights", lambda c, col: CK.headlamp(c, "fog_rear", col),
                       K.TELLTALE_AMBER, SQUEEZE["light"], scale=0.98, cy=20)
    CK.button_pictures("light_button_warninglights", lambda c, col: CK.hazard(c, col),
                       K.TELLTALE_RED, SQUEEZE["light"], scale=0.98, cy=19.4)


def windshield_buttons():
    def once(c, col):
        CK.wiper(c, col)
        CK.text(c, "1", 19.5, 0.5, 10.5, col, CK.SYMBOL_STROKE)

    def heater(auto):
        return lambda c, col: CK.heated_windshield(c, col, auto=auto)

    CK.button_pictures("windshieldwasher_once", once,
                       K.SYMBOL_ACTIVE, SQUEEZE["washer"], scale=1.05, cy=20.5, glow=(24, 15))
    CK.button_pictures("windshieldwasher_wash", CK.washer,
                       K.SYMBOL_ACTIVE, SQUEEZE["washer"], scale=1.0, cy=18.6)
    CK.button_pictures("windshieldheater_manuell", heater(False),
                       K.TELLTALE_AMBER, SQUEEZE["heater"], scale=1.05, cy=20.5)
    CK.button_pictures("windshieldheater_auto", heater(True),
                       K.TELLTALE_AMBER, SQUEEZE["heater"], scale=1.05, cy=20.5)


def brake_buttons():
    for name, levels, colour in (("braking_normal", 1, K.SYMBOL_ACTIVE),
                                 ("braking_emergency", 2, K.TELLTALE_AMBER),
                                 ("braking_extreme_emergency", 3, K.TELLTALE_RED)):
        CK.button_pictures(name, lambda c, col, n=levels: CK.brake(c, col, n), colour,
                           SQUEEZE["brake"], scale=0.98, glow=(22, 15))


def alarm_button():
    def ack(c, col):
        CK.bell(c, col)
        CK.check(c, col, CK.SYMBOL_STROKE * 0.95, 0, -1.6, 0.82)

    CK.button_pictures("alarm_acknowledgment", ack, K.TELLTALE_RED, SQUEEZE["alarm"], scale=0.92,
                       cy=19.6, glow=(18, 16))


def tab_icons():
    def lamp(c, col):
        CK.headlamp(c, "low", col)

    def bell(c, col):
        CK.bell(c, col)
        for s in (-1, 1):
            for r in (13.5,):
                c.path(K.arc_path(0, -1, r, 180 - 32 if s < 0 else -32, 180 + 32 if s < 0 else 32),
                       **CK.stroke(col, CK.SYMBOL_STROKE))

    for name, draw, scale in (("light", lamp, 1.15), ("windshield", CK.wiper, 1.1),
                              ("alarm", bell, 1.05), ("dynamic", CK.steering_icon, 1.12),
                              ("sensors", CK.sensor_waves, 1.05)):
        c = K.button_canvas()
        with CK.place(c, 20, 20, scale, SQUEEZE["tab"]):
            CK.embossed(c, draw)
        c.save(f"{K.SINGLE_DIR}/control_panel_icon_{name}.svg")


def main():
    light_buttons()
    windshield_buttons()
    brake_buttons()
    alarm_button()
    tab_icons()


if __name__ == "__main__":
    main()
