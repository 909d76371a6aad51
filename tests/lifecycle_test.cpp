// Start-up, shut-down and the option-dialog service.
#include "tests/plugin_fixture.h"

namespace {

using LifecycleTest = PluginTest;

const std::vector<std::string> StartUpCalls = Lines({StartUpHostCalls(), {"SetTimer 0 10000 -> timer"}});

TEST_F(LifecycleTest, StartUpRegistersLooksUpInOrderAndStartsTheTimerWithoutProbing)
{
    EXPECT_EQ(Start(), 0);
    EXPECT_EQ(Trace(TraceAll), StartUpCalls);
    EXPECT_EQ(StandInGetCounts().liveTimers, 1);
}

TEST_F(LifecycleTest, TheFirstProbeRunsOnePeriodAfterStartUp)
{
    StandInSetLocked(true);
    ASSERT_EQ(Start(), 0);
    StandInPump(Period - 1);
    EXPECT_EQ(StandInGetCounts().desktopOpens, 0);
    ClearTrace();
    StandInPump(1);
    EXPECT_EQ(Trace(TraceHost), (std::vector<std::string>{"Enum", "Enum end"}))
        << "a workstation locked at start-up is switched on the first tick";
}

TEST_F(LifecycleTest, ATimerThatCannotBeCreatedFailsStartUpButKeepsWhatWasDone)
{
    StandInSetTimerFails(true);
    EXPECT_EQ(Start(), -1);
    std::vector<std::string> expected = StartUpCalls;
    expected.back() = "SetTimer 0 10000 -> 0";
    EXPECT_EQ(Trace(TraceAll), expected);
    EXPECT_EQ(FakeHostRegisteredCount(), 1);
    EXPECT_EQ(FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", 0, 0), 0);
    EXPECT_EQ(Stop(), 0);
    EXPECT_EQ(StandInGetCounts().timersKilled, 0);
}

TEST_F(LifecycleTest, ARecordMissingAnEntryThePlugInCallsIsRefusedWithoutACall)
{
    using Entry = void (*)(HostServices&);
    const std::pair<const char*, Entry> missing[] = {
        {"RegisterService", [](HostServices& r) { r.RegisterService = nullptr; }},
        {"GetService", [](HostServices& r) { r.GetService = nullptr; }},
        {"CallService", [](HostServices& r) { r.CallService = nullptr; }},
        {"GetEvent", [](HostServices& r) { r.GetEvent = nullptr; }},
    };
    for (const auto& [name, clear] : missing) {
        HostServices broken = FakeHostRecord();
        clear(broken);
        EXPECT_EQ(plugin.initialize(&broken), -1) << name;
    }
    EXPECT_EQ(plugin.initialize(nullptr), -1);
    EXPECT_TRUE(Trace(TraceAll).empty());
    EXPECT_EQ(StandInGetCounts().timersSet, 0);
}

TEST_F(LifecycleTest, EntriesNeverCalledMayBeNullAndTheHostRecordIsCopied)
{
    record.entry1 = record.entry5 = record.entry7 = record.entry8 = record.entry9 = nullptr;
    ASSERT_EQ(Start(), 0);
    // The host's record is not used again after start-up.
    record = HostServices{};
    AddConnection("alpha", "jabber");
    StandInSetLocked(true);
    ClearTrace();
    Ticks(1);
    EXPECT_EQ(Trace(TraceHost), Lines({{"Enum"}, Accepted("alpha", "jabber", 5), {"Enum end"}}));
}

TEST_F(LifecycleTest, TerminateStopsTheTimerOnceAndIsHarmlessAgainOrBeforeStart)
{
    EXPECT_EQ(Stop(), 0) << "before Initialize";
    EXPECT_EQ(StandInGetCounts().timersKilled, 0);
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    EXPECT_EQ(Stop(), 0);
    EXPECT_EQ(Stop(), 0);
    EXPECT_EQ(Trace(TraceAll), std::vector<std::string>{"KillTimer -> 1"});
    Ticks(6);
    EXPECT_EQ(StandInGetCounts().ticks, 0);
}

TEST_F(LifecycleTest, ASecondStartReplacesTheTimerInsteadOfAddingOne)
{
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    ASSERT_EQ(Start(), 0);
    EXPECT_EQ(Trace(TraceTimer), (std::vector<std::string>{"KillTimer -> 1", "SetTimer 0 10000 -> timer"}));
    EXPECT_EQ(StandInGetCounts().liveTimers, 1);
    Ticks(3);
    EXPECT_EQ(StandInGetCounts().ticks, 3);
}

TEST_F(LifecycleTest, ARestartAfterStopStartsFromThePresentState)
{
    AddConnection("alpha", "jabber");
    ASSERT_EQ(Start(), 0);
    StandInSetLocked(true);
    Ticks(1);
    ASSERT_EQ(FakeHostStoredStatus(0), 5);
    Stop();
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    // Still locked: the restarted watcher does not know it switched before, and switches again.
    Ticks(1);
    EXPECT_EQ(Trace(TraceHost), Lines({{"Enum"}, Accepted("alpha", "jabber", 5), {"Enum end"}}));
}

TEST_F(LifecycleTest, TheOptionDialogSaysThereIsNothingToConfigure)
{
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    HWND owner = StandInCreateWindow();
    EXPECT_EQ(FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", reinterpret_cast<intptr_t>(owner), 99), 0);
    const std::string text = Cp932("設定可能な項目はありません");
    ASSERT_EQ(text.size(), 26u);
    ASSERT_NE(text.find('\x5c'), std::string::npos);
    EXPECT_EQ(Trace(TraceBox | TraceHost), (std::vector<std::string>{
                                               "MessageBoxA 0x3a000 \"" + text + "\" \"Zavrik\" 0x40",
                                               "box closed by the user",
                                           }));

    // An owner that is not a window: Windows refuses the box; the service still returns 0.
    ClearTrace();
    EXPECT_EQ(FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", 0x1234, 0), 0);
    EXPECT_EQ(Trace(TraceBox), (std::vector<std::string>{"no box: MessageBoxA 0x1234 \"" + text +
                                                         "\" \"Zavrik\" 0x40 -> 0, the owner is not a window"}));
}

TEST_F(LifecycleTest, TheOptionDialogStillWorksAfterStopAndWithoutAnOwner)
{
    ASSERT_EQ(Start(), 0);
    Stop();
    ClearTrace();
    EXPECT_EQ(FakeHostCallPluginService("AddIn/Zavrik/ShowOptionDialog", 0, 0), 0);
    ASSERT_EQ(Trace(TraceBox).size(), 2u);
    EXPECT_EQ(Trace(TraceBox)[0].substr(0, 16), "MessageBoxA 0x0 ");
}

}  // namespace
