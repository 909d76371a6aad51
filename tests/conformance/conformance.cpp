// The conformance suite: the platform behaviour the plug-in and its stand-in rely on, as
// rows of checks, each pinning one documented behaviour of Windows. The same source is built
// against the stand-in (natively) and against <windows.h> (run under Wine), and every row
// must give the same result on both; a row that needs what a platform lacks says why and is
// skipped there, never passed.
//
//   conformance [GROUP...]    runs the rows of the groups (strings, timers, message_boxes,
//                             desktops), or all; prints a line per row, exits 1 on a failure.
#include <stdio.h>
#include <string.h>

#include <chrono>
#include <string>

#include "platform/windows_api.h"
#include "tests/conformance/conformance_platform.h"

namespace {

// What one row found wrong; empty when nothing.
struct Result {
    std::string failures;
};

std::string Text(uintptr_t value)
{
    char text[32];
    snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(value));
    return text;
}

void Expect(Result& r, bool holds, const char* what)
{
    if (!holds) {
        r.failures += std::string(r.failures.empty() ? "" : "; ") + what;
    }
}

void ExpectEq(Result& r, uintptr_t actual, uintptr_t expected, const char* what)
{
    if (actual != expected) {
        r.failures += std::string(r.failures.empty() ? "" : "; ") + what + ": expected " + Text(expected) + ", got " +
                      Text(actual);
    }
}

// ---- strings ----

const char* const Sample = "abcdef";
// コン in code page 932: two double-byte characters.
const char* const DoubleBytes = "\x83\x52\x83\x93";

void Fill(char (&buffer)[16])
{
    memset(buffer, 'x', sizeof buffer);
}

void CopyOfOneByteWritesOnlyTheTerminator(Result& r)
{
    char buffer[16];
    Fill(buffer);
    ExpectEq(r, reinterpret_cast<uintptr_t>(lstrcpynA(buffer, Sample, 1)), reinterpret_cast<uintptr_t>(buffer),
             "the result is the destination");
    Expect(r, buffer[0] == '\0' && buffer[1] == 'x', "buffer is \"\\0x...\"");
}

void CopyOfZeroBytesWritesNothing(Result& r)
{
    char buffer[16];
    Fill(buffer);
    ExpectEq(r, reinterpret_cast<uintptr_t>(lstrcpynA(buffer, Sample, 0)), reinterpret_cast<uintptr_t>(buffer),
             "the result is the destination");
    Expect(r, buffer[0] == 'x', "nothing written");
}

void CopyOfTheLengthCutsTheLastByte(Result& r)
{
    char buffer[16];
    Fill(buffer);
    lstrcpynA(buffer, Sample, 6);
    Expect(r, memcmp(buffer, "abcde\0x", 7) == 0, "buffer is \"abcde\\0x\"");
}

void CopyOfMoreThanTheLengthCopiesAllAndStops(Result& r)
{
    char buffer[16];
    Fill(buffer);
    lstrcpynA(buffer, Sample, 16);
    Expect(r, memcmp(buffer, "abcdef\0x", 8) == 0, "buffer is \"abcdef\\0x\": nothing after the terminator");
}

void CopyCutsADoubleByteCharacterByBytes(Result& r)
{
    char buffer[16];
    Fill(buffer);
    lstrcpynA(buffer, DoubleBytes, 4);
    Expect(r, memcmp(buffer, "\x83\x52\x83\0x", 5) == 0, "buffer is the first three bytes and the terminator");
}

void CopyWithoutDestinationIsNull(Result& r)
{
    ExpectEq(r, reinterpret_cast<uintptr_t>(lstrcpynA(nullptr, Sample, 4)), 0, "the result");
}

void LengthCountsBytes(Result& r)
{
    ExpectEq(r, static_cast<uintptr_t>(lstrlenA(Sample)), 6, "lstrlenA(\"abcdef\")");
    ExpectEq(r, static_cast<uintptr_t>(lstrlenA(DoubleBytes)), 4, "lstrlenA of two double-byte characters");
    ExpectEq(r, static_cast<uintptr_t>(lstrlenA("")), 0, "lstrlenA(\"\")");
}

void LengthOfNullIsZero(Result& r)
{
    ExpectEq(r, static_cast<uintptr_t>(lstrlenA(nullptr)), 0, "lstrlenA(NULL)");
}

// ---- timers ----

// What the timer procedure saw.
int calls;
HWND lastWindow;
UINT lastMessage;
UINT_PTR lastId;

void CALLBACK Count(HWND window, UINT message, UINT_PTR id, DWORD /*time*/)
{
    ++calls;
    lastWindow = window;
    lastMessage = message;
    lastId = id;
}

void ResetCalls()
{
    calls = 0;
    lastWindow = reinterpret_cast<HWND>(1);
    lastMessage = 0;
    lastId = 0;
}

// Takes every WM_TIMER waiting in the queue and dispatches it; returns how many there were.
int DrainTimerMessages()
{
    int taken = 0;
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        ++taken;
        DispatchMessageA(&message);
    }
    return taken;
}

void ThreadTimerHasAnIdentifier(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10000, Count);
    Expect(r, id != 0, "SetTimer returns an identifier");
    KillTimer(nullptr, id);
}

void SecondThreadTimerHasAnotherIdentifier(Result& r)
{
    const UINT_PTR first = SetTimer(nullptr, 0, 10000, Count);
    const UINT_PTR second = SetTimer(nullptr, 0, 10000, Count);
    Expect(r, first != 0 && second != 0 && first != second, "two different identifiers");
    KillTimer(nullptr, first);
    KillTimer(nullptr, second);
}

void LiveIdentifierReArmsTheTimer(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10000, Count);
    ExpectEq(r, SetTimer(nullptr, id, 20, Count), id, "SetTimer with the live timer's identifier");
    ResetCalls();
    Sleep(60);
    DrainTimerMessages();
    ExpectEq(r, static_cast<uintptr_t>(calls), 1, "ticks of the re-armed 20 ms timer after 60 ms");
    Expect(r, KillTimer(nullptr, id), "KillTimer of it");
    Expect(r, !KillTimer(nullptr, id), "no second timer to kill");
}

void TimerWithoutProcedureQueuesItsMessage(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10, nullptr);
    Expect(r, id != 0, "SetTimer returns an identifier");
    Sleep(30);
    MSG message = {};
    Expect(r, PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE), "a WM_TIMER is in the queue");
    ExpectEq(r, message.wParam, id, "its wParam");
    ExpectEq(r, static_cast<uintptr_t>(message.lParam), 0, "its lParam");
    DispatchMessageA(&message);
    KillTimer(nullptr, id);
}

void KillTimerOnceOnly(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10000, Count);
    Expect(r, KillTimer(nullptr, id), "KillTimer of a live timer is TRUE");
    Expect(r, !KillTimer(nullptr, id), "KillTimer of it again is FALSE");
}

void KillTimerOfAnUnknownIdentifier(Result& r)
{
    Expect(r, !KillTimer(nullptr, 0x4D2), "KillTimer(NULL, 1234) is FALSE");
}

void TicksOnlyWhileDispatching(Result& r)
{
    ResetCalls();
    const UINT_PTR id = SetTimer(nullptr, 0, 20, Count);
    Sleep(100);
    ExpectEq(r, static_cast<uintptr_t>(calls), 0, "calls while the thread sleeps");
    DispatchFor(10);
    Expect(r, calls >= 1, "a call once the thread dispatches");
    KillTimer(nullptr, id);
}

void MissedPeriodsGiveOneMessage(Result& r)
{
    ResetCalls();
    const UINT_PTR id = SetTimer(nullptr, 0, 100, Count);
    Sleep(8 * 100 + 50);
    ExpectEq(r, static_cast<uintptr_t>(DrainTimerMessages()), 1, "WM_TIMER messages after eight missed periods");
    ExpectEq(r, static_cast<uintptr_t>(calls), 1, "calls of the procedure");
    KillTimer(nullptr, id);
}

void TakenMessageOutlivesKillTimer(Result& r)
{
    ResetCalls();
    const UINT_PTR id = SetTimer(nullptr, 0, 20, Count);
    Sleep(30);
    MSG message = {};
    Expect(r, PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE), "a WM_TIMER is taken");
    Expect(r, KillTimer(nullptr, id), "KillTimer after taking it");
    DispatchMessageA(&message);
    ExpectEq(r, static_cast<uintptr_t>(calls), 1, "calls when it is dispatched after KillTimer");
    DispatchFor(60);
    ExpectEq(r, static_cast<uintptr_t>(calls), 1, "calls after that");
}

void TimerMessageNamesTimerAndProcedure(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10, Count);
    Sleep(30);
    MSG message = {};
    Expect(r, PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE), "a message is in the queue");
    ExpectEq(r, reinterpret_cast<uintptr_t>(message.hwnd), 0, "its window");
    ExpectEq(r, message.message, WM_TIMER, "its message");
    ExpectEq(r, message.wParam, id, "its wParam");
    Expect(r, message.lParam != 0, "its lParam names the procedure");
    ResetCalls();
    DispatchMessageA(&message);
    ExpectEq(r, reinterpret_cast<uintptr_t>(lastWindow), 0, "the procedure's window");
    ExpectEq(r, lastMessage, WM_TIMER, "the procedure's message");
    ExpectEq(r, lastId, id, "the procedure's identifier");
    KillTimer(nullptr, id);
}

void TimerMessageCarriesTheProcedure(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10, Count);
    Sleep(30);
    MSG message = {};
    Expect(r, PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE), "a WM_TIMER is in the queue");
    ExpectEq(r, static_cast<uintptr_t>(message.lParam), reinterpret_cast<uintptr_t>(&Count), "its lParam");
    KillTimer(nullptr, id);
}

void PeriodCountsFromSetTimer(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10000, Count);
    Sleep(100);
    MSG message;
    Expect(r, !PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE),
           "no WM_TIMER of a 10 s timer after 100 ms");
    KillTimer(nullptr, id);
}

void PeriodBelowTheMinimumIsRaised(Result& r)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 0, Count);
    Expect(r, id != 0, "SetTimer with a period of 0 returns an identifier");
    Sleep(50);
    MSG message;
    Expect(r, PeekMessageA(&message, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE), "its WM_TIMER after 50 ms");
    KillTimer(nullptr, id);
}

void TimerOfANonWindowIsRefused(Result& r)
{
    SetLastError(0);
    ExpectEq(r, SetTimer(reinterpret_cast<HWND>(0x1234), 1, 10, Count), 0, "SetTimer's result");
    Expect(r, GetLastError() != 0, "an error is set");
}

// ---- message boxes ----

int ticksInBox;
int pressAfter;

void CALLBACK TickInBox(HWND, UINT, UINT_PTR, DWORD)
{
    if (++ticksInBox == pressAfter) {
        PressOkOnTheBox();
    }
}

// Shows a box owned by something that is not a window; the fallback user would press OK on
// a box that did show.
int BoxOfANonWindow()
{
    PressOkAnywayAfter(2000);
    SetLastError(0);
    return MessageBoxA(reinterpret_cast<HWND>(0x1234), "Error", "Zavrik", MB_OK | MB_ICONINFORMATION);
}

void BoxWithANonWindowOwnerFails(Result& r)
{
    const int result = BoxOfANonWindow();
    Expect(r, result != IDOK, "MessageBoxA shows no box");
    ExpectEq(r, GetLastError(), ERROR_INVALID_WINDOW_HANDLE, "the error");
}

void BoxWithANonWindowOwnerReturnsZero(Result& r)
{
    ExpectEq(r, static_cast<uintptr_t>(BoxOfANonWindow()), 0, "MessageBoxA's result");
}

// Shows a box owned by `owner`, whose modal loop must deliver three ticks of a thread timer;
// the third presses OK.
void BoxDeliversTicks(Result& r, HWND owner)
{
    ticksInBox = 0;
    pressAfter = 3;
    const UINT_PTR id = SetTimer(nullptr, 0, 20, TickInBox);
    PressOkAnywayAfter(5000);
    const int result = MessageBoxA(owner, "Error", "Zavrik", MB_OK | MB_ICONINFORMATION);
    KillTimer(nullptr, id);
    ExpectEq(r, static_cast<uintptr_t>(result), IDOK, "MessageBoxA's result");
    Expect(r, ticksInBox >= 3 && !PressedOkAnyway(), "the OK pressed at the third tick inside the box closed it");
}

void BoxWithoutOwnerDeliversTicks(Result& r)
{
    BoxDeliversTicks(r, nullptr);
}

void BoxOwnedByAWindowDeliversTicks(Result& r)
{
    HWND owner = CreateOwnerWindow();
    Expect(r, owner != nullptr, "a window to own the box");
    BoxDeliversTicks(r, owner);
    DestroyOwnerWindow(owner);
}

// ---- desktops ----

void OpensTheDefaultDesktop(Result& r)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    Expect(r, desktop != nullptr, "OpenDesktopA(\"Default\") gives a handle");
    Expect(r, desktop == nullptr || CloseDesktop(desktop), "CloseDesktop of it");
}

void DesktopNamesIgnoreCase(Result& r)
{
    HDESK desktop = OpenDesktopA("default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    Expect(r, desktop != nullptr, "OpenDesktopA(\"default\") gives a handle");
    if (desktop != nullptr) {
        CloseDesktop(desktop);
    }
}

void UnknownDesktopIsNotFound(Result& r)
{
    SetLastError(0);
    HDESK desktop = OpenDesktopA("NoSuchDesktop", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    ExpectEq(r, reinterpret_cast<uintptr_t>(desktop), 0, "OpenDesktopA's result");
    ExpectEq(r, GetLastError(), ERROR_FILE_NOT_FOUND, "the error");
}

void SwitchesWhileUnlocked(Result& r)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    Expect(r, desktop != nullptr && SwitchDesktop(desktop), "SwitchDesktop to \"Default\"");
    if (desktop != nullptr) {
        CloseDesktop(desktop);
    }
}

void SwitchNeedsTheAccessRight(Result& r)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_READOBJECTS);
    Expect(r, desktop != nullptr, "OpenDesktopA with DESKTOP_READOBJECTS only");
    if (desktop != nullptr) {
        SetLastError(0);
        Expect(r, !SwitchDesktop(desktop), "SwitchDesktop with that handle is refused");
        ExpectEq(r, GetLastError(), ERROR_ACCESS_DENIED, "the error");
        CloseDesktop(desktop);
    }
}

void SwitchRefusedWhileLocked(Result& r)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    SetLocked(true);
    Expect(r, desktop != nullptr && !SwitchDesktop(desktop), "SwitchDesktop while locked is refused");
    SetLocked(false);
    Expect(r, desktop != nullptr && SwitchDesktop(desktop), "and succeeds once unlocked");
    if (desktop != nullptr) {
        CloseDesktop(desktop);
    }
}

void ClosedHandleIsClosedOnce(Result& r)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    Expect(r, desktop != nullptr && CloseDesktop(desktop), "the first CloseDesktop");
    Expect(r, desktop != nullptr && !CloseDesktop(desktop), "a second CloseDesktop of the same handle fails");
}

// ---- the table ----

struct Row {
    const char* group;
    const char* behaviour;  // what Windows documents, which the row pins
    void (*check)(Result&);
    bool needsALock;          // the row locks the workstation
    const char* wineDiffers;  // how Wine departs from it, where it does
};

const Row Rows[] = {
    {"strings", "lstrcpynA with n = 1 writes only the terminator and returns the destination",
     CopyOfOneByteWritesOnlyTheTerminator, false, nullptr},
    {"strings", "lstrcpynA with n = 0 writes nothing and returns the destination",
     CopyOfZeroBytesWritesNothing, false, nullptr},
    {"strings", "lstrcpynA with n = the length copies n - 1 bytes and the terminator",
     CopyOfTheLengthCutsTheLastByte, false, nullptr},
    {"strings", "lstrcpynA with n > the length copies the string and its terminator, nothing after",
     CopyOfMoreThanTheLengthCopiesAllAndStops, false, nullptr},
    {"strings", "lstrcpynA counts bytes: it cuts a double-byte character in two",
     CopyCutsADoubleByteCharacterByBytes, false, nullptr},
    {"strings", "lstrcpynA without a destination returns NULL", CopyWithoutDestinationIsNull, false, nullptr},
    {"strings", "lstrlenA counts bytes, two for a double-byte character", LengthCountsBytes, false, nullptr},
    {"strings", "lstrlenA(NULL) is 0", LengthOfNullIsZero, false, nullptr},

    {"timers", "SetTimer(NULL, 0, ...) makes a thread timer with a non-zero identifier",
     ThreadTimerHasAnIdentifier, false, nullptr},
    {"timers", "a second thread timer gets an identifier of its own",
     SecondThreadTimerHasAnotherIdentifier, false, nullptr},
    {"timers", "SetTimer(NULL, id of a live timer, ...) re-arms that timer and returns its id",
     LiveIdentifierReArmsTheTimer, false, nullptr},
    {"timers", "a timer without a procedure posts WM_TIMER with lParam 0",
     TimerWithoutProcedureQueuesItsMessage, false, nullptr},
    {"timers", "KillTimer of a live timer is TRUE, of the same timer again FALSE", KillTimerOnceOnly, false, nullptr},
    {"timers", "KillTimer of an identifier never given out is FALSE", KillTimerOfAnUnknownIdentifier, false, nullptr},
    {"timers", "a timer's procedure runs only while the thread dispatches messages",
     TicksOnlyWhileDispatching, false, nullptr},
    {"timers", "missed periods give one WM_TIMER, however many went by", MissedPeriodsGiveOneMessage, false, nullptr},
    {"timers", "a WM_TIMER taken from the queue before KillTimer still reaches the procedure",
     TakenMessageOutlivesKillTimer, false, nullptr},
    {"timers", "a thread timer's WM_TIMER: no window, wParam the id, lParam the procedure, which gets them",
     TimerMessageNamesTimerAndProcedure, false, nullptr},
    {"timers", "a thread timer's WM_TIMER has the address of its procedure in lParam", TimerMessageCarriesTheProcedure,
     false, "Wine puts a handle of its own for the procedure in lParam"},
    {"timers", "a period counts from SetTimer: a 10 s timer has no WM_TIMER after 100 ms",
     PeriodCountsFromSetTimer, false, nullptr},
    {"timers", "a period below USER_TIMER_MINIMUM is raised to it", PeriodBelowTheMinimumIsRaised, false, nullptr},
    {"timers", "SetTimer with a handle that is not a window fails", TimerOfANonWindowIsRefused, false, nullptr},

    {"message_boxes", "MessageBoxA with an owner that is not a window shows nothing: ERROR_INVALID_WINDOW_HANDLE",
     BoxWithANonWindowOwnerFails, false, nullptr},
    {"message_boxes", "MessageBoxA that fails returns 0", BoxWithANonWindowOwnerReturnsZero, false,
     "Wine returns -1, the failure result of a dialog box"},
    {"message_boxes", "MessageBoxA without an owner: its modal loop delivers thread timer ticks; OK gives IDOK",
     BoxWithoutOwnerDeliversTicks, false, nullptr},
    {"message_boxes", "MessageBoxA owned by a window of the thread: the same",
     BoxOwnedByAWindowDeliversTicks, false, nullptr},

    {"desktops", "OpenDesktopA(\"Default\", 0, FALSE, DESKTOP_SWITCHDESKTOP) opens it; CloseDesktop closes it",
     OpensTheDefaultDesktop, false, nullptr},
    {"desktops", "desktop names ignore case: \"default\" opens it too", DesktopNamesIgnoreCase, false, nullptr},
    {"desktops", "OpenDesktopA of a desktop that does not exist fails with ERROR_FILE_NOT_FOUND",
     UnknownDesktopIsNotFound, false, nullptr},
    {"desktops", "SwitchDesktop to \"Default\" succeeds while the workstation is unlocked",
     SwitchesWhileUnlocked, false, nullptr},
    {"desktops", "SwitchDesktop needs DESKTOP_SWITCHDESKTOP: without it, ERROR_ACCESS_DENIED",
     SwitchNeedsTheAccessRight, false, "Wine does not enforce the access rights of desktop handles"},
    {"desktops", "SwitchDesktop is refused while the workstation is locked", SwitchRefusedWhileLocked, true, nullptr},
    {"desktops", "CloseDesktop of a handle already closed fails", ClosedHandleIsClosedOnce, false, nullptr},
};

bool Wanted(const char* group, int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (strcmp(argv[i], group) == 0) {
            return true;
        }
    }
    return argc == 1;
}

}  // namespace

int main(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        bool known = false;
        for (const Row& row : Rows) {
            known = known || strcmp(argv[i], row.group) == 0;
        }
        if (!known) {
            fprintf(stderr, "conformance: no group '%s'\n", argv[i]);
            return 2;
        }
    }
    int passed = 0;
    int failed = 0;
    int skipped = 0;
    for (const Row& row : Rows) {
        if (!Wanted(row.group, argc, argv)) {
            continue;
        }
        const char* why = CannotRun(row.needsALock, row.wineDiffers);
        if (why != nullptr) {
            printf("skip   %s: %s: %s\n", row.group, row.behaviour, why);
            ++skipped;
            continue;
        }
        PlatformReset();
        Result result;
        const auto start = std::chrono::steady_clock::now();
        row.check(result);
        const long ms = static_cast<long>(
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count());
        // Real time, for a row that took long enough to be worth knowing.
        const std::string took = ms >= 1000 ? " (" + std::to_string(ms) + " ms)" : "";
        if (result.failures.empty()) {
            printf("ok     %s: %s%s\n", row.group, row.behaviour, took.c_str());
            ++passed;
        } else {
            printf("FAILED %s: %s: %s%s\n", row.group, row.behaviour, result.failures.c_str(), took.c_str());
            ++failed;
        }
        fflush(stdout);
    }
    printf("conformance: %d passed, %d failed, %d skipped\n", passed, failed, skipped);
    return failed == 0 ? 0 : 1;
}
