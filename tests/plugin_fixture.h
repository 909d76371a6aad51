// A freshly loaded plug-in in a fresh world: the stand-in reset, the fake host empty, the
// library loaded anew (so its module state is zero, as after a real load).
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/standin/standin_control.h"
#include "tools/fakehost/fake_host.h"
#include "tools/loader/plugin_loader.h"

constexpr uint32_t Period = 10000;

class PluginTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Initialize with the fake host's record; returns the result.
    int32_t Start();
    int32_t Stop() { return plugin.terminate(); }
    // Lets `count` poll periods pass with the thread dispatching.
    static void Ticks(int count) { StandInPump(Period * static_cast<uint32_t>(count)); }
    // The trace lines of the given kinds since the last ClearTrace.
    static std::vector<std::string> Trace(unsigned kinds = TraceCalls) { return TraceTexts(kinds); }
    static void ClearTrace() { TraceClear(); }
    static int AddConnection(const std::string& name, const std::string& protocol, bool hasService = true,
                             int32_t result = 1);

    PluginLibrary plugin{};
    HostServices record{};
};

// The host calls of a start-up, in order: the option service, the look-ups, the event.
std::vector<std::string> StartUpHostCalls();

// The calls of a switch of one connection that accepts the change.
std::vector<std::string> Accepted(const std::string& name, const std::string& protocol, int status);

// Concatenates tables of expected lines.
std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts);

// UTF-8 text converted to code page 932 bytes.
std::string Cp932(const std::string& utf8);
