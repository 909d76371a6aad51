// Any bytes as a scenario: refused with a FILE:LINE message, or read into a scenario whose
// every event lies within its end.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>

#include <string>

#include "tools/sim/scenario.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    Scenario scenario;
    std::string error;
    if (!ParseScenario(text, "fuzz", &scenario, &error)) {
        if (error.rfind("fuzz:", 0) != 0) {
            abort();
        }
        return 0;
    }
    for (const ScenarioEvent& event : scenario.events) {
        if (event.atMs > scenario.endMs) {
            abort();
        }
    }
    for (const ScenarioConnection& c : scenario.connections) {
        if (c.protocol.size() > MaxScenarioProtocolLength || c.protocol.empty()) {
            abort();
        }
    }
    uint32_t again = 0;
    if (!ParseDuration(DurationText(scenario.endMs), &again) || again != scenario.endMs) {
        abort();
    }
    return 0;
}
