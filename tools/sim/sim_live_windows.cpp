// Live mode: the real Zavrik.dll on the real platform with nothing hooked: its own 10-second
// timer, its own probe of the real desktop "Default", real message boxes for a person to
// close. The host is ours, with the scenario's connections; the scenario's option-dialog and
// terminate events play in real time. The plug-in's ticks are seen as they pass through this
// thread's message loop; what the desktop was at a tick is what this host finds when it
// switches to "Default" itself just before handing the tick over, and whether the tick left a
// handle open is told by the handle the process would be given next, before and after.
#include <stdio.h>
#include <windows.h>

#include <string>

#include "tools/fakehost/fake_host.h"
#include "tools/loader/plugin_loader.h"
#include "tools/sim/sim_platform.h"
#include "tools/sim/timeline.h"

namespace {

DWORD startTicks;
PluginLibrary plugin;
bool running;
const Scenario* playing;
size_t nextEvent;
UINT_PTR eventTimer;
TimelineStyle style;
size_t printed;  // bytes of the timeline already printed
int ticks;
int leakingTicks;

uint32_t LiveNow(void)
{
    return GetTickCount() - startTicks;
}

// The timeline only grows (quiet ticks are not folded): print what is new.
void PrintNew()
{
    const std::string timeline = RenderTimeline(TraceLines(), style);
    if (timeline.size() > printed) {
        fputs(timeline.c_str() + printed, stdout);
        fflush(stdout);
        printed = timeline.size();
    }
}

const char* DesktopNow()
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    if (desktop == nullptr) {
        return "the desktop cannot be opened: counts as unlocked";
    }
    const bool switched = SwitchDesktop(desktop) != FALSE;
    CloseDesktop(desktop);
    return switched ? "unlocked" : "locked";
}

// The handle value the process would be given next. A handle closed is the next one given
// out again, so a tick that opens a desktop and closes it leaves this value as it found it,
// and a tick that leaves a handle open does not.
uintptr_t NextHandle()
{
    HANDLE probe = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    CloseHandle(probe);
    return reinterpret_cast<uintptr_t>(probe);
}

void StopLivePlugin()
{
    SimTerminate(plugin);
    running = false;
}

void CALLBACK OnEvent(HWND, UINT, UINT_PTR, DWORD);

// The timer of the next event, or of the end.
void ArmEventTimer()
{
    const uint32_t dueMs = nextEvent < playing->events.size() ? playing->events[nextEvent].atMs : playing->endMs;
    const uint32_t now = LiveNow();
    eventTimer = SetTimer(nullptr, eventTimer, dueMs > now ? dueMs - now : 0, OnEvent);
}

// Plays what is due. The next event's timer is armed before an event runs, so that events
// still come while the option dialog's box is open, as messages do.
void CALLBACK OnEvent(HWND, UINT, UINT_PTR, DWORD)
{
    while (nextEvent < playing->events.size() && playing->events[nextEvent].atMs <= LiveNow()) {
        const ScenarioEvent& event = playing->events[nextEvent++];
        ArmEventTimer();
        if (event.kind == EventOptionDialog) {
            TraceAdd(TraceWorld, "the user opens the plug-in's options (a real box: close it)");
            PrintNew();
            FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", 0, 0);
        } else if (event.kind == EventTerminate) {
            TraceAdd(TraceWorld, "the host stops the plug-in");
            if (running) {
                StopLivePlugin();
            }
        }
        PrintNew();
    }
    if (nextEvent == playing->events.size() && LiveNow() >= playing->endMs) {
        KillTimer(nullptr, eventTimer);
        PostQuitMessage(0);
    }
}

}  // namespace

int SimRunLive(const Scenario& scenario, const SimOptions& options)
{
    startTicks = GetTickCount();
    TraceSetClock(LiveNow);
    if (!SimStartHost(scenario, options, &plugin)) {
        return 3;
    }
    style = options.style;
    style.fold = false;
    playing = &scenario;
    printf("Zavrik scenario host: %s, live: the real Zavrik.dll, its real timer, the real desktop, real boxes\n",
           options.title.c_str());
    SimReadIdentity(plugin);
    HostServices record = FakeHostRecord();
    TraceAdd(TracePlugin, "Initialize -> " + std::to_string(plugin.initialize(&record)));
    running = true;
    PrintNew();

    ArmEventTimer();
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        // Any other thread timer of this thread is the plug-in's.
        const bool tick = message.message == WM_TIMER && message.hwnd == nullptr && message.wParam != eventTimer;
        uintptr_t nextHandle = 0;
        if (tick) {
            TraceAdd(TraceTick, std::string(LiveTickPrefix) + DesktopNow());
            nextHandle = NextHandle();
            ++ticks;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
        if (tick) {
            if (NextHandle() != nextHandle) {
                ++leakingTicks;
                TraceAdd(TraceFault, "FAULT the tick left a handle open");
            }
            PrintNew();
        }
    }
    TraceAdd(TraceWorld, "the scenario ends; the host shuts down");
    if (running) {
        StopLivePlugin();
    }
    UnloadPlugin(&plugin);
    PrintNew();

    int transitions = 0;
    int hostCalls = 0;
    for (const TraceLine& line : TraceLines()) {
        transitions += line.kind == TraceHost && line.text == "Enum" ? 1 : 0;
        hostCalls += line.kind == TraceHost && line.text != "Enum end" ? 1 : 0;
    }
    printf("summary (live): %d transition%s, %d host calls, %d ticks through the host's loop, %d ticks left a handle "
           "open, %d faults\n",
           transitions, transitions == 1 ? "" : "s", hostCalls, ticks, leakingTicks, TraceFaultCount());
    fflush(stdout);
    return TraceFaultCount() > 0 ? 1 : 0;
}
