// One ordered record of everything that passes between the plug-in, the host and the
// platform, each line stamped with the virtual time.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

enum TraceKind : unsigned {
    TraceHost = 1u << 0,    // the plug-in calls the host
    TracePlugin = 1u << 1,  // the host calls the plug-in (exports, services)
    TraceBox = 1u << 2,     // message boxes
    TraceTimer = 1u << 3,   // SetTimer, KillTimer
    TraceTick = 1u << 4,    // timer procedures called
    TraceProbe = 1u << 5,   // OpenDesktopA, SwitchDesktop, CloseDesktop
    TraceWorld = 1u << 6,   // what the user or the scenario does
    TraceFault = 1u << 7,   // a record or call that breaks the host's rules
};

constexpr unsigned TraceCalls = TraceHost | TraceBox | TraceTimer | TraceFault;
constexpr unsigned TraceAll = 0xFFu;

struct TraceLine {
    uint32_t timeMs;
    TraceKind kind;
    std::string text;  // code-page-932 bytes as they passed
};

// Where the time stamps come from: the stand-in's virtual clock unless said otherwise.
void TraceSetClock(uint32_t (*now)(void));

void TraceClear();
void TraceAdd(TraceKind kind, const std::string& text);
const std::vector<TraceLine>& TraceLines();
// The texts of the lines of the given kinds, in order.
std::vector<std::string> TraceTexts(unsigned kinds);
// Lines of kind TraceFault so far.
int TraceFaultCount();

// Text helpers for trace lines.
std::string Quoted(const char* text);
std::string Hex(uint32_t value);
