// The stand-in's own implementations of the Windows calls the plug-in makes. On Linux the
// Windows names forward to them; a harness over real Windows puts them into a module's
// import table in place of USER32's.
#pragma once

#include "platform/windows_api.h"

HDESK WINAPI StandInOpenDesktopA(LPCSTR name, DWORD flags, BOOL inherit, ACCESS_MASK access);
BOOL WINAPI StandInSwitchDesktop(HDESK desktop);
BOOL WINAPI StandInCloseDesktop(HDESK desktop);
UINT_PTR WINAPI StandInSetTimer(HWND window, UINT_PTR eventId, UINT elapse, TIMERPROC proc);
BOOL WINAPI StandInKillTimer(HWND window, UINT_PTR eventId);
int WINAPI StandInMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style);
