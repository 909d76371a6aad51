// Playing a scenario: the plug-in loaded into the fake host, the timeline on the virtual
// clock.
#pragma once

#include <string>

#include "tools/sim/scenario.h"
#include "tools/sim/timeline.h"

struct SimOptions {
    std::string pluginPath;
    std::string title;  // how the header names the scenario
    TimelineStyle style;
};

// Plays `scenario` and writes the timeline and summary to standard output. Returns 0, 1 when
// the host saw a fault, or 3 when the plug-in cannot be loaded.
int RunScenario(const Scenario& scenario, const SimOptions& options);
