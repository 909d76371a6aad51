// What the scenario host does differently on each platform.
#pragma once

#include <string>

#include "tools/loader/plugin_loader.h"

// Called first: standard output as bytes, as the timeline is written.
void SimInitializeOutput();
// Makes the loaded plug-in run in the stand-in's world; false (with the reason) if it cannot.
bool SimPreparePlugin(const PluginLibrary& plugin, char* error, int errorSize);
// Whether standard output is a terminal.
bool SimOutputIsTerminal();
