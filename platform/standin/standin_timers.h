// How the stand-in's timers reach their procedures: the one part of the world that differs
// between the virtual Linux build and a harness over real Windows timers.
#pragma once

#include <stdint.h>

#include "platform/windows_api.h"

struct StandInTimer {
    bool live;
    UINT_PTR id;
    uint32_t period;
    uint32_t dueMs;
    TIMERPROC proc;
};

// Called after a timer is created, or re-armed under the same id.
void StandInTimerStarted(const StandInTimer& timer);
// Called after a timer is killed.
void StandInTimerStopped(const StandInTimer& timer);
// Brings the due tick of `timer` to its procedure, at the current virtual instant; calls
// StandInCallTimerProc for it.
void StandInDeliverTick(const StandInTimer& timer);

// Calls the procedure of `timer` for one tick, with the events and counters around it.
void StandInCallTimerProc(const StandInTimer& timer);
