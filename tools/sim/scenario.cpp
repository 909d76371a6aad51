#include "tools/sim/scenario.h"

#include <errno.h>
#include <stdio.h>
#include <string.h>

namespace {

std::vector<std::string> Tokens(const std::string& line)
{
    std::vector<std::string> tokens;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t' || line[i] == '\r')) {
            ++i;
        }
        if (i == line.size() || line[i] == '#') {
            break;
        }
        size_t end = i;
        while (end < line.size() && line[end] != ' ' && line[end] != '\t' && line[end] != '\r') {
            ++end;
        }
        tokens.push_back(line.substr(i, end - i));
        i = end;
    }
    return tokens;
}

bool ParseCount(const std::string& text, uint32_t limit, uint32_t* value)
{
    if (text.empty() || text.size() > 10) {
        return false;
    }
    uint64_t v = 0;
    for (char c : text) {
        if (c < '0' || c > '9') {
            return false;
        }
        v = v * 10 + static_cast<uint64_t>(c - '0');
    }
    if (v > limit) {
        return false;
    }
    *value = static_cast<uint32_t>(v);
    return true;
}

bool ParseResult(const std::string& text, int32_t* value)
{
    const bool negative = !text.empty() && text[0] == '-';
    uint32_t magnitude = 0;
    if (!ParseCount(negative ? text.substr(1) : text, negative ? 0x80000000u : 0x7FFFFFFFu, &magnitude)) {
        return false;
    }
    *value = negative ? static_cast<int32_t>(0u - magnitude) : static_cast<int32_t>(magnitude);
    return true;
}

struct EventWord {
    const char* word;
    ScenarioEventKind kind;
};

const EventWord EventWords[] = {
    {"lock", EventLock},
    {"unlock", EventUnlock},
    {"open-fails", EventOpenFails},
    {"open-works", EventOpenWorks},
    {"option-dialog", EventOptionDialog},
    {"terminate", EventTerminate},
};

}  // namespace

bool ReadScenarioFile(const std::string& path, std::string* text, std::string* reason)
{
    FILE* file = path == "-" ? stdin : fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *reason = strerror(errno);
        return false;
    }
    char chunk[4096];
    size_t n = 0;
    text->clear();
    bool tooLarge = false;
    while (!tooLarge && (n = fread(chunk, 1, sizeof chunk, file)) > 0) {
        text->append(chunk, n);
        tooLarge = text->size() > 16 * 1024 * 1024;
    }
    const bool failed = tooLarge || ferror(file) != 0;
    *reason = tooLarge ? "larger than 16 MiB" : failed ? strerror(errno) : "";
    if (file != stdin) {
        fclose(file);
    }
    return !failed;
}

bool ParseDuration(const std::string& text, uint32_t* ms)
{
    if (text.empty()) {
        return false;
    }
    uint64_t total = 0;
    size_t i = 0;
    while (i < text.size()) {
        size_t digits = i;
        while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
            ++digits;
        }
        if (digits == i || digits - i > 10) {
            return false;
        }
        uint64_t number = 0;
        for (size_t k = i; k < digits; ++k) {
            number = number * 10 + static_cast<uint64_t>(text[k] - '0');
        }
        size_t unitEnd = digits;
        while (unitEnd < text.size() && (text[unitEnd] < '0' || text[unitEnd] > '9')) {
            ++unitEnd;
        }
        const std::string unit = text.substr(digits, unitEnd - digits);
        uint64_t scale = 0;
        if (unit == "ms") {
            scale = 1;
        } else if (unit == "s") {
            scale = 1000;
        } else if (unit == "m") {
            scale = 60 * 1000;
        } else if (unit == "h") {
            scale = 3600 * 1000;
        } else {
            return false;
        }
        total += number * scale;
        if (total > 49ull * 24 * 3600 * 1000) {
            return false;
        }
        i = unitEnd;
    }
    *ms = static_cast<uint32_t>(total);
    return true;
}

std::string ClockText(uint32_t ms)
{
    const uint32_t seconds = ms / 1000;
    char text[48];
    if (seconds >= 3600) {
        snprintf(text, sizeof text, "%u:%02u:%02u", seconds / 3600, seconds / 60 % 60, seconds % 60);
    } else {
        snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
    }
    std::string clock = text;
    if (ms % 1000 != 0) {
        snprintf(text, sizeof text, ".%03u", ms % 1000);
        clock += text;
    }
    return clock;
}

std::string DurationText(uint32_t ms)
{
    if (ms == 0) {
        return "0s";
    }
    std::string text;
    const uint32_t parts[] = {ms / 3600000, ms / 60000 % 60, ms / 1000 % 60, ms % 1000};
    const char* const units[] = {"h", "m", "s", "ms"};
    for (int i = 0; i < 4; ++i) {
        if (parts[i] != 0) {
            text += std::to_string(parts[i]) + units[i];
        }
    }
    return text;
}

bool ParseScenario(const std::string& text, const std::string& fileName, Scenario* scenario, std::string* error)
{
    *scenario = Scenario{};
    scenario->box = StandInBoxRule{StandInBoxAtOnce, 0};
    bool haveEnd = false;
    int endLine = 0;
    bool haveBox = false;
    int lineNumber = 0;
    auto fail = [&](int line, const std::string& what) {
        *error = fileName + ":" + std::to_string(line) + ": " + what;
        return false;
    };

    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.find('\0') != std::string::npos) {
            return fail(lineNumber, "a NUL byte in the line");
        }
        const std::vector<std::string> t = Tokens(line);
        if (t.empty()) {
            continue;
        }
        const std::string& directive = t[0];
        if (directive == "connection") {
            // connection NAME protocol PROTOCOL [no-service] [returns N]
            if (t.size() < 4 || t[2] != "protocol") {
                return fail(lineNumber, "expected 'connection NAME protocol PROTOCOL [no-service] [returns N]'");
            }
            ScenarioConnection c{t[1], t[3], true, 1, lineNumber};
            for (size_t i = 4; i < t.size(); ++i) {
                if (t[i] == "no-service") {
                    c.hasService = false;
                } else if (t[i] == "returns" && i + 1 < t.size()) {
                    if (!ParseResult(t[i + 1], &c.result)) {
                        return fail(lineNumber, "bad number '" + t[i + 1] + "': expected a 32-bit integer");
                    }
                    ++i;
                } else {
                    return fail(lineNumber, "unexpected '" + t[i] + "': expected 'no-service' or 'returns N'");
                }
            }
            if (c.protocol.size() > MaxScenarioProtocolLength) {
                return fail(lineNumber, "protocol name of " + std::to_string(c.protocol.size()) +
                                            " bytes: a host writes at most 1023 bytes into the plug-in's buffer");
            }
            for (const ScenarioConnection& other : scenario->connections) {
                if (other.name == c.name) {
                    return fail(lineNumber, "connection '" + c.name + "' is already defined on line " +
                                                std::to_string(other.line));
                }
            }
            if (scenario->connections.size() == MaxScenarioConnections) {
                return fail(lineNumber, "more than 64 connections");
            }
            scenario->connections.push_back(c);
        } else if (directive == "box") {
            // box at-once | box after N ticks | box after DURATION | box until-unlock
            if (haveBox) {
                return fail(lineNumber, "the box rule is given twice");
            }
            haveBox = true;
            scenario->boxLine = lineNumber;
            if (t.size() == 2 && t[1] == "at-once") {
                scenario->box = StandInBoxRule{StandInBoxAtOnce, 0};
            } else if (t.size() == 2 && t[1] == "until-unlock") {
                scenario->box = StandInBoxRule{StandInBoxWhenUnlocked, 0};
            } else if (t.size() == 4 && t[1] == "after" && (t[3] == "ticks" || t[3] == "tick")) {
                uint32_t ticks = 0;
                if (!ParseCount(t[2], 1000000, &ticks)) {
                    return fail(lineNumber, "bad number '" + t[2] + "': expected a count of ticks");
                }
                scenario->box = StandInBoxRule{StandInBoxAfterTicks, ticks};
            } else if (t.size() == 3 && t[1] == "after") {
                uint32_t ms = 0;
                if (!ParseDuration(t[2], &ms)) {
                    return fail(lineNumber, "bad time '" + t[2] + "': expected a number and a unit (ms, s, m, h)");
                }
                scenario->box = StandInBoxRule{StandInBoxAfterMs, ms};
            } else {
                return fail(lineNumber, "expected 'box at-once', 'box after N ticks', 'box after TIME' or 'box until-unlock'");
            }
        } else if (directive == "at") {
            // at TIME EVENT
            if (t.size() != 3) {
                return fail(lineNumber, "expected 'at TIME EVENT'");
            }
            uint32_t ms = 0;
            if (!ParseDuration(t[1], &ms)) {
                return fail(lineNumber, "bad time '" + t[1] + "': expected a number and a unit (ms, s, m, h)");
            }
            const EventWord* word = nullptr;
            for (const EventWord& e : EventWords) {
                word = t[2] == e.word ? &e : word;
            }
            if (word == nullptr) {
                return fail(lineNumber, "unknown event '" + t[2] +
                                            "': expected lock, unlock, open-fails, open-works, option-dialog or terminate");
            }
            if (scenario->events.size() == MaxScenarioEvents) {
                return fail(lineNumber, "more than 1000 events");
            }
            scenario->events.push_back(ScenarioEvent{ms, word->kind, lineNumber});
        } else if (directive == "end") {
            if (t.size() != 2) {
                return fail(lineNumber, "expected 'end TIME'");
            }
            if (haveEnd) {
                return fail(lineNumber, "the end is given twice, first on line " + std::to_string(endLine));
            }
            if (!ParseDuration(t[1], &scenario->endMs)) {
                return fail(lineNumber, "bad time '" + t[1] + "': expected a number and a unit (ms, s, m, h)");
            }
            haveEnd = true;
            endLine = lineNumber;
        } else {
            return fail(lineNumber, "unknown directive '" + directive + "'");
        }
    }
    if (!haveEnd) {
        return fail(lineNumber, "no 'end TIME': a scenario says when it ends");
    }
    for (const ScenarioEvent& e : scenario->events) {
        if (e.atMs > scenario->endMs) {
            return fail(e.line, "event at " + DurationText(e.atMs) + " comes after the end at " +
                                    DurationText(scenario->endMs) + " (line " + std::to_string(endLine) + ")");
        }
    }
    return true;
}

bool CheckLiveScenario(const Scenario& scenario, const std::string& fileName, std::string* error)
{
    // The first offending line of the file, whether a box rule or an event.
    int line = scenario.boxLine;
    std::string what = "a box rule needs the stand-in's world: in live mode you close the boxes yourself";
    for (const ScenarioEvent& e : scenario.events) {
        if (e.kind == EventOptionDialog || e.kind == EventTerminate || (line != 0 && e.line > line)) {
            continue;
        }
        line = e.line;
        const char* word = "";
        for (const EventWord& w : EventWords) {
            word = w.kind == e.kind ? w.word : word;
        }
        what = std::string("'") + word +
               "' needs the stand-in's world: in live mode the workstation and its desktop are real";
    }
    if (line == 0) {
        return true;
    }
    *error = fileName + ":" + std::to_string(line) + ": " + what;
    return false;
}

const char* const DefaultScenario =
    "# The built-in scenario: one lock and one unlock.\n"
    "connection alpha protocol jabber              # accepts every change\n"
    "connection beta  protocol icq returns 0       # refuses every change\n"
    "connection gamma protocol irc no-service      # its protocol lacks the service\n"
    "box at-once                                   # the user closes every box as soon as it shows\n"
    "at 25s lock\n"
    "at 1m35s unlock\n"
    "at 2m5s option-dialog\n"
    "at 2m15s terminate\n"
    "end 2m30s\n";
