// What the scenario host does differently on each platform.
#pragma once

#include <string>

#include "tools/loader/plugin_loader.h"
#include "tools/sim/scenario.h"
#include "tools/sim/sim_run.h"

// Called first: standard output as bytes, as the timeline is written.
void SimInitializeOutput();
// Makes the loaded plug-in run in the stand-in's world; false (with the reason) if it cannot.
bool SimPreparePlugin(const PluginLibrary& plugin, char* error, int errorSize);
// Whether standard output is a terminal.
bool SimOutputIsTerminal();
// Plays `scenario` live: the real plug-in on the real platform, nothing hooked, in real time.
// Returns like RunScenario; 2 where there is no real platform.
int SimRunLive(const Scenario& scenario, const SimOptions& options);
