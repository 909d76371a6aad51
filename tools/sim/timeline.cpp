#include "tools/sim/timeline.h"

#include <stdio.h>

#include "tools/sim/scenario.h"
#include "tools/sim/text_utf8.h"

namespace {

const char* const Reset = "\x1b[0m";

struct Who {
    const char* label;
    const char* colour;
};

Who WhoOf(TraceKind kind)
{
    switch (kind) {
    case TraceHost:
        return {"host", "\x1b[0m"};
    case TracePlugin:
        return {"plug-in", "\x1b[32m"};
    case TraceBox:
        return {"box", "\x1b[33m"};
    case TraceTimer:
        return {"timer", "\x1b[35m"};
    case TraceTick:
        return {"tick", "\x1b[2m"};
    case TraceProbe:
        return {"probe", "\x1b[2m"};
    case TraceWorld:
        return {"world", "\x1b[36m"};
    case TraceFault:
        return {"FAULT", "\x1b[1;31m"};
    }
    return {"?", ""};
}

std::string Line(uint32_t timeMs, TraceKind kind, int indent, const std::string& text, TimelineStyle style)
{
    const Who who = WhoOf(kind);
    char head[64];
    snprintf(head, sizeof head, "%9s  %-8s ", ClockText(timeMs).c_str(), who.label);
    std::string line = head;
    line += std::string(static_cast<size_t>(indent) * 2, ' ') + Cp932ToUtf8(text);
    if (style.colour) {
        line = who.colour + line + Reset;
    }
    return line + "\n";
}

bool StartsWith(const std::string& text, const char* prefix)
{
    return text.rfind(prefix, 0) == 0;
}

// A tick that did not probe: it came while a switch was running.
const char* const ReturnedAtOnce = "returns at once: a switch is still running";

// What the probe lines after a tick found.
std::string ProbeFinding(const std::vector<TraceLine>& trace, size_t* at)
{
    std::string finding = ReturnedAtOnce;
    while (*at < trace.size() && trace[*at].kind == TraceProbe) {
        const std::string& text = trace[*at].text;
        if (StartsWith(text, "OpenDesktopA")) {
            const bool opened = text.find("-> NULL") == std::string::npos;
            finding = opened ? "desktop opened" : "the desktop cannot be opened: counts as unlocked";
        } else if (StartsWith(text, "SwitchDesktop")) {
            finding = text == "SwitchDesktop -> 0" ? "locked" : "unlocked";
        }
        ++*at;
    }
    return finding;
}

}  // namespace

std::string RenderTimeline(const std::vector<TraceLine>& trace, TimelineStyle style)
{
    std::string out;
    int indent = 0;
    // A run of quiet ticks with the same finding, not yet printed.
    std::string quietFinding;
    uint32_t quietFirst = 0;
    uint32_t quietLast = 0;
    int quietCount = 0;
    int quietIndent = 0;
    auto flushQuiet = [&]() {
        if (quietCount == 0) {
            return;
        }
        std::string text = quietFinding;
        if (quietCount > 1) {
            text += " (" + std::to_string(quietCount) + " ticks, to " + ClockText(quietLast) + ")";
        }
        out += Line(quietFirst, TraceTick, quietIndent, text, style);
        quietCount = 0;
    };

    for (size_t at = 0; at < trace.size();) {
        const TraceLine& line = trace[at];
        if (line.kind == TraceTick) {
            ++at;
            // A tick seen from outside the plug-in (live) says what was found; otherwise its
            // probe lines tell.
            std::string finding = ProbeFinding(trace, &at);
            if (StartsWith(line.text, LiveTickPrefix)) {
                finding = line.text.substr(sizeof LiveTickPrefix - 1);
            }
            // A tick is quiet when it made the plug-in call nothing.
            const bool quiet = at == trace.size() || !(trace[at].kind == TraceHost ||
                                                       (trace[at].kind == TraceBox && StartsWith(trace[at].text, "MessageBoxA")));
            if (!quiet) {
                flushQuiet();
                out += Line(line.timeMs, TraceTick, indent, finding, style);
                continue;
            }
            if (finding != ReturnedAtOnce) {
                finding += ", no change";
            }
            if (quietCount > 0 && (finding != quietFinding || indent != quietIndent)) {
                flushQuiet();
            }
            if (quietCount == 0) {
                quietFinding = finding;
                quietFirst = line.timeMs;
                quietIndent = indent;
            }
            quietLast = line.timeMs;
            ++quietCount;
            if (!style.fold) {
                flushQuiet();
            }
            continue;
        }
        flushQuiet();
        if (line.kind == TraceHost && line.text == "Enum end") {
            indent = indent > 0 ? indent - 1 : 0;
        }
        if (line.kind == TraceBox && StartsWith(line.text, "box closed")) {
            indent = indent > 0 ? indent - 1 : 0;
        }
        if (line.kind != TraceProbe) {
            out += Line(line.timeMs, line.kind, indent, line.text, style);
        }
        if ((line.kind == TraceHost && line.text == "Enum") || (line.kind == TraceBox && StartsWith(line.text, "MessageBoxA"))) {
            ++indent;
        }
        ++at;
    }
    flushQuiet();
    return out;
}

std::string RenderSummary(const std::vector<TraceLine>& trace, const StandInCounts& counts, TimelineStyle style)
{
    int transitions = 0;
    int hostCalls = 0;
    int faults = 0;
    std::string when;
    for (const TraceLine& line : trace) {
        if (line.kind == TraceHost && line.text != "Enum end") {
            ++hostCalls;
        }
        if (line.kind == TraceHost && line.text == "Enum") {
            ++transitions;
            when += (when.empty() ? "" : ", ") + ClockText(line.timeMs);
        }
        faults += line.kind == TraceFault ? 1 : 0;
    }
    std::string text = "summary: " + std::to_string(transitions) + " transition" + (transitions == 1 ? "" : "s");
    if (!when.empty()) {
        text += " (at " + when + ")";
    }
    text += ", " + std::to_string(hostCalls) + " host calls, " + std::to_string(counts.boxes) + " box" +
            (counts.boxes == 1 ? "" : "es") + ", " + std::to_string(counts.ticks) + " ticks, " +
            std::to_string(counts.desktopOpens + counts.failedOpens) + " desktop probes, " +
            std::to_string(counts.desktopsOpen) + " desktop handles left open, " + std::to_string(faults) + " faults";
    if (style.colour) {
        text = std::string(faults > 0 ? "\x1b[1;31m" : "\x1b[1m") + text + Reset;
    }
    return text + "\n";
}
