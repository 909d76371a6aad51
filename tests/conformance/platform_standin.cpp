// The conformance rows' platform over the stand-in: virtual time, a lock the rows can set,
// and a user who presses OK when told to.
#include "platform/standin/standin_control.h"
#include "tests/conformance/conformance_platform.h"

const char* CannotRun(bool /*needsALock*/, const char* /*wineDiffers*/)
{
    return nullptr;
}

void PlatformReset()
{
    StandInReset();
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
    StandInSetBoxRule({StandInBoxAfterMs, ms});
}

HWND CreateOwnerWindow()
{
    return StandInCreateWindow();
}

void DestroyOwnerWindow(HWND /*window*/) {}
