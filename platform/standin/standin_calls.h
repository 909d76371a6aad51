// The stand-in's own implementations of the Windows calls. On Linux the Windows names
// forward to them; a harness over real Windows puts the USER32 ones the plug-in imports into
// its import table in place of USER32's.
#pragma once

#include "platform/windows_api.h"

HDESK WINAPI StandInOpenDesktopA(LPCSTR name, DWORD flags, BOOL inherit, ACCESS_MASK access);
BOOL WINAPI StandInSwitchDesktop(HDESK desktop);
BOOL WINAPI StandInCloseDesktop(HDESK desktop);
UINT_PTR WINAPI StandInSetTimer(HWND window, UINT_PTR eventId, UINT elapse, TIMERPROC proc);
BOOL WINAPI StandInKillTimer(HWND window, UINT_PTR eventId);
BOOL WINAPI StandInPeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove);
LRESULT WINAPI StandInDispatchMessageA(const MSG* message);
int WINAPI StandInMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
void WINAPI StandInSleep(DWORD ms);
DWORD WINAPI StandInGetLastError(void);
void WINAPI StandInSetLastError(DWORD error);
