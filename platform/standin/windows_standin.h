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
typedef int32_t LONG;
typedef unsigned int UINT;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef DWORD ACCESS_MASK;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef void* LPVOID;

typedef struct HWND__* HWND;
typedef struct HDESK__* HDESK;
typedef struct HINSTANCE__* HINSTANCE;

typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);

typedef struct tagPOINT {
    LONG x;
    LONG y;
} POINT;

// A message of the thread's queue.
typedef struct tagMSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
} MSG, *LPMSG;

#define FALSE 0
#define TRUE 1

#define DESKTOP_READOBJECTS 0x0001
#define DESKTOP_SWITCHDESKTOP 0x0100

#define MB_OK 0x00000000
#define MB_ICONINFORMATION 0x00000040
#define IDOK 1

#define WM_TIMER 0x0113
#define USER_TIMER_MINIMUM 0x0000000A
#define USER_TIMER_MAXIMUM 0x7FFFFFFF

#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001

#define ERROR_FILE_NOT_FOUND 2
#define ERROR_ACCESS_DENIED 5
#define ERROR_INVALID_HANDLE 6
#define ERROR_NOT_ENOUGH_MEMORY 8
#define ERROR_INVALID_WINDOW_HANDLE 1400

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

// The thread's message queue: the WM_TIMER of a due timer, taken or looked at, and handed
// to its timer procedure.
STANDIN_API BOOL WINAPI PeekMessageA(LPMSG lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
STANDIN_API LRESULT WINAPI DispatchMessageA(const MSG* lpMsg);

// A modal message box: returns when the user closes it.
STANDIN_API int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);

// Time passes for the thread without dispatching anything.
STANDIN_API void WINAPI Sleep(DWORD dwMilliseconds);

// The thread's last error.
STANDIN_API DWORD WINAPI GetLastError(void);
STANDIN_API void WINAPI SetLastError(DWORD dwErrCode);

// Strings.
STANDIN_API LPSTR WINAPI lstrcpynA(LPSTR lpString1, LPCSTR lpString2, int iMaxLength);
STANDIN_API int WINAPI lstrlenA(LPCSTR lpString);
}
