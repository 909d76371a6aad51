// The poll of the workstation lock and the away state, tick by tick.
#include "tests/plugin_fixture.h"

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

    // The statuses the plug-in set on the ticks so far: "5", "1", or "-" for a tick that
    // called nothing of the host.
    static std::string Transitions(const std::vector<std::string>& perTick) {
        std::string all;
        for (const std::string& t : perTick) {
            all += t;
        }
        return all;
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
            const std::vector<std::string> calls = Trace(TraceHost);
            if (calls.empty()) {
                seen += '-';
            } else {
                const std::string last = calls[calls.size() - 2];  // SetInfo, before "Enum end"
                seen += last.substr(last.size() - 1);
            }
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
