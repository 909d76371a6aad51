// How the stand-in's timer ticks reach their procedures: the one part of the world that
// differs between the virtual Linux build and a harness over real Windows timers.
#pragma once

#include <stdint.h>

#include "platform/windows_api.h"

struct StandInTimer {
    bool live;
    HWND window;  // NULL for a thread timer
    UINT_PTR id;
    uint32_t period;
    uint32_t dueMs;
    TIMERPROC proc;  // may be NULL: the WM_TIMER then has no procedure to go to
};

// Called after a timer is created, or re-armed under the same id.
void StandInTimerStarted(const StandInTimer& timer);
// Called after a timer is killed.
void StandInTimerStopped(const StandInTimer& timer);
// Brings `message`, the WM_TIMER of `timer` just taken from the queue at the current
// virtual instant, to DispatchMessage (StandInDispatchMessageA).
void StandInDeliverTick(const StandInTimer& timer, const MSG& message);
