// Ticks on the virtual clock: a WM_TIMER taken from the queue is dispatched at once.
#include "platform/standin/standin_calls.h"
#include "platform/standin/standin_timers.h"

void StandInTimerStarted(const StandInTimer& /*timer*/) {}

void StandInTimerStopped(const StandInTimer& /*timer*/) {}

void StandInDeliverTick(const StandInTimer& /*timer*/, const MSG& message)
{
    StandInDispatchMessageA(&message);
}
