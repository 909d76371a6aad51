#include "tools/sim/sim_run.h"

#include <stdio.h>

#include "platform/standin/standin_control.h"
#include "tools/fakehost/fake_host.h"
#include "tools/loader/plugin_loader.h"
#include "tools/sim/sim_platform.h"

namespace {

PluginLibrary plugin;
bool running;

const char* WorldText(ScenarioEventKind kind)
{
    switch (kind) {
    case EventLock:
        return "the user locks the workstation";
    case EventUnlock:
        return "the user unlocks the workstation";
    case EventOpenFails:
        return "the desktop can no longer be opened";
    case EventOpenWorks:
        return "the desktop can be opened again";
    case EventOptionDialog:
        return "the user opens the plug-in's options";
    case EventTerminate:
        return "the host stops the plug-in";
    }
    return "?";
}

void StopPlugin()
{
    SimTerminate(plugin);
    running = false;
}

// Runs from the thread's dispatch at the event's time, possibly inside an open box.
void PlayEvent(void* context)
{
    const ScenarioEvent& event = *static_cast<const ScenarioEvent*>(context);
    TraceAdd(TraceWorld, WorldText(event.kind));
    switch (event.kind) {
    case EventLock:
        StandInSetLocked(true);
        break;
    case EventUnlock:
        StandInSetLocked(false);
        break;
    case EventOpenFails:
        StandInSetOpenFails(true);
        break;
    case EventOpenWorks:
        StandInSetOpenFails(false);
        break;
    case EventOptionDialog:
        FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", 0, 0);
        break;
    case EventTerminate:
        if (running) {
            StopPlugin();
        }
        break;
    }
}

}  // namespace

bool SimStartHost(const Scenario& scenario, const SimOptions& options, PluginLibrary* library)
{
    FakeHostReset();
    for (const ScenarioConnection& c : scenario.connections) {
        FakeConnectionSetup setup;
        setup.name = c.name;
        setup.protocol = c.protocol;
        setup.hasService = c.hasService;
        setup.changeResult = c.result;
        FakeHostAddConnection(setup);
    }
    char error[512];
    if (!LoadPlugin(options.pluginPath.c_str(), library, error, sizeof error)) {
        fprintf(stderr, "zavrik-sim: %s\n", error);
        return false;
    }
    return true;
}

void SimReadIdentity(const PluginLibrary& library)
{
    for (int index = 0; index < 7; ++index) {
        char buffer[256];
        const int32_t length = library.getPluginInfo(index, buffer, sizeof buffer);
        TraceAdd(TracePlugin, "GetPluginInfo " + std::to_string(index) + " -> \"" +
                                  std::string(buffer, static_cast<size_t>(length)) + "\" (" + std::to_string(length) +
                                  " bytes)");
    }
}

void SimTerminate(const PluginLibrary& library)
{
    TraceAdd(TracePlugin, "Terminate -> " + std::to_string(library.terminate()));
}

int RunScenario(const Scenario& scenario, const SimOptions& options)
{
    StandInReset();
    if (!SimStartHost(scenario, options, &plugin)) {
        return 3;
    }
    char error[512];
    if (!SimPreparePlugin(plugin, error, sizeof error)) {
        fprintf(stderr, "zavrik-sim: %s\n", error);
        UnloadPlugin(&plugin);
        return 3;
    }
    StandInSetBoxRule(scenario.box);
    StandInSetHorizon(scenario.endMs);

    SimReadIdentity(plugin);
    HostServices record = FakeHostRecord();
    const int32_t started = plugin.initialize(&record);
    TraceAdd(TracePlugin, "Initialize -> " + std::to_string(started));
    running = true;

    for (const ScenarioEvent& event : scenario.events) {
        StandInSchedule(event.atMs, PlayEvent, const_cast<ScenarioEvent*>(&event));
    }
    StandInPumpUntil(scenario.endMs);
    TraceAdd(TraceWorld, "the scenario ends; the host shuts down");
    if (running) {
        StopPlugin();
    }
    const StandInCounts counts = StandInGetCounts();
    UnloadPlugin(&plugin);

    printf("Zavrik scenario host: %s\n", options.title.c_str());
    fputs(RenderTimeline(TraceLines(), options.style).c_str(), stdout);
    fputs(RenderSummary(TraceLines(), counts, options.style).c_str(), stdout);
    fflush(stdout);
    return TraceFaultCount() > 0 ? 1 : 0;
}
