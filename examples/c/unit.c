/* The control units of the ZUV training kit, the whole behaviour table, with the kit library.
 *
 * Build it with make (pkg-config finds the kit library), then run it beside the platform, or check it:
 *     zuv-peer check --start examples/c/unit scenarios/
 */
#include <zuvkit.h>

#include <stdbool.h>

/* ---- The generic boards: the heartbeat on LED up, all four LEDs while the board's button is held. */

static const int boardButtons[] = {ZUV_alarmGenericButton, ZUV_lightGenericButton, ZUV_windshieldGenericButton};
static const int boardLamps[][4] = {
    {ZUV_alarmGenericLightLeft, ZUV_alarmGenericLightUp, ZUV_alarmGenericLightRight, ZUV_alarmGenericLightDown},
    {ZUV_lightGenericLightLeft, ZUV_lightGenericLightUp, ZUV_lightGenericLightRight, ZUV_lightGenericLightDown},
    {ZUV_windshieldGenericLightLeft, ZUV_windshieldGenericLightUp, ZUV_windshieldGenericLightRight,
     ZUV_windshieldGenericLightDown},
};
static bool heartbeatLit;

static void boards(zuv_unit* unit, void* data)
{
    (void)data;
    for (int board = 0; board < 3; ++board) {
        const int held = zuv_get(unit, boardButtons[board]);
        for (int lamp = 0; lamp < 4; ++lamp)
            zuv_set(unit, boardLamps[board][lamp], held || (lamp == 1 && heartbeatLit));
    }
}

static void beat(zuv_unit* unit, int lit, void* data)
{
    heartbeatLit = lit;
    boards(unit, data);
}

/* ---- The lights: driving lights by the switch and the light sensor, the indicators and hazard
 * lights on one shared blinker, the brake light. */

static zuv_blink* indicatorBlinker;
static zuv_blink* brakeBlinker;
static zuv_blink* alarmBlinker;
static bool indicatorsLit, brakeFlashLit, alarmGoingOff, armed;

static bool hazard(zuv_unit* unit)
{
    return zuv_get(unit, ZUV_cockpitWarnLight) == 1 || zuv_get(unit, ZUV_cockpitBrake) == 3 || alarmGoingOff;
}

static void drivingLights(zuv_unit* unit, void* data)
{
    (void)data;
    const bool on = zuv_get(unit, ZUV_cockpitIgnition) == 1;
    const int lightSwitch = zuv_get(unit, ZUV_cockpitLightSwitch);
    const bool automatic = lightSwitch == 1;
    const bool day = zuv_get(unit, ZUV_windshieldLightSensor);
    const bool low = on && (lightSwitch == 3 || lightSwitch == 4 || (automatic && !day));
    zuv_set(unit, ZUV_lightDaylight, on && (lightSwitch == 2 || (automatic && day)));
    zuv_set(unit, ZUV_lightLowerBeamHeadlight, low);
    zuv_set(unit, ZUV_lightBacklight, low);
    zuv_set(unit, ZUV_lightUpperBeamHeadlight, on && lightSwitch == 4);
}

static void showIndicators(zuv_unit* unit, int lit, void* data)
{
    (void)data;
    indicatorsLit = lit;
    const bool on = zuv_get(unit, ZUV_cockpitIgnition) == 1;
    const int stalk = zuv_get(unit, ZUV_cockpitIndicator);
    zuv_set(unit, ZUV_lightIndicatorLeft, lit && (hazard(unit) || (on && stalk < 0)));
    zuv_set(unit, ZUV_lightIndicatorRight, lit && (hazard(unit) || (on && stalk > 0)));
}

static void indicators(zuv_unit* unit, void* data)
{
    const bool steering = zuv_get(unit, ZUV_cockpitIgnition) == 1 && zuv_get(unit, ZUV_cockpitIndicator) != 0;
    zuv_blinker_run(indicatorBlinker, hazard(unit) || steering);
    showIndicators(unit, indicatorsLit, data);
}

static void showBrake(zuv_unit* unit, int lit, void* data)
{
    (void)data;
    brakeFlashLit = lit;
    zuv_set(unit, ZUV_lightBrakelight, zuv_get(unit, ZUV_cockpitBrake) == 1 || lit);
}

static void brake(zuv_unit* unit, void* data)
{
    const int mode = zuv_get(unit, ZUV_cockpitBrake);
    zuv_blinker_run(brakeBlinker, mode == 2 || mode == 3);
    showBrake(unit, mode == 2 || mode == 3 ? brakeFlashLit : 0, data);
}

/* ---- The alarm: the lock button arms and disarms; the alarm button sets it off while armed. */

static void goingOff(zuv_unit* unit, bool on)
{
    alarmGoingOff = on;
    zuv_blinker_run(alarmBlinker, on);
    indicators(unit, NULL);
}

static void showAlarm(zuv_unit* unit, int lit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_alarmAlarmLight, lit);
}

static void lockButton(zuv_unit* unit, void* data)
{
    (void)data;
    armed = !armed;
    zuv_set(unit, ZUV_alarmLockLight, armed);
    if (!armed)
        goingOff(unit, false);
}

static void alarmButton(zuv_unit* unit, void* data)
{
    (void)data;
    if (armed)
        goingOff(unit, true);
}

static void acknowledged(zuv_unit* unit, void* data)
{
    (void)data;
    /* The cockpit writes 1 for each press and never 0: it ends the alarm and is answered with 0. */
    if (zuv_get(unit, ZUV_cockpitAlarmReset))
        goingOff(unit, false);
    zuv_set(unit, ZUV_cockpitAlarmReset, 0);
}

/* ---- The windshield: the washer pump, the heater and the wiper. */

enum { Off, Single, Interval, Automatic, Slow, Fast };

static zuv_motor* wiper;
static int wiperMode, singleWipes, wipesAfterWash, intervalTimer = -1;
static bool washing;

static void pumpAndHeater(zuv_unit* unit, void* data)
{
    (void)data;
    const int heater = zuv_get(unit, ZUV_cockpitWindshieldHeater);
    zuv_set(unit, ZUV_windshieldWasherPump, zuv_get(unit, ZUV_cockpitWindshieldWasherPump) == 1);
    zuv_set(unit, ZUV_windshieldHeater, heater == 2 || (heater == 1 && zuv_get(unit, ZUV_cockpitTemperature) < 5));
}

static void wipe(void)
{
    zuv_stepper_move(wiper, 16); /* a wipe: 16 steps out, 16 back */
    zuv_stepper_move(wiper, -16);
}

static bool wantsWipe(zuv_unit* unit)
{
    if (washing)
        return true;
    if (wipesAfterWash > 0) {
        --wipesAfterWash;
        return true;
    }
    if (singleWipes > 0) {
        --singleWipes;
        return true;
    }
    return wiperMode == Slow || wiperMode == Fast ||
           (wiperMode == Automatic && zuv_get(unit, ZUV_windshieldDistanceSensor) > 2000);
}

static void nextWipe(zuv_unit* unit, void* data)
{
    (void)data;
    if (!zuv_stepper_moving(wiper) && wantsWipe(unit))
        wipe();
}

static void intervalWipe(zuv_unit* unit, void* data)
{
    (void)unit;
    (void)data;
    if (!zuv_stepper_moving(wiper))
        wipe();
}

static void wiperControls(zuv_unit* unit, void* data)
{
    const int mode = zuv_get(unit, ZUV_cockpitWindshieldWasherMode);
    const bool washNow = zuv_get(unit, ZUV_cockpitWindshieldWasherPump) == 1;
    if (mode == Single && wiperMode != Single && singleWipes < 3)
        ++singleWipes;
    if (washing && !washNow)
        wipesAfterWash = 2;
    if (mode != wiperMode && intervalTimer >= 0) {
        zuv_cancel(unit, intervalTimer);
        intervalTimer = -1;
    }
    if (mode == Interval && wiperMode != Interval) {
        intervalTimer = zuv_every(unit, 4.0, intervalWipe, NULL);
        intervalWipe(unit, data); /* a wipe at once, then one every 4 s */
    }
    wiperMode = mode;
    washing = washNow;
    zuv_stepper_set_rate(wiper, mode == Fast ? 36 : 24);
    nextWipe(unit, data);
}

static void start(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_cockpitAlarmReset, 0);
    zuv_set(unit, ZUV_alarmLockLight, 0);
}

int main(int argc, char** argv)
{
    zuv_unit* unit = zuv_open(argc, argv);
    if (!unit)
        return 1;
    zuv_blinker_run(zuv_blinker(unit, 1.0, 0.5, beat, NULL), 1);
    zuv_on_change(unit, boards, NULL, ZUV_alarmGenericButton, ZUV_lightGenericButton, ZUV_windshieldGenericButton,
                  ZUV_NONE);

    alarmBlinker = zuv_blinker(unit, 2.0, 0.5, showAlarm, NULL);
    zuv_on_press(unit, lockButton, NULL, ZUV_alarmLockButton);
    zuv_on_press(unit, alarmButton, NULL, ZUV_alarmAlarmButton);
    zuv_on_change(unit, acknowledged, NULL, ZUV_cockpitAlarmReset, ZUV_NONE);

    indicatorBlinker = zuv_blinker(unit, 1.5, 0.5, showIndicators, NULL);
    brakeBlinker = zuv_blinker(unit, 4.0, 0.5, showBrake, NULL);
    zuv_on_change(unit, drivingLights, NULL, ZUV_cockpitIgnition, ZUV_cockpitLightSwitch, ZUV_windshieldLightSensor,
                  ZUV_NONE);
    zuv_on_change(unit, indicators, NULL, ZUV_cockpitIgnition, ZUV_cockpitIndicator, ZUV_cockpitWarnLight,
                  ZUV_cockpitBrake, ZUV_NONE);
    zuv_on_change(unit, brake, NULL, ZUV_cockpitBrake, ZUV_NONE);

    wiper = zuv_stepper(unit, 24);
    zuv_stepper_on_idle(wiper, nextWipe, NULL);
    zuv_on_change(unit, pumpAndHeater, NULL, ZUV_cockpitWindshieldWasherPump, ZUV_cockpitWindshieldHeater,
                  ZUV_cockpitTemperature, ZUV_NONE);
    zuv_on_change(unit, wiperControls, NULL, ZUV_cockpitWindshieldWasherMode, ZUV_cockpitWindshieldWasherPump,
                  ZUV_windshieldDistanceSensor, ZUV_NONE);
    zuv_on_start(unit, start, NULL);
    return zuv_run(unit);
}
