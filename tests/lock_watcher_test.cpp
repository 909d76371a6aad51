// The poll of the workstation lock and the away state, tick by tick.
#include "tests/plugin_fixture.h"

#include <type_traits>

#include "watcher/connection_records.h"

namespace {

class LockWatcherTest : public PluginTest {
protected:
    void SetUp() override
    {
        PluginTest::SetUp();
        AddConnection("alpha", "jabber");
        ASSERT_EQ(Start(), 0);
        ClearTrace();
    }

    // What one tick did, from its whole trace of host calls: the status it switched "alpha"
    // to, "-" for nothing, "?" for anything else.
    static std::string SwitchedTo(const std::vector<std::string>& calls)
    {
        if (calls.empty()) {
            return "-";
        }
        for (int status : {LockedStatus, UnlockedStatus}) {
            if (calls == Lines({{"Enum"}, Accepted("alpha", "jabber", status), {"Enum end"}})) {
                return std::to_string(status);
            }
        }
        return "?";
    }
};

enum World { Unlocked, Locked, OpenFails };

struct WatchCase {
    const char* name;
    std::vector<World> ticks;  // the world at each tick
    const char* expected;      // per tick: the status switched to, or '-'
};

TEST_F(LockWatcherTest, EachChangeIsActedOnOnceAtTheNextTick)
{
    const WatchCase cases[] = {
        {"locked three ticks", {Locked, Locked, Locked}, "5--"},
        {"unlocked while present", {Unlocked, Unlocked, Unlocked, Unlocked}, "----"},
        {"lock, unlock, lock, unlock", {Locked, Unlocked, Locked, Unlocked}, "5151"},
        {"long lock", {Unlocked, Locked, Locked, Locked, Locked, Unlocked, Unlocked}, "-5---1-"},
        {"probe fails while away", {Locked, OpenFails, Locked}, "515"},
        {"probe fails while present", {OpenFails, OpenFails, Unlocked}, "---"},
    };
    for (const WatchCase& c : cases) {
        SCOPED_TRACE(c.name);
        // Each case starts in the present state, as after a fresh start.
        ASSERT_EQ(Start(), 0);
        std::string seen;
        for (World world : c.ticks) {
            StandInSetLocked(world == Locked);
            StandInSetOpenFails(world == OpenFails);
            ClearTrace();
            Ticks(1);
            seen += SwitchedTo(Trace(TraceHost));
        }
        EXPECT_EQ(seen, c.expected);
        StandInSetLocked(false);
        StandInSetOpenFails(false);
    }
}

TEST_F(LockWatcherTest, ALockShorterThanAPeriodGoesUnseen)
{
    StandInSchedule(12000, [](void*) { StandInSetLocked(true); }, nullptr);
    StandInSchedule(18000, [](void*) { StandInSetLocked(false); }, nullptr);
    Ticks(3);
    EXPECT_TRUE(Trace(TraceHost).empty());
}

TEST_F(LockWatcherTest, EveryTickOpensSwitchesToAndClosesTheDefaultDesktop)
{
    Ticks(1);
    StandInSetLocked(true);
    Ticks(1);
    StandInSetOpenFails(true);
    Ticks(1);
    EXPECT_EQ(Trace(TraceProbe), (std::vector<std::string>{
                                     "OpenDesktopA \"Default\" 0x0 0 0x100 -> desktop",
                                     "SwitchDesktop -> 1",
                                     "CloseDesktop -> 1",
                                     "OpenDesktopA \"Default\" 0x0 0 0x100 -> desktop",
                                     "SwitchDesktop -> 0",
                                     "CloseDesktop -> 1",
                                     "OpenDesktopA \"Default\" 0x0 0 0x100 -> NULL",
                                 }));
}

TEST_F(LockWatcherTest, AnHourUnlockedOrLockedMakesNoHostCallBeyondTheOneSwitch)
{
    StandInPump(3600 * 1000);
    EXPECT_TRUE(Trace(TraceHost).empty());
    StandInSetLocked(true);
    StandInPump(3600 * 1000);
    EXPECT_EQ(Trace(TraceHost), Lines({{"Enum"}, Accepted("alpha", "jabber", 5), {"Enum end"}}));
    const StandInCounts counts = StandInGetCounts();
    EXPECT_EQ(counts.ticks, 720);
    EXPECT_EQ(counts.desktopOpens, 720);
    EXPECT_EQ(counts.desktopCloses, 720);
}

TEST_F(LockWatcherTest, TerminateWhileAwayLeavesEveryConnectionAway)
{
    StandInSetLocked(true);
    Ticks(1);
    ASSERT_EQ(FakeHostStoredStatus(0), 5);
    Stop();
    StandInSetLocked(false);
    ClearTrace();
    Ticks(10);
    EXPECT_TRUE(Trace(TraceAll).empty());
    EXPECT_EQ(FakeHostStoredStatus(0), 5);
}

// A message loop can take the plug-in's WM_TIMER from the queue and dispatch it only after
// Terminate or a second Initialize killed that timer; Windows still calls the procedure then.
// Such a tick does nothing.
TEST_F(LockWatcherTest, ATickOfAKilledOrReplacedTimerDoesNothing)
{
    StandInSetLocked(true);
    MSG taken;
    Sleep(Period);
    ASSERT_TRUE(PeekMessageA(&taken, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    ASSERT_EQ(Start(), 0) << "a second start replaces the timer";
    ClearTrace();
    DispatchMessageA(&taken);
    EXPECT_EQ(Trace(TraceAll), std::vector<std::string>{"tick"}) << "the replaced timer's tick neither probes nor switches";

    Ticks(1);
    ASSERT_EQ(FakeHostStoredStatus(0), 5) << "the live timer's tick does";
    StandInSetLocked(false);
    Sleep(Period);
    ASSERT_TRUE(PeekMessageA(&taken, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    Stop();
    ClearTrace();
    DispatchMessageA(&taken);
    EXPECT_EQ(Trace(TraceAll), std::vector<std::string>{"tick"}) << "after Terminate the state stays frozen";
    EXPECT_EQ(FakeHostStoredStatus(0), 5);
}

// A restart (Terminate, then Initialize) from inside the open "Error" box of a switch to 5:
// that switch still finishes when the box closes, and what it did is remembered, so the
// unlock after it is acted on.
TEST_F(LockWatcherTest, ASwitchInterruptedByARestartCountsOnceItReturns)
{
    FakeHostReset();
    AddConnection("lacks", "irc", false);
    AddConnection("works", "jabber");
    ASSERT_EQ(Start(), 0);
    StandInSetBoxRule({StandInBoxWhenUnlocked, 0});
    StandInSchedule(5000, [](void*) { StandInSetLocked(true); }, nullptr);
    using Self = std::remove_pointer_t<decltype(this)>;
    StandInSchedule(
        15000,
        [](void* test) {
            Self& self = *static_cast<Self*>(test);
            self.Stop();
            EXPECT_EQ(self.Start(), 0);
        },
        this);
    StandInSchedule(40000, [](void*) { StandInSetLocked(false); }, nullptr);
    ClearTrace();
    StandInPumpUntil(60000);

    const std::vector<std::string> lacking = {
        "GetInfo lacks item 2000 -> \"irc\"",
        "GetService \"Protocol/irc/Connection/ChangeUserStatus\" -> 0",
        "MessageBoxA 0x0 \"Error\" \"Zavrik\" 0x40",
        "box closed by the user",
    };
    EXPECT_EQ(Trace(TraceHost | TraceBox),
              Lines({{"Enum"}, {lacking.begin(), lacking.end() - 1}, StartUpHostCalls(), {lacking.back()},
                     Accepted("works", "jabber", 5), {"Enum end"},
                     {"Enum"}, lacking, Accepted("works", "jabber", 1), {"Enum end"}}));
    EXPECT_EQ(FakeHostStoredStatus(1), 1);
}

// The "Error" box of a protocol without its service stays hidden on the locked desktop for
// as long as the lock lasts, and its modal loop goes on delivering ticks.
TEST_F(LockWatcherTest, TicksDuringAnOpenBoxReturnAtOnceForAnHour)
{
    FakeHostReset();
    AddConnection("alpha", "irc", false);
    AddConnection("beta", "jabber");
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    StandInSetBoxRule({StandInBoxWhenUnlocked, 0});
    StandInSchedule(5000, [](void*) { StandInSetLocked(true); }, nullptr);
    const uint32_t unlockAt = 3600 * 1000 + 5000;
    StandInSchedule(unlockAt, [](void*) { StandInSetLocked(false); }, nullptr);

    StandInPumpUntil(unlockAt + Period);

    const std::string missing = "GetService \"Protocol/irc/Connection/ChangeUserStatus\" -> 0";
    const std::string box = "MessageBoxA 0x0 \"Error\" \"Zavrik\" 0x40";
    EXPECT_EQ(Trace(TraceHost | TraceBox),
              Lines({{"Enum", "GetInfo alpha item 2000 -> \"irc\"", missing, box, "box closed by the user"},
                     Accepted("beta", "jabber", 5),
                     {"Enum end"},
                     {"Enum", "GetInfo alpha item 2000 -> \"irc\"", missing, box, "box closed by the user"},
                     Accepted("beta", "jabber", 1),
                     {"Enum end"}}));
    const StandInCounts counts = StandInGetCounts();
    EXPECT_EQ(counts.maxTickDepth, 2) << "a tick inside the box nests at most one deep";
    EXPECT_EQ(counts.ticks, 361);
    EXPECT_EQ(counts.desktopOpens, 2) << "ticks inside the box do not probe";
    EXPECT_EQ(FakeHostStoredStatus(1), 1);
}

}  // namespace
