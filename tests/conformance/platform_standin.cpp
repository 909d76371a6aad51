// The conformance rows' platform over the stand-in: virtual time, a lock the rows can set,
// and a user who presses OK when told to.
#include "platform/standin/standin_control.h"
#include "tests/conformance/conformance_platform.h"

namespace {
// When the user presses OK anyway; 0 for never.
uint32_t fallbackAtMs;
}  // namespace

const char* CannotRun(bool /*needsALock*/, const char* /*wineDiffers*/)
{
    return nullptr;
}

void PlatformReset()
{
    StandInReset();
    fallbackAtMs = 0;
}

void DispatchFor(uint32_t ms)
{
    StandInPump(ms);
}

void SetLocked(bool locked)
{
    StandInSetLocked(locked);
}

void PressOkOnTheBox()
{
    StandInCloseOpenBox();
}

void PressOkAnywayAfter(uint32_t ms)
{
    fallbackAtMs = StandInNow() + ms;
    StandInSetBoxRule({StandInBoxAfterMs, ms});
}

bool PressedOkAnyway()
{
    return fallbackAtMs != 0 && StandInNow() >= fallbackAtMs;
}

HWND CreateOwnerWindow()
{
    return StandInCreateWindow();
}

void DestroyOwnerWindow(HWND /*window*/) {}
