/* A unit that uses every part of the C kit library, for tests/sdk/behaviour.py; it does what the
 * Python probe (tests/sdk/python/probe.py) does with the Python library. Times go out in
 * microseconds. */
#include <zuvkit.h>

#include <math.h>
#include <stddef.h>

static zuv_blink* indicator;
static zuv_motor* wiper;
static int ticks, ticker;
static const int left = ZUV_lightGenericLightLeft, right = ZUV_lightGenericLightRight,
                 down = ZUV_lightGenericLightDown;

static int microseconds(zuv_unit* unit)
{
    return (int)floor(zuv_now(unit) * 1e6 + 0.5);
}

static void start(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_alarmLockLight, 1);
}

static void lights(zuv_unit* unit, void* data)
{
    const int ignition = zuv_get(unit, ZUV_cockpitIgnition),
              light_switch = zuv_get(unit, ZUV_cockpitLightSwitch);
    (void)data;
    zuv_set(unit, ZUV_lightDaylight, ignition && light_switch == 2);
    zuv_set(unit, ZUV_lightLowerBeamHeadlight, ignition && light_switch >= 3);
}

static void brake(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_lightBrakelight, zuv_get(unit, ZUV_cockpitBrake) != 0);
}

static void lock(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_alarmLockLight, !zuv_get(unit, ZUV_alarmLockLight));
}

static void indicate(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_blinker_run(indicator, zuv_get(unit, ZUV_cockpitIndicator) != 0);
}

static void blink(zuv_unit* unit, int lit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_lightIndicatorLeft, lit);
    zuv_set(unit, ZUV_cockpitVelocity, microseconds(unit));
}

static void tick(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_cockpitTemperature, microseconds(unit));
    if (++ticks == 5)
        zuv_cancel(unit, ticker);
}

static void light(zuv_unit* unit, void* data)
{
    zuv_set(unit, *(const int*)data, 1);
}

static void timers(zuv_unit* unit, void* data)
{
    (void)data;
    ticks = 0;
    ticker = zuv_every(unit, 0.1, tick, NULL);
    zuv_after(unit, 0.25, light, (void*)&left);
    zuv_after(unit, 0.25, light, (void*)&right);
    zuv_cancel(unit, zuv_after(unit, 0.2, light, (void*)&down));
}

static void wipe(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_stepper_move(wiper, 5);
    zuv_stepper_move(wiper, -5);
    zuv_set(unit, ZUV_windshieldGenericLightDown, zuv_stepper_moving(wiper));
}

static void parked(zuv_unit* unit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_cockpitSteeringAngleDeg,
            100 + 10 * zuv_stepper_position(wiper) + zuv_stepper_moving(wiper));
}

int main(int argc, char** argv)
{
    zuv_unit* unit = zuv_open(argc, argv);
    if (!unit)
        return 1;
    wiper = zuv_stepper(unit, 50); /* its parked pattern goes out at once */
    zuv_stepper_on_idle(wiper, parked, NULL);
    indicator = zuv_blinker(unit, 2.0, 0.5, blink, NULL);
    zuv_on_start(unit, start, NULL);
    zuv_on_change(unit, lights, NULL, ZUV_cockpitIgnition, ZUV_cockpitLightSwitch, ZUV_NONE);
    zuv_on_change(unit, brake, NULL, ZUV_cockpitBrake, ZUV_NONE);
    zuv_on_press(unit, lock, NULL, ZUV_alarmLockButton);
    zuv_on_change(unit, indicate, NULL, ZUV_cockpitIndicator, ZUV_NONE);
    zuv_on_press(unit, timers, NULL, ZUV_lightGenericButton);
    zuv_on_press(unit, wipe, NULL, ZUV_windshieldGenericButton);
    return zuv_run(unit);
}
