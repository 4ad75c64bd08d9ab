"""My control unit for the ZUV training kit, started with `zuv-peer new-unit python`.

The heartbeat is done; the rest of the behaviour ("What the control units do" in the kit's
README) is yours, as the TODO lines below say. Check it as you go (README.md beside this file).
"""
import zuvkit

unit = zuvkit.Unit()

# Every board's heartbeat: LED up lit for the first half of every second.
heartbeat = unit.blinker(1.0)


@heartbeat.on_tick
def beat(lit, s):
    unit.set(alarmGenericLightUp=lit, lightGenericLightUp=lit, windshieldGenericLightUp=lit)


@unit.on_start
def start(s):
    heartbeat.run(True)


# TODO lights: lightDaylight, lightLowerBeamHeadlight, lightBacklight and lightUpperBeamHeadlight by
#      cockpitIgnition, cockpitLightSwitch and windshieldLightSensor:
#      @unit.on("cockpitIgnition", "cockpitLightSwitch", "windshieldLightSensor")
# TODO indicators and hazard lights: lightIndicatorLeft and lightIndicatorRight blink at 1.5 Hz on one
#      shared blinker, unit.blinker(1.5), by cockpitIndicator, cockpitWarnLight and cockpitBrake 3.
# TODO brake light: lightBrakelight lit at cockpitBrake 1, flashing at 4 Hz at 2 and 3.
# TODO alarm: @unit.on_press("alarmLockButton") arms and disarms (alarmLockLight); alarmAlarmButton sets
#      it off while armed (alarmAlarmLight blinks at 2 Hz, the hazard lights flash); cockpitAlarmReset 1
#      ends it and is answered with unit.set(cockpitAlarmReset=0).
# TODO windshield: windshieldWasherPump, windshieldHeater, and the wiper: wiper = unit.stepper(rate=24),
#      a wipe is wiper.move(16) and wiper.move(-16).
# TODO boards: all four LEDs of a board lit while its GenericButton is held.

unit.run()
