// The stand-in's world: the virtual clock and the thread's dispatch, the lock state, the
// desktop handles, thread timers and modal message boxes.
#include "platform/standin/standin_calls.h"
#include "platform/standin/standin_control.h"
#include "platform/standin/standin_timers.h"

namespace {

constexpr int MaxTimers = 16;
constexpr int MaxActions = 4096;
constexpr int MaxDesktopHandles = 64;
constexpr uint32_t Forever = 0xFFFFFFFFu;
// Thread timer identifiers are handed out from here, so none of them is 0 or a small number
// a caller might have passed as its own identifier.
constexpr UINT_PTR FirstTimerId = 0x7A00;
// Desktop handles are multiples of 4 from here; a closed handle is never handed out again.
constexpr uintptr_t FirstDesktopHandle = 0x5D000;

struct ScheduledAction {
    uint32_t atMs;
    StandInAction action;
    void* context;
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
    uintptr_t openDesktops[MaxDesktopHandles];
    uintptr_t nextDesktopHandle;
    int tickDepth;
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

bool TextEquals(const char* a, const char* b)
{
    while (*a != '\0' && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

int FindOpenDesktop(HDESK desktop)
{
    const uintptr_t value = reinterpret_cast<uintptr_t>(desktop);
    for (int i = 0; i < MaxDesktopHandles; ++i) {
        if (value != 0 && world.openDesktops[i] == value) {
            return i;
        }
    }
    return -1;
}

StandInTimer* FindLiveTimer(UINT_PTR id)
{
    for (int i = 0; i < world.timerCount; ++i) {
        if (world.timers[i].live && world.timers[i].id == id) {
            return &world.timers[i];
        }
    }
    return nullptr;
}

StandInTimer* NextDueTimer()
{
    StandInTimer* next = nullptr;
    for (int i = 0; i < world.timerCount; ++i) {
        StandInTimer& timer = world.timers[i];
        if (timer.live && (next == nullptr || timer.dueMs < next->dueMs)) {
            next = &timer;
        }
    }
    return next;
}

uint32_t AddSaturated(uint32_t a, uint32_t b)
{
    return b > Forever - a ? Forever : a + b;
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
        StandInTimer* timer = NextDueTimer();
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
            world.nowMs = timerMs;
            timer->dueMs = AddSaturated(timerMs, timer->period);
            StandInDeliverTick(*timer);
        }
    }
}

bool Never()
{
    return false;
}

}  // namespace

void StandInCallTimerProc(const StandInTimer& due)
{
    // The procedure may set or kill timers, which moves the table under `due`.
    const StandInTimer timer = due;
    ++world.tickDepth;
    ++world.counts.ticks;
    if (world.tickDepth > world.counts.maxTickDepth) {
        world.counts.maxTickDepth = world.tickDepth;
    }
    StandInEvent event = NewEvent(StandInEvTick);
    event.handle = timer.id;
    event.depth = world.tickDepth;
    Report(event);
    timer.proc(nullptr, WM_TIMER, timer.id, world.nowMs);
    StandInEvent end = NewEvent(StandInEvTickEnd);
    end.handle = timer.id;
    end.depth = world.tickDepth;
    Report(end);
    --world.tickDepth;
}

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

extern "C" StandInCounts StandInGetCounts(void)
{
    StandInCounts counts = world.counts;
    counts.liveTimers = 0;
    for (int i = 0; i < world.timerCount; ++i) {
        counts.liveTimers += world.timers[i].live ? 1 : 0;
    }
    return counts;
}

extern "C" UINT_PTR StandInTimerId(int n)
{
    return n >= 0 && static_cast<UINT_PTR>(n) < world.nextTimerId - FirstTimerId ? FirstTimerId + static_cast<UINT_PTR>(n) : 0;
}

extern "C" bool StandInDispatchTakenTick(UINT_PTR id)
{
    for (int i = 0; i < world.timerCount; ++i) {
        if (world.timers[i].id == id) {
            StandInCallTimerProc(world.timers[i]);
            return true;
        }
    }
    return false;
}

// ---- the Windows calls ----

// Only the interactive desktop "Default" exists; it can be opened for switching unless the
// world says opening fails. Every handle handed out must be closed exactly once.
HDESK WINAPI StandInOpenDesktopA(LPCSTR name, DWORD flags, BOOL inherit, ACCESS_MASK access)
{
    StandInEvent event = NewEvent(StandInEvOpenDesktop);
    event.text = name;
    event.flags = flags;
    event.inherit = inherit;
    event.access = access;
    int slot = -1;
    for (int i = 0; i < MaxDesktopHandles && slot < 0; ++i) {
        slot = world.openDesktops[i] == 0 ? i : -1;
    }
    if (world.openFails || name == nullptr || !TextEquals(name, "Default") || slot < 0) {
        ++world.counts.failedOpens;
        Report(event);
        return nullptr;
    }
    const uintptr_t handle = world.nextDesktopHandle;
    world.nextDesktopHandle += 4;
    world.openDesktops[slot] = handle;
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
    BOOL result = FALSE;
    if (FindOpenDesktop(desktop) < 0) {
        ++world.counts.badHandles;
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
    const int slot = FindOpenDesktop(desktop);
    if (slot < 0) {
        ++world.counts.badHandles;
    } else {
        world.openDesktops[slot] = 0;
        ++world.counts.desktopCloses;
        --world.counts.desktopsOpen;
    }
    event.result = slot < 0 ? FALSE : TRUE;
    Report(event);
    return slot < 0 ? FALSE : TRUE;
}

// Thread timers only (no window). An identifier that names a live timer of the thread
// re-arms that timer; any other identifier is ignored and a new one is handed out. The
// period is held between USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM.
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
    StandInTimer* timer = FindLiveTimer(eventId);
    if (timer == nullptr && !world.timerFails && window == nullptr && proc != nullptr) {
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
            timer->id = world.nextTimerId++;
        }
    }
    if (world.timerFails || window != nullptr || proc == nullptr || timer == nullptr) {
        Report(event);
        return 0;
    }
    timer->live = true;
    timer->period = period;
    timer->dueMs = AddSaturated(world.nowMs, period);
    timer->proc = proc;
    ++world.counts.timersSet;
    event.result = static_cast<intptr_t>(timer->id);
    Report(event);
    StandInTimerStarted(*timer);
    return timer->id;
}

// Stops the timer and drops any tick of it that is still due.
BOOL WINAPI StandInKillTimer(HWND window, UINT_PTR eventId)
{
    StandInEvent event = NewEvent(StandInEvKillTimer);
    event.handle = eventId;
    StandInTimer* timer = window == nullptr ? FindLiveTimer(eventId) : nullptr;
    if (timer != nullptr) {
        timer->live = false;
        ++world.counts.timersKilled;
        StandInTimerStopped(*timer);
    }
    event.result = timer != nullptr ? TRUE : FALSE;
    Report(event);
    return timer != nullptr ? TRUE : FALSE;
}

// Modal: the box keeps dispatching the thread's messages, ticks and scheduled actions
// included, until the user closes it by the rule in force when it opened.
int WINAPI StandInMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT style)
{
    const StandInBoxRule rule = world.boxRule;
    ++world.counts.boxes;
    ++world.counts.boxesOpen;
    StandInEvent event = NewEvent(StandInEvBoxOpen);
    event.owner = owner;
    event.text = text;
    event.caption = caption;
    event.style = style;
    event.depth = world.counts.boxesOpen;
    Report(event);

    const int ticksAtOpen = world.counts.ticks;
    bool closed = true;
    const char* closedBy = "the user";
    switch (rule.mode) {
    case StandInBoxAtOnce:
        break;
    case StandInBoxAfterMs:
    {
        const uint32_t closeAtMs = AddSaturated(event.timeMs, rule.value);
        RunUntil(closeAtMs, Never);
        closed = world.nowMs >= closeAtMs;
        break;
    }
    case StandInBoxAfterTicks:
        closed = RunUntil(Forever, [&] { return world.counts.ticks - ticksAtOpen >= static_cast<int>(rule.value); });
        break;
    case StandInBoxWhenUnlocked:
        closed = RunUntil(Forever, [] { return !world.locked; });
        break;
    }
    if (!closed) {
        closedBy = "the end of time";
    }

    --world.counts.boxesOpen;
    StandInEvent close = NewEvent(StandInEvBoxClose);
    close.owner = owner;
    close.text = text;
    close.caption = caption;
    close.style = style;
    close.closedBy = closedBy;
    close.result = IDOK;
    close.depth = world.counts.boxesOpen + 1;
    Report(close);
    return IDOK;
}
