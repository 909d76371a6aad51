// Scenarios for the scenario host: the host's connections, how the user treats message
// boxes, and what happens when, on the virtual clock.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "platform/standin/standin_control.h"

enum ScenarioEventKind {
    EventLock,
    EventUnlock,
    EventOpenFails,     // from now on the desktop cannot be opened
    EventOpenWorks,     // it can be opened again
    EventOptionDialog,  // the host calls the plug-in's option-dialog service
    EventTerminate,     // the host calls Terminate
};

struct ScenarioEvent {
    uint32_t atMs;
    ScenarioEventKind kind;
    int line;
};

struct ScenarioConnection {
    std::string name;
    std::string protocol;
    bool hasService;
    int32_t result;  // what its status-change service returns
    int line;
};

struct Scenario {
    std::vector<ScenarioConnection> connections;
    StandInBoxRule box;
    int boxLine;  // the line of the box rule; 0 when the scenario has none
    std::vector<ScenarioEvent> events;  // in the order of the file
    uint32_t endMs;
};

// The longest protocol name a host can write into the plug-in's 1024-byte buffer.
constexpr size_t MaxScenarioProtocolLength = 1023;
constexpr size_t MaxScenarioConnections = 64;
constexpr size_t MaxScenarioEvents = 1000;

// Parses `text`. On failure returns false and sets `error` to "FILE:LINE: what is wrong".
bool ParseScenario(const std::string& text, const std::string& fileName, Scenario* scenario, std::string* error);

// Whether `scenario` can be played live, on the real platform: everything that needs the
// stand-in's world (lock, unlock, open-fails, open-works, a box rule) is refused, the first
// of them with "FILE:LINE: what is wrong" in `error`.
bool CheckLiveScenario(const Scenario& scenario, const std::string& fileName, std::string* error);

// Reads a scenario file, or standard input for "-"; false (with the reason) when it cannot
// be read or is larger than 16 MiB.
bool ReadScenarioFile(const std::string& path, std::string* text, std::string* reason);

// "25s", "1m30s", "500ms", "2h": digits and a unit, repeated. Returns false for anything else
// or for more than 49 days.
bool ParseDuration(const std::string& text, uint32_t* ms);
// "1:05", "1:05.250", "1:02:03": the clock of the timeline.
std::string ClockText(uint32_t ms);
// "1m5s", "250ms", "0s": a duration as a scenario writes it.
std::string DurationText(uint32_t ms);

// The built-in scenario: one screen of what a user should see.
extern const char* const DefaultScenario;
