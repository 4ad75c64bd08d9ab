"""A unit that uses every part of the Python kit library, for tests/sdk/behaviour.py; the C probe
(tests/sdk/c/probe.c) does the same with the C library. Times go out in microseconds."""
import math

import zuvkit

unit = zuvkit.Unit()
wiper = unit.stepper(rate=50)  # its parked pattern goes out at once
indicator = unit.blinker(2.0)
ticker = {"ticks": 0, "timer": None}


def microseconds():
    return math.floor(unit.now() * 1e6 + 0.5)


@unit.on_start
def start(s):
    unit.set(alarmLockLight=True)


@unit.on("cockpitIgnition", "cockpitLightSwitch")
def lights(s):
    unit.set(lightDaylight=s.cockpitIgnition and s.cockpitLightSwitch == 2,
             lightLowerBeamHeadlight=s.cockpitIgnition and s.cockpitLightSwitch >= 3)


@unit.on("cockpitBrake")
def brake(s):
    unit.set(lightBrakelight=s.cockpitBrake != 0)


@unit.on_press("alarmLockButton")
def lock(s):
    unit.set(alarmLockLight=not s.alarmLockLight)


@unit.on("cockpitIndicator")
def indicate(s):
    indicator.run(s.cockpitIndicator != 0)


@indicator.on_tick
def blink(lit, s):
    unit.set(lightIndicatorLeft=lit, cockpitVelocity=microseconds())


def tick(s):
    unit.set(cockpitTemperature=microseconds())
    ticker["ticks"] += 1
    if ticker["ticks"] == 5:
        ticker["timer"].cancel()


@unit.on_press("lightGenericButton")
def timers(s):
    ticker["ticks"] = 0
    ticker["timer"] = unit.every(0.1, tick)
    unit.after(0.25, lambda s: unit.set(lightGenericLightLeft=True))
    unit.after(0.25, lambda s: unit.set(lightGenericLightRight=True))
    unit.cancel(unit.after(0.2, lambda s: unit.set(lightGenericLightDown=True)))


@unit.on_press("windshieldGenericButton")
def wipe(s):
    wiper.move(5)
    wiper.move(-5)
    unit.set(windshieldGenericLightDown=wiper.moving)


@wiper.on_idle
def parked(s):
    unit.set(cockpitSteeringAngleDeg=100 + 10 * wiper.position + wiper.moving)


unit.run()
