#include "tools/fakehost/trace.h"

#include "platform/standin/standin_control.h"

namespace {
std::vector<TraceLine> lines;
uint32_t (*clock)(void) = StandInNow;
}  // namespace

void TraceSetClock(uint32_t (*now)(void))
{
    clock = now;
}

void TraceClear()
{
    lines.clear();
}

void TraceAdd(TraceKind kind, const std::string& text)
{
    lines.push_back(TraceLine{clock(), kind, text});
}

const std::vector<TraceLine>& TraceLines()
{
    return lines;
}

std::vector<std::string> TraceTexts(unsigned kinds)
{
    std::vector<std::string> texts;
    for (const TraceLine& line : lines) {
        if ((line.kind & kinds) != 0) {
            texts.push_back(line.text);
        }
    }
    return texts;
}

int TraceFaultCount()
{
    int faults = 0;
    for (const TraceLine& line : lines) {
        faults += line.kind == TraceFault ? 1 : 0;
    }
    return faults;
}

std::string Quoted(const char* text)
{
    if (text == nullptr) {
        return "(null)";
    }
    return "\"" + std::string(text) + "\"";
}

std::string Hex(uint32_t value)
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    do {
        text.insert(text.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return "0x" + text;
}
