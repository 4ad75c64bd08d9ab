"""The control units of the ZUV training kit, the whole behaviour table, with the kit library.

Run it beside the platform, or check it: zuv-peer check --start 'python3 examples/python/unit.py' scenarios/
"""
import zuvkit

unit = zuvkit.Unit()
s = unit.state

# --- The generic boards: the heartbeat on LED up, all four LEDs while the board's button is held.
BOARDS = ("alarm", "light", "windshield")
heartbeat = unit.blinker(1.0)


def boards(state=s):
    for board in BOARDS:
        held = getattr(state, board + "GenericButton")
        unit.set(**{board + "GenericLightLeft": held, board + "GenericLightRight": held,
                    board + "GenericLightDown": held, board + "GenericLightUp": held or heartbeat.lit})


heartbeat.on_tick(lambda lit, state: boards(state))
unit.on(*(board + "GenericButton" for board in BOARDS))(boards)

# --- The alarm: the lock button arms and disarms; the alarm button sets it off while armed.
alarm = {"armed": False}
alarm_lamp = unit.blinker(2.0)
alarm_lamp.on_tick(lambda lit, state: unit.set(alarmAlarmLight=lit))


@unit.on_press("alarmLockButton")
def lock(state):
    alarm["armed"] = not alarm["armed"]
    unit.set(alarmLockLight=alarm["armed"])
    if not alarm["armed"]:
        alarm_going_off(False)


@unit.on_press("alarmAlarmButton")
def alarm_button(state):
    if alarm["armed"]:
        alarm_going_off(True)


@unit.on("cockpitAlarmReset")
def acknowledged(state):
    # The cockpit writes 1 for each press and never 0: it ends the alarm and is answered with 0.
    if state.cockpitAlarmReset:
        alarm_going_off(False)
    unit.set(cockpitAlarmReset=0)


def alarm_going_off(on):
    alarm_lamp.run(on)
    indicators(s)


# --- The lights: driving lights by the switch and the light sensor, indicators and hazard lights
# on one shared blinker, the brake light.
indicator_lamps = unit.blinker(1.5)
brake_flash = unit.blinker(4.0)


def hazard(state):
    return state.cockpitWarnLight == 1 or state.cockpitBrake == 3 or alarm_lamp.running


@unit.on("cockpitIgnition", "cockpitLightSwitch", "windshieldLightSensor")
def driving_lights(state):
    on, switch = state.cockpitIgnition == 1, state.cockpitLightSwitch
    automatic = switch == 1
    unit.set(lightDaylight=on and (switch == 2 or (automatic and state.windshieldLightSensor)),
             lightLowerBeamHeadlight=on and (switch in (3, 4) or (automatic and not state.windshieldLightSensor)),
             lightBacklight=on and (switch in (3, 4) or (automatic and not state.windshieldLightSensor)),
             lightUpperBeamHeadlight=on and switch == 4)


@unit.on("cockpitIgnition", "cockpitIndicator", "cockpitWarnLight", "cockpitBrake")
def indicators(state):
    steering = state.cockpitIgnition == 1 and state.cockpitIndicator != 0
    indicator_lamps.run(hazard(state) or steering)
    show_indicators(indicator_lamps.lit, state)


@indicator_lamps.on_tick
def show_indicators(lit, state):
    on = state.cockpitIgnition == 1
    unit.set(lightIndicatorLeft=lit and (hazard(state) or (on and state.cockpitIndicator < 0)),
             lightIndicatorRight=lit and (hazard(state) or (on and state.cockpitIndicator > 0)))


@unit.on("cockpitBrake")
def brake(state):
    brake_flash.run(state.cockpitBrake in (2, 3))
    unit.set(lightBrakelight=state.cockpitBrake == 1 or brake_flash.lit)


brake_flash.on_tick(lambda lit, state: unit.set(lightBrakelight=state.cockpitBrake == 1 or lit))

# --- The windshield: the washer pump, the heater and the wiper.
OFF, SINGLE, INTERVAL, AUTOMATIC, SLOW, FAST = range(6)


@unit.on("cockpitWindshieldWasherPump", "cockpitWindshieldHeater", "cockpitTemperature")
def pump_and_heater(state):
    unit.set(windshieldWasherPump=state.cockpitWindshieldWasherPump == 1,
             windshieldHeater=state.cockpitWindshieldHeater == 2 or
             (state.cockpitWindshieldHeater == 1 and state.cockpitTemperature < 5))


wiper = unit.stepper(rate=24)
wipes = {"mode": OFF, "washing": False, "single": 0, "after_wash": 0, "interval": None}


def wants_wipe(state):
    if wipes["washing"]:
        return True
    for pending in ("after_wash", "single"):
        if wipes[pending]:
            wipes[pending] -= 1
            return True
    return wipes["mode"] in (SLOW, FAST) or (wipes["mode"] == AUTOMATIC and state.windshieldDistanceSensor > 2000)


@wiper.on_idle
def next_wipe(state):
    if not wiper.moving and wants_wipe(state):
        wiper.move(16)  # a wipe: 16 steps out, 16 back
        wiper.move(-16)


def interval_wipe(state):
    if not wiper.moving:
        wiper.move(16)
        wiper.move(-16)


@unit.on("cockpitWindshieldWasherMode", "cockpitWindshieldWasherPump", "windshieldDistanceSensor")
def wiper_controls(state):
    mode, washing = state.cockpitWindshieldWasherMode, state.cockpitWindshieldWasherPump == 1
    if mode == SINGLE and wipes["mode"] != SINGLE:
        wipes["single"] = min(wipes["single"] + 1, 3)
    if wipes["washing"] and not washing:
        wipes["after_wash"] = 2
    if mode != wipes["mode"] and wipes["interval"]:
        wipes["interval"].cancel()
        wipes["interval"] = None
    if mode == INTERVAL and wipes["mode"] != INTERVAL:
        wipes["interval"] = unit.every(4.0, interval_wipe)
        interval_wipe(state)  # a wipe at once, then one every 4 s
    wipes["mode"], wipes["washing"] = mode, washing
    wiper.rate = 36 if mode == FAST else 24
    next_wipe(state)


@unit.on_start
def start(state):
    heartbeat.run(True)
    unit.set(cockpitAlarmReset=0, alarmLockLight=False)


unit.run()
