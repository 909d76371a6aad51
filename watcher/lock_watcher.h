// The 10-second poll of the workstation lock and the away state it keeps.
#pragma once

#include <stdint.h>

#include "platform/windows_api.h"

constexpr UINT PollIntervalMs = 10000;

// True from the switch of every connection to LockedStatus until the switch back.
extern bool awaySet;
// The poll timer; 0 when there is none.
extern UINT_PTR timerId;

// Clears the away state and starts the poll timer on the calling thread, stopping one that
// is already running. Returns whether the timer was created.
bool StartLockWatcher();

// Stops the poll timer, if there is one. Statuses and the away state stay as they are.
void StopLockWatcher();

// Whether the workstation is locked: the desktop "Default" refuses to become the input
// desktop. A desktop that cannot be opened counts as unlocked.
bool IsDesktopLocked();

// The timer procedure. A tick whose `eventId` is not the live timer's returns at once; the
// other arguments are not used.
void CALLBACK OnPollTimer(HWND window, UINT message, UINT_PTR eventId, DWORD tickCount);
