// The controls of the stand-in Windows: the world the plug-in runs in, steered by tests and
// tools. Product code never includes this header.
//
// Time is virtual. It moves while the thread dispatches messages (StandInPump, or the modal
// loop of an open message box), which it does without a gap: every tick comes at its due
// instant. It also moves in Sleep, which dispatches nothing; a timer that came due meanwhile,
// however many periods ago, has one WM_TIMER waiting, as on Windows. Whatever is due at one
// instant runs in this order: scheduled actions (in the order they were scheduled), then
// timer ticks (in the order the timers were created).
#pragma once

#include <stdint.h>

#include "platform/windows_api.h"

#ifndef STANDIN_API
#define STANDIN_API  // linked statically into a harness over real Windows
#endif

enum StandInEventKind {
    StandInEvOpenDesktop,    // text, flags, inherit, access; handle = result
    StandInEvSwitchDesktop,  // handle; result
    StandInEvCloseDesktop,   // handle; result
    StandInEvSetTimer,       // handle = asked id, period; result = timer id
    StandInEvKillTimer,      // handle = timer id; result
    StandInEvTick,           // handle = timer id, depth = nesting including this tick
    StandInEvTickEnd,        // the timer procedure returned
    StandInEvBoxOpen,        // owner, text, caption, style, depth = boxes open including it
    StandInEvBoxClose,       // closedBy, result
    StandInEvBoxRefused,     // owner, text, caption, style: the owner is not a window; result 0
    StandInEvAction,         // a scheduled action is about to run
};

struct StandInEvent {
    StandInEventKind kind;
    uint32_t timeMs;
    const char* text;
    const char* caption;
    HWND owner;
    UINT style;
    DWORD flags;
    BOOL inherit;
    ACCESS_MASK access;
    uintptr_t handle;
    uint32_t period;
    intptr_t result;
    int depth;
    const char* closedBy;
};

typedef void (*StandInObserver)(const StandInEvent* event, void* context);
typedef void (*StandInAction)(void* context);

enum StandInBoxClose {
    StandInBoxAtOnce,        // the user closes every box as soon as it shows
    StandInBoxAfterMs,       // value milliseconds after it opened
    StandInBoxAfterTicks,    // after value timer ticks were dispatched inside it
    StandInBoxWhenUnlocked,  // as soon as the workstation is unlocked (at once if it is)
};

struct StandInBoxRule {
    StandInBoxClose mode;
    uint32_t value;
};

struct StandInCounts {
    int desktopOpens;     // handles handed out
    int failedOpens;      // OpenDesktopA calls that returned NULL
    int desktopCloses;    // handles taken back
    int desktopsOpen;     // handles handed out and not yet closed
    int badHandles;       // SwitchDesktop or CloseDesktop on a handle that is not open
    int switches;         // SwitchDesktop calls that succeeded
    int refusedSwitches;  // SwitchDesktop calls refused because the workstation is locked
    int timersSet;
    int timersKilled;
    int liveTimers;
    int ticks;         // timer procedures called
    int maxTickDepth;  // deepest nesting of timer procedures
    int boxes;         // message boxes shown
    int boxesOpen;     // message boxes not yet closed
    int refusedBoxes;  // MessageBoxA calls refused because the owner is not a window
};

extern "C" {
// A fresh session: clock at 0, unlocked, nothing failing, no timers, actions or handles,
// counters at 0, boxes closed at once, no horizon. The observer stays.
STANDIN_API void StandInReset(void);
STANDIN_API void StandInSetObserver(StandInObserver observer, void* context);

STANDIN_API uint32_t StandInNow(void);
// The end of time: nothing is dispatched after it, and a box still open then is closed.
STANDIN_API void StandInSetHorizon(uint32_t atMs);

// Dispatches the thread's messages for `ms` of virtual time, or until the instant `atMs`.
STANDIN_API void StandInPump(uint32_t ms);
STANDIN_API void StandInPumpUntil(uint32_t atMs);
// Runs `action` from the thread's dispatch at the instant `atMs` (now, if that has passed).
// Returns false when the queue is full.
STANDIN_API bool StandInSchedule(uint32_t atMs, StandInAction action, void* context);

STANDIN_API void StandInSetLocked(bool locked);
STANDIN_API bool StandInIsLocked(void);
// While set, OpenDesktopA fails.
STANDIN_API void StandInSetOpenFails(bool fails);
// While set, SetTimer fails.
STANDIN_API void StandInSetTimerFails(bool fails);
// How the user closes the message boxes shown from now on.
STANDIN_API void StandInSetBoxRule(StandInBoxRule rule);
// The user presses OK on the innermost box that is open now, whatever its rule.
STANDIN_API void StandInCloseOpenBox(void);
// A window of the thread, for a message box's owner or a window's timers; the world has no
// other windows. Each call gives a new one.
STANDIN_API HWND StandInCreateWindow(void);

STANDIN_API StandInCounts StandInGetCounts(void);
}
