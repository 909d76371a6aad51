// What a conformance row needs beyond the Windows calls it checks: the thread's message loop
// running for a while, the user at the screen, and where the rows run. One implementation
// over the stand-in, one over real Windows (or Wine).
#pragma once

#include <stdint.h>

#include "platform/windows_api.h"

// Why a row cannot run here, or nullptr when it can: a row that `needsALock` locks and
// unlocks the workstation; `wineDiffers`, when not null, says how Wine departs from the
// documented behaviour the row pins.
const char* CannotRun(bool needsALock, const char* wineDiffers);

// Before each row: an empty message queue, the workstation unlocked, no box open.
void PlatformReset();

// The thread runs its message loop, dispatching what comes, for `ms` milliseconds.
void DispatchFor(uint32_t ms);

// Locks or unlocks the workstation (only where CannotRun(NeedsALock) is nullptr).
void SetLocked(bool locked);

// The user presses OK on the message box that is open on this thread. Called from inside
// the box's modal loop (a timer procedure).
void PressOkOnTheBox();

// Should the row never press OK, the user does so `ms` from now, so that a failing row ends
// instead of waiting forever; PressedOkAnyway tells whether that happened.
void PressOkAnywayAfter(uint32_t ms);
bool PressedOkAnyway();

// A window of this thread, and its end.
HWND CreateOwnerWindow();
void DestroyOwnerWindow(HWND window);
