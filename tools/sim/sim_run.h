// Playing a scenario: the plug-in loaded into the fake host, the timeline on the virtual
// clock.
#pragma once

#include <string>

#include "tools/loader/plugin_loader.h"
#include "tools/sim/scenario.h"
#include "tools/sim/timeline.h"

struct SimOptions {
    std::string pluginPath;
    std::string title;  // how the header names the scenario
    TimelineStyle style;
};

// The host of a scenario: the fake host with the scenario's connections, and the plug-in
// loaded from `options.pluginPath`. Returns false, having said why on standard error, when the
// plug-in cannot be loaded.
bool SimStartHost(const Scenario& scenario, const SimOptions& options, PluginLibrary* plugin);
// The host reads the seven identity strings, as it does before Initialize.
void SimReadIdentity(const PluginLibrary& plugin);
// The host stops the plug-in: Terminate, into the trace.
void SimTerminate(const PluginLibrary& plugin);

// Plays `scenario` and writes the timeline and summary to standard output. Returns 0, 1 when
// the host saw a fault, or 3 when the plug-in cannot be loaded.
int RunScenario(const Scenario& scenario, const SimOptions& options);
