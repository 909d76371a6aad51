// The timeline a person reads: one line per event, stamped with the virtual time, and a
// summary.
#pragma once

#include <string>
#include <vector>

#include "platform/standin/standin_control.h"
#include "tools/fakehost/trace.h"

struct TimelineStyle {
    bool colour;
    bool fold = true;  // quiet ticks in a row as one line; without, the timeline only grows
};

// A tick line that carries its own finding: "tick: unlocked".
constexpr char LiveTickPrefix[] = "tick: ";

// The trace as timeline lines. Quiet ticks in a row that found the same thing are folded
// into one line.
std::string RenderTimeline(const std::vector<TraceLine>& trace, TimelineStyle style);

// What the run came to: transitions, host calls, boxes, desktop probes, handles left open.
std::string RenderSummary(const std::vector<TraceLine>& trace, const StandInCounts& counts, TimelineStyle style);
