// The conformance rows' platform over real Windows, or Wine: real time, the real message
// loop, and the test itself as the user at the screen.
#include <windows.h>

#include "tests/conformance/conformance_platform.h"

namespace {

// Wine says who it is through ntdll's wine_get_version.
bool UnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

UINT_PTR fallback;
bool fallbackPressed;

BOOL CALLBACK PressOkOnBoxOf(HWND window, LPARAM /*context*/)
{
    char className[16];
    if (GetClassNameA(window, className, sizeof className) > 0 && lstrcmpA(className, "#32770") == 0) {
        PostMessageA(window, WM_COMMAND, IDOK, 0);
    }
    return TRUE;
}

void CALLBACK PressOkNow(HWND, UINT, UINT_PTR, DWORD)
{
    KillTimer(nullptr, fallback);
    fallback = 0;
    fallbackPressed = true;
    PressOkOnTheBox();
}

}  // namespace

const char* CannotRun(bool needsALock, const char* wineDiffers)
{
    if (needsALock) {
        return UnderWine() ? "Wine has no lock screen" : "a test does not lock the workstation it runs on";
    }
    return UnderWine() ? wineDiffers : nullptr;
}

void PlatformReset()
{
    fallbackPressed = false;
    if (fallback != 0) {
        KillTimer(nullptr, fallback);
        fallback = 0;
    }
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

void DispatchFor(uint32_t ms)
{
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= ms) {
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms - elapsed, QS_ALLINPUT);
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

void SetLocked(bool /*locked*/) {}

void PressOkOnTheBox()
{
    EnumThreadWindows(GetCurrentThreadId(), PressOkOnBoxOf, 0);
}

void PressOkAnywayAfter(uint32_t ms)
{
    fallback = SetTimer(nullptr, 0, ms, PressOkNow);
}

bool PressedOkAnyway()
{
    return fallbackPressed;
}

HWND CreateOwnerWindow()
{
    return CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void DestroyOwnerWindow(HWND window)
{
    if (window != nullptr) {
        DestroyWindow(window);
    }
}
