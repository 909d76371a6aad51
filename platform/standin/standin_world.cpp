// The stand-in's world: the virtual clock and the thread's message queue and dispatch, the
// lock state, the desktop handles, windows, thread timers and modal message boxes.
#include "platform/standin/standin_calls.h"
#include "platform/standin/standin_control.h"
#include "platform/standin/standin_timers.h"

namespace {

constexpr int MaxTimers = 16;
constexpr int MaxActions = 4096;
constexpr int MaxDesktopHandles = 64;
constexpr int MaxWindows = 16;
constexpr uint32_t Forever = 0xFFFFFFFFu;
// Thread timer identifiers are handed out from here, so none of them is 0 or a small number
// a caller might have passed as its own identifier.
constexpr UINT_PTR FirstTimerId = 0x7A00;
// Desktop handles are multiples of 4 from here; a closed handle is never handed out again.
constexpr uintptr_t FirstDesktopHandle = 0x5D000;
// Windows, likewise.
constexpr uintptr_t FirstWindow = 0x3A000;
// What a window timer's SetTimer returns.
constexpr UINT_PTR WindowTimerResult = 1;

struct ScheduledAction {
    uint32_t atMs;
    StandInAction action;
    void* context;
};

struct DesktopHandle {
    uintptr_t value;  // 0: a free slot
    ACCESS_MASK access;
};

struct World {
    uint32_t nowMs;
    uint32_t horizonMs;
    bool locked;
    bool openFails;
    bool timerFails;
    StandInBoxRule boxRule;
    StandInTimer timers[MaxTimers];
    int timerCount;  // slots in use, live or not, in creation order
    UINT_PTR nextTimerId;
    ScheduledAction actions[MaxActions];
    int actionCount;  // sorted by instant, then by the order they were scheduled
    DesktopHandle desktops[MaxDesktopHandles];
    uintptr_t nextDesktopHandle;
    HWND windows[MaxWindows];
    int windowCount;
    int tickDepth;
    int closeRequest;  // the depth of the box the user pressed OK on; 0 for none
    DWORD lastError;
    StandInCounts counts;
};

World world;
StandInObserver observer;
void* observerContext;

StandInEvent NewEvent(StandInEventKind kind)
{
    StandInEvent event = {};
    event.kind = kind;
    event.timeMs = world.nowMs;
    return event;
}

void Report(const StandInEvent& event)
{
    if (observer != nullptr) {
        observer(&event, observerContext);
    }
}

// Object names compare without regard to case, as Windows compares them.
bool NameEquals(const char* a, const char* b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    while (*a != '\0' && lower(*a) == lower(*b)) {
        ++a;
        ++b;
    }
    return lower(*a) == lower(*b);
}

DesktopHandle* FindOpenDesktop(HDESK desktop)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(desktop);
    for (DesktopHandle& handle : world.desktops) {
        if (value != 0 && handle.value == value) {
            return &handle;
        }
    }
    return nullptr;
}

bool IsStandInWindow(HWND window)
{
    for (int i = 0; i < world.windowCount; ++i) {
        if (world.windows[i] == window) {
            return true;
        }
    }
    return false;
}

StandInTimer* FindLiveTimer(HWND window, UINT_PTR id)
{
    for (int i = 0; i < world.timerCount; ++i) {
        StandInTimer& timer = world.timers[i];
        if (timer.live && timer.window == window && timer.id == id) {
            return &timer;
        }
    }
    return nullptr;
}

// The live timer that comes due first (the first created of those due at the same instant),
// among those `matches` accepts.
template <typename Matches>
StandInTimer* NextDueTimer(Matches matches)
{
    StandInTimer* next = nullptr;
    for (int i = 0; i < world.timerCount; ++i) {
        StandInTimer& timer = world.timers[i];
        if (timer.live && matches(timer) && (next == nullptr || timer.dueMs < next->dueMs)) {
            next = &timer;
        }
    }
    return next;
}

uint32_t AddSaturated(uint32_t a, uint32_t b)
{
    return b > Forever - a ? Forever : a + b;
}

MSG TimerMessage(const StandInTimer& timer)
{
    MSG message = {};
    message.hwnd = timer.window;
    message.message = WM_TIMER;
    message.wParam = timer.id;
    message.lParam = reinterpret_cast<LPARAM>(timer.proc);
    message.time = world.nowMs;
    return message;
}

// Takes the timer's WM_TIMER from the queue. The timer comes due again at its first period
// boundary after now: periods missed while the thread did not dispatch give no more ticks.
MSG TakeTimerMessage(StandInTimer& timer)
{
    const MSG message = TimerMessage(timer);
    if (timer.dueMs <= world.nowMs) {
        const uint32_t missed = (world.nowMs - timer.dueMs) / timer.period + 1;
        const uint64_t next = static_cast<uint64_t>(timer.dueMs) + static_cast<uint64_t>(missed) * timer.period;
        timer.dueMs = next > Forever ? Forever : static_cast<uint32_t>(next);
    }
    return message;
}

// Dispatches the thread's messages until the instant `targetMs` or until `done` says so.
// Returns whether `done` said so.
template <typename Done>
bool RunUntil(uint32_t targetMs, Done done)
{
    if (targetMs > world.horizonMs) {
        targetMs = world.horizonMs;
    }
    for (;;) {
        if (done()) {
            return true;
        }
        const uint32_t actionMs = world.actionCount > 0 ? world.actions[0].atMs : Forever;
        StandInTimer* timer = NextDueTimer([](const StandInTimer&) { return true; });
        const uint32_t timerMs = timer != nullptr ? timer->dueMs : Forever;
        if (actionMs > targetMs && timerMs > targetMs) {
            if (world.nowMs < targetMs) {
                world.nowMs = targetMs;
            }
            return done();
        }
        if (actionMs <= timerMs) {
            const ScheduledAction due = world.actions[0];
            for (int i = 1; i < world.actionCount; ++i) {
                world.actions[i - 1] = world.actions[i];
            }
            --world.actionCount;
            if (world.nowMs < due.atMs) {
                world.nowMs = due.atMs;
            }
            Report(NewEvent(StandInEvAction));
            due.action(due.context);
        } else {
            if (world.nowMs < timerMs) {
                world.nowMs = timerMs;
            }
            const MSG message = TakeTimerMessage(*timer);
            StandInDeliverTick(*timer, message);
        }
    }
}

bool Never()
{
    return false;
}

}  // namespace

// ---- controls ----

extern "C" void StandInReset(void)
{
    for (int i = 0; i < world.timerCount; ++i) {
        if (world.timers[i].live) {
            world.timers[i].live = false;
            StandInTimerStopped(world.timers[i]);
        }
    }
    world = World{};
    world.horizonMs = Forever;
    world.boxRule = StandInBoxRule{StandInBoxAtOnce, 0};
    world.nextTimerId = FirstTimerId;
    world.nextDesktopHandle = FirstDesktopHandle;
}

extern "C" void StandInSetObserver(StandInObserver newObserver, void* context)
{
    observer = newObserver;
    observerContext = context;
}

extern "C" uint32_t StandInNow(void)
{
    return world.nowMs;
}

extern "C" void StandInSetHorizon(uint32_t atMs)
{
    world.horizonMs = atMs;
}

extern "C" void StandInPump(uint32_t ms)
{
    RunUntil(AddSaturated(world.nowMs, ms), Never);
}

extern "C" void StandInPumpUntil(uint32_t atMs)
{
    RunUntil(atMs, Never);
}

extern "C" bool StandInSchedule(uint32_t atMs, StandInAction action, void* context)
{
    if (world.actionCount == MaxActions || action == nullptr) {
        return false;
    }
    if (atMs < world.nowMs) {
        atMs = world.nowMs;
    }
    int at = world.actionCount;
    while (at > 0 && world.actions[at - 1].atMs > atMs) {
        world.actions[at] = world.actions[at - 1];
        --at;
    }
    world.actions[at] = ScheduledAction{atMs, action, context};
    ++world.actionCount;
    return true;
}

extern "C" void StandInSetLocked(bool locked)
{
    world.locked = locked;
}

extern "C" bool StandInIsLocked(void)
{
    return world.locked;
}

extern "C" void StandInSetOpenFails(bool fails)
{
    world.openFails = fails;
}

extern "C" void StandInSetTimerFails(bool fails)
{
    world.timerFails = fails;
}

extern "C" void StandInSetBoxRule(StandInBoxRule rule)
{
    world.boxRule = rule;
}

extern "C" void StandInCloseOpenBox(void)
{
    world.closeRequest = world.counts.boxesOpen;
}

extern "C" HWND StandInCreateWindow(void)
{
    if (world.windowCount == MaxWindows) {
        return nullptr;
    }
    HWND window = reinterpret_cast<HWND>(FirstWindow + 4 * static_cast<uintptr_t>(world.windowCount));
    world.windows[world.windowCount++] = window;
    return window;
}

extern "C" StandInCounts StandInGetCounts(void)
{
    StandInCounts counts = world.counts;
    counts.liveTimers = 0;
    for (int i = 0; i < world.timerCount; ++i) {
        counts.liveTimers += world.timers[i].live ? 1 : 0;
    }
    return counts;
}

// ---- the Windows calls ----

// Only the interactive desktop "Default" exists; it can be opened unless the world says
// opening fails. Every handle handed out must be closed exactly once, and keeps the access
// it was opened with.
HDESK WINAPI StandInOpenDesktopA(LPCSTR name, DWORD flags, BOOL inherit, ACCESS_MASK access)
{
    StandInEvent event = NewEvent(StandInEvOpenDesktop);
    event.text = name;
    event.flags = flags;
    event.inherit = inherit;
    event.access = access;
    DesktopHandle* slot = nullptr;
    for (DesktopHandle& handle : world.desktops) {
        slot = slot == nullptr && handle.value == 0 ? &handle : slot;
    }
    DWORD error = 0;
    if (name == nullptr || !NameEquals(name, "Default")) {
        error = ERROR_FILE_NOT_FOUND;
    } else if (world.openFails) {
        error = ERROR_ACCESS_DENIED;
    } else if (slot == nullptr) {
        error = ERROR_NOT_ENOUGH_MEMORY;
    }
    if (error != 0) {
        world.lastError = error;
        ++world.counts.failedOpens;
        Report(event);
        return nullptr;
    }
    const uintptr_t handle = world.nextDesktopHandle;
    world.nextDesktopHandle += 4;
    *slot = DesktopHandle{handle, access};
    ++world.counts.desktopOpens;
    ++world.counts.desktopsOpen;
    event.handle = handle;
    event.result = static_cast<intptr_t>(handle);
    Report(event);
    return reinterpret_cast<HDESK>(handle);
}

// The switch needs a handle opened with DESKTOP_SWITCHDESKTOP; while the workstation is
// locked the secure desktop holds the input and every switch is refused.
BOOL WINAPI StandInSwitchDesktop(HDESK desktop)
{
    StandInEvent event = NewEvent(StandInEvSwitchDesktop);
    event.handle = reinterpret_cast<uintptr_t>(desktop);
    const DesktopHandle* handle = FindOpenDesktop(desktop);
    BOOL result = FALSE;
    if (handle == nullptr) {
        ++world.counts.badHandles;
        world.lastError = ERROR_INVALID_HANDLE;
    } else if ((handle->access & DESKTOP_SWITCHDESKTOP) == 0) {
        world.lastError = ERROR_ACCESS_DENIED;
    } else if (world.locked) {
        ++world.counts.refusedSwitches;
    } else {
        ++world.counts.switches;
        result = TRUE;
    }
    event.result = result;
    Report(event);
    return result;
}

BOOL WINAPI StandInCloseDesktop(HDESK desktop)
{
    StandInEvent event = NewEvent(StandInEvCloseDesktop);
    event.handle = reinterpret_cast<uintptr_t>(desktop);
    DesktopHandle* handle = FindOpenDesktop(desktop);
    if (handle == nullptr) {
        ++world.counts.badHandles;
        world.lastError = ERROR_INVALID_HANDLE;
    } else {
        *handle = DesktopHandle{};
        ++world.counts.desktopCloses;
        --world.counts.desktopsOpen;
    }
    event.result = handle == nullptr ? FALSE : TRUE;
    Report(event);
    return handle == nullptr ? FALSE : TRUE;
}

// A thread timer (no window) gets an identifier of its own, unless `eventId` names a live
// thread timer, which is then re-armed; a window's timer is known by its window and
// `eventId`. The period is held between USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM. A timer
// needs no procedure: its WM_TIMER then goes nowhere when dispatched.
UINT_PTR WINAPI StandInSetTimer(HWND window, UINT_PTR eventId, UINT elapse, TIMERPROC proc)
{
    StandInEvent event = NewEvent(StandInEvSetTimer);
    event.handle = eventId;
    event.period = elapse;
    uint32_t period = elapse;
    if (period < USER_TIMER_MINIMUM) {
        period = USER_TIMER_MINIMUM;
    }
    if (period > USER_TIMER_MAXIMUM) {
        period = USER_TIMER_MAXIMUM;
    }
    if (window != nullptr && !IsStandInWindow(window)) {
        world.lastError = ERROR_INVALID_WINDOW_HANDLE;
        Report(event);
        return 0;
    }
    StandInTimer* timer = FindLiveTimer(window, eventId);
    if (timer == nullptr && !world.timerFails) {
        if (world.timerCount == MaxTimers) {
            // Reuse the slot of a dead timer, keeping creation order for the live ones.
            int kept = 0;
            for (int i = 0; i < world.timerCount; ++i) {
                if (world.timers[i].live) {
                    world.timers[kept++] = world.timers[i];
                }
            }
            world.timerCount = kept;
        }
        if (world.timerCount < MaxTimers) {
            timer = &world.timers[world.timerCount++];
            timer->window = window;
            timer->id = window != nullptr ? eventId : world.nextTimerId++;
        }
    }
    if (world.timerFails || timer == nullptr) {
        world.lastError = ERROR_NOT_ENOUGH_MEMORY;
        Report(event);
        return 0;
    }
    timer->live = true;
    timer->period = period;
    timer->dueMs = AddSaturated(world.nowMs, period);
    timer->proc = proc;
    ++world.counts.timersSet;
    const UINT_PTR result = window != nullptr ? WindowTimerResult : timer->id;
    event.result = static_cast<intptr_t>(result);
    Report(event);
    StandInTimerStarted(*timer);
    return result;
}

// Stops the timer; a WM_TIMER of it not yet taken from the queue is gone with it.
BOOL WINAPI StandInKillTimer(HWND window, UINT_PTR eventId)
{
    StandInEvent event = NewEvent(StandInEvKillTimer);
    event.handle = eventId;
    StandInTimer* timer = FindLiveTimer(window, eventId);
    if (timer != nullptr) {
        timer->live = false;
        ++world.counts.timersKilled;
        StandInTimerStopped(*timer);
    }
    event.result = timer != nullptr ? TRUE : FALSE;
    Report(event);
    return timer != nullptr ? TRUE : FALSE;
}

// The queue holds a WM_TIMER for each timer that has come due: one, however many periods
// went by. `window` NULL takes the thread's messages of any window or none.
BOOL WINAPI StandInPeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT remove)
{
    if ((filterMin != 0 || filterMax != 0) && (WM_TIMER < filterMin || WM_TIMER > filterMax)) {
        return FALSE;
    }
    StandInTimer* timer = NextDueTimer([window](const StandInTimer& t) {
        return t.dueMs <= world.nowMs && (window == nullptr || t.window == window);
    });
    if (timer == nullptr) {
        return FALSE;
    }
    *message = (remove & PM_REMOVE) != 0 ? TakeTimerMessage(*timer) : TimerMessage(*timer);
    return TRUE;
}

// A WM_TIMER goes to the procedure its lParam names, whether or not the timer still lives.
LRESULT WINAPI StandInDispatchMessageA(const MSG* message)
{
    if (message == nullptr || message->message != WM_TIMER || message->lParam == 0) {
        return 0;
    }
    const TIMERPROC proc = reinterpret_cast<TIMERPROC>(message->lParam);
    const UINT_PTR id = message->wParam;
    ++world.tickDepth;
    ++world.counts.ticks;
    if (world.tickDepth > world.counts.maxTickDepth) {
        world.counts.maxTickDepth = world.tickDepth;
    }
    StandInEvent event = NewEvent(StandInEvTick);
    event.handle = id;
    event.depth = world.tickDepth;
    Report(event);
    proc(message->hwnd, WM_TIMER, id, world.nowMs);
    StandInEvent end = NewEvent(StandInEvTickEnd);
    end.handle = id;
    end.depth = world.tickDepth;
    Report(end);
    --world.tickDepth;
    return 0;
}

// Modal: the box keeps dispatching the thread's messages, ticks and scheduled actions
// included, until the user closes it, by the rule in force when it opened or by
// StandInCloseOpenBox. An owner that is not a window refuses the box.
int WINAPI StandInMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    if (owner != nullptr && !IsStandInWindow(owner)) {
        world.lastError = ERROR_INVALID_WINDOW_HANDLE;
        ++world.counts.refusedBoxes;
        StandInEvent refused = NewEvent(StandInEvBoxRefused);
        refused.owner = owner;
        refused.text = text;
        refused.caption = caption;
        refused.style = style;
        Report(refused);
        return 0;
    }
    const StandInBoxRule rule = world.boxRule;
    ++world.counts.boxes;
    const int depth = ++world.counts.boxesOpen;
    StandInEvent event = NewEvent(StandInEvBoxOpen);
    event.owner = owner;
    event.text = text;
    event.caption = caption;
    event.style = style;
    event.depth = depth;
    Report(event);

    const int ticksAtOpen = world.counts.ticks;
    auto pressedOk = [depth] { return world.closeRequest == depth; };
    bool closed = true;
    switch (rule.mode) {
    case StandInBoxAtOnce:
        break;
    case StandInBoxAfterMs:
    {
        const uint32_t closeAtMs = AddSaturated(event.timeMs, rule.value);
        closed = RunUntil(closeAtMs, pressedOk) || world.nowMs >= closeAtMs;
        break;
    }
    case StandInBoxAfterTicks:
        closed = RunUntil(Forever, [&] {
            return pressedOk() || world.counts.ticks - ticksAtOpen >= static_cast<int>(rule.value);
        });
        break;
    case StandInBoxWhenUnlocked:
        closed = RunUntil(Forever, [&] { return pressedOk() || !world.locked; });
        break;
    }
    if (pressedOk()) {
        world.closeRequest = 0;
    }

    --world.counts.boxesOpen;
    StandInEvent close = NewEvent(StandInEvBoxClose);
    close.owner = owner;
    close.text = text;
    close.caption = caption;
    close.style = style;
    close.closedBy = closed ? "the user" : "the end of time";
    close.result = IDOK;
    close.depth = depth;
    Report(close);
    return IDOK;
}

void WINAPI StandInSleep(DWORD ms)
{
    world.nowMs = AddSaturated(world.nowMs, ms);
}

DWORD WINAPI StandInGetLastError(void)
{
    return world.lastError;
}

void WINAPI StandInSetLastError(DWORD error)
{
    world.lastError = error;
}
