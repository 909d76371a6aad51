// The Windows names of the stand-in, as the plug-in links against them on Linux.
#include "platform/standin/standin_calls.h"

extern "C" {

HDESK WINAPI OpenDesktopA(LPCSTR lpszDesktop, DWORD dwFlags, BOOL fInherit, ACCESS_MASK dwDesiredAccess)
{
    return StandInOpenDesktopA(lpszDesktop, dwFlags, fInherit, dwDesiredAccess);
}

BOOL WINAPI SwitchDesktop(HDESK hDesktop)
{
    return StandInSwitchDesktop(hDesktop);
}

BOOL WINAPI CloseDesktop(HDESK hDesktop)
{
    return StandInCloseDesktop(hDesktop);
}

UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc)
{
    return StandInSetTimer(hWnd, nIDEvent, uElapse, lpTimerFunc);
}

BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent)
{
    return StandInKillTimer(hWnd, uIDEvent);
}

BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg)
{
    return StandInPeekMessageA(lpMsg, hWnd, wMsgFilterMin, wMsgFilterMax, wRemoveMsg);
}

LRESULT WINAPI DispatchMessageA(const MSG* lpMsg)
{
    return StandInDispatchMessageA(lpMsg);
}

int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType)
{
    return StandInMessageBoxA(hWnd, lpText, lpCaption, uType);
}

void WINAPI Sleep(DWORD dwMilliseconds)
{
    StandInSleep(dwMilliseconds);
}

DWORD WINAPI GetLastError(void)
{
    return StandInGetLastError();
}

void WINAPI SetLastError(DWORD dwErrCode)
{
    StandInSetLastError(dwErrCode);
}

// Copies at most iMaxLength - 1 bytes and always terminates; with no room at all nothing is
// written. Returns the destination, or NULL when either string is missing.
LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength)
{
    if (lpString1 == nullptr || lpString2 == nullptr) {
        return nullptr;
    }
    if (iMaxLength <= 0) {
        return lpString1;
    }
    int i = 0;
    for (; i < iMaxLength - 1 && lpString2[i] != '\0'; ++i) {
        lpString1[i] = lpString2[i];
    }
    lpString1[i] = '\0';
    return lpString1;
}

// The length in bytes; 0 for a missing string.
int WINAPI lstrlenA(LPCSTR lpString)
{
    if (lpString == nullptr) {
        return 0;
    }
    int length = 0;
    while (lpString[length] != '\0') {
        ++length;
    }
    return length;
}
}
