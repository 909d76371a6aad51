#include "watcher/lock_watcher.h"

#include "watcher/status_switch.h"

bool awaySet;
UINT_PTR timerId;

// True while a switch of all connections runs. A switch can dispatch the thread's messages
// (its "Error" box is modal), and so deliver further ticks before it returns.
static bool switchRunning;

bool StartLockWatcher()
{
    StopLockWatcher();
    awaySet = false;
    timerId = SetTimer(nullptr, 0, PollIntervalMs, OnPollTimer);
    return timerId != 0;
}

void StopLockWatcher()
{
    if (timerId != 0) {
        KillTimer(nullptr, timerId);
        timerId = 0;
    }
}

bool IsDesktopLocked()
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    if (desktop == nullptr) {
        return false;
    }
    const bool locked = SwitchDesktop(desktop) == FALSE;
    CloseDesktop(desktop);
    return locked;
}

static void SwitchAndRemember(int32_t status, bool away)
{
    switchRunning = true;
    SwitchAllConnections(status);
    switchRunning = false;
    awaySet = away;
}

void CALLBACK OnPollTimer(HWND /*window*/, UINT /*message*/, UINT_PTR eventId, DWORD /*tickCount*/)
{
    // Only the live timer's ticks count. A message loop may hold a WM_TIMER taken from the
    // queue before Terminate or a second Initialize killed its timer; dispatched later, it
    // still reaches this procedure, and does nothing: the state stays frozen at Terminate.
    if (timerId == 0 || eventId != timerId) {
        return;
    }
    // A tick that arrives while a switch is running returns at once: the switch's records are
    // in use, and nesting a switch per tick would deepen the stack for as long as the lock
    // lasts. The state it would have seen is looked at again on the next tick.
    if (switchRunning) {
        return;
    }
    const bool locked = IsDesktopLocked();
    if (locked && !awaySet) {
        SwitchAndRemember(LockedStatus, true);
    } else if (!locked && awaySet) {
        SwitchAndRemember(UnlockedStatus, false);
    }
}
