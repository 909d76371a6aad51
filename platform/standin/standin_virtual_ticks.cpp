// Ticks on the virtual clock: a due tick is dispatched straight to its procedure.
#include "platform/standin/standin_timers.h"

void StandInTimerStarted(const StandInTimer& /*timer*/) {}

void StandInTimerStopped(const StandInTimer& /*timer*/) {}

void StandInDeliverTick(const StandInTimer& timer)
{
    StandInCallTimerProc(timer);
}
