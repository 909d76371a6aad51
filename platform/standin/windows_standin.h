// The stand-in for the Windows calls the plug-in makes, for building and testing it on
// Linux. Same names, signatures and documented behaviour as USER32 and KERNEL32; the
// controls that tests and tools use to steer it are in standin_control.h.
#pragma once

#include <stdint.h>

#define WINAPI
#define CALLBACK

#if defined(STANDIN_BUILDING)
#define STANDIN_API __attribute__((visibility("default")))
#else
#define STANDIN_API
#endif

typedef int BOOL;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef DWORD ACCESS_MASK;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

typedef struct HWND__* HWND;
typedef struct HDESK__* HDESK;
typedef struct HINSTANCE__* HINSTANCE;

typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

#define FALSE 0
#define TRUE 1

#define DESKTOP_SWITCHDESKTOP 0x0100

#define MB_OK 0x00000000
#define MB_ICONINFORMATION 0x00000040
#define IDOK 1

#define WM_TIMER 0x0113
#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3

extern "C" {
// Desktops.
STANDIN_API HDESK WINAPI OpenDesktopA(LPCSTR lpszDesktop, DWORD dwFlags, BOOL fInherit, ACCESS_MASK dwDesiredAccess);
STANDIN_API BOOL WINAPI SwitchDesktop(HDESK hDesktop);
STANDIN_API BOOL WINAPI CloseDesktop(HDESK hDesktop);

// Timers of the calling thread, dispatched through its message loop.
STANDIN_API UINT_PTR WINAPI SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
STANDIN_API BOOL WINAPI KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// A modal message box: returns when the user closes it.
STANDIN_API int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// Strings.
STANDIN_API LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
STANDIN_API int WINAPI lstrlenA(LPCSTR lpString);
}
