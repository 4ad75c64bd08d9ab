/* My control unit for the ZUV training kit, started with `zuv-peer new-unit c`.
 *
 * The heartbeat is done; the rest of the behaviour ("What the control units do" in the kit's README)
 * is yours, as the TODO lines below say. Build it with make, check it as README.md beside this file
 * says.
 */
#include <zuvkit.h>

/* Every board's heartbeat: LED up lit for the first half of every second. */
static void beat(zuv_unit* unit, int lit, void* data)
{
    (void)data;
    zuv_set(unit, ZUV_alarmGenericLightUp, lit);
    zuv_set(unit, ZUV_lightGenericLightUp, lit);
    zuv_set(unit, ZUV_windshieldGenericLightUp, lit);
}

/* TODO lights: ZUV_lightDaylight, ZUV_lightLowerBeamHeadlight, ZUV_lightBacklight and
 *      ZUV_lightUpperBeamHeadlight by ZUV_cockpitIgnition, ZUV_cockpitLightSwitch and
 *      ZUV_windshieldLightSensor: zuv_on_change(unit, lights, NULL, ZUV_cockpitIgnition, ..., ZUV_NONE).
 * TODO indicators and hazard lights: ZUV_lightIndicatorLeft and ZUV_lightIndicatorRight blink at 1.5 Hz on
 *      one shared blinker, zuv_blinker(unit, 1.5, 0.5, tick, NULL), by ZUV_cockpitIndicator,
 *      ZUV_cockpitWarnLight and ZUV_cockpitBrake 3.
 * TODO brake light: ZUV_lightBrakelight lit at ZUV_cockpitBrake 1, flashing at 4 Hz at 2 and 3.
 * TODO alarm: zuv_on_press(unit, lock, NULL, ZUV_alarmLockButton) arms and disarms (ZUV_alarmLockLight);
 *      ZUV_alarmAlarmButton sets it off while armed (ZUV_alarmAlarmLight blinks at 2 Hz, the hazard
 *      lights flash); ZUV_cockpitAlarmReset 1 ends it and is answered with 0.
 * TODO windshield: ZUV_windshieldWasherPump, ZUV_windshieldHeater, and the wiper: zuv_stepper(unit, 24),
 *      a wipe is zuv_stepper_move(wiper, 16) and zuv_stepper_move(wiper, -16).
 * TODO boards: all four LEDs of a board lit while its GenericButton is held. */

int main(int argc, char** argv)
{
    zuv_unit* unit = zuv_open(argc, argv);
    if (!unit)
        return 1;
    zuv_blinker_run(zuv_blinker(unit, 1.0, 0.5, beat, NULL), 1);
    return zuv_run(unit);
}
