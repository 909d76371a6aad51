// The stand-in behaves as documented Windows does wherever the plug-in could tell.
#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "platform/standin/standin_control.h"

namespace {

std::vector<std::string> seen;

void CALLBACK Record(HWND window, UINT message, UINT_PTR id, DWORD time)
{
    seen.push_back(std::to_string(time) + (window == nullptr && message == WM_TIMER ? "" : "?") +
                   (id != 0 ? "" : "!"));
}

class StandInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        StandInSetObserver(nullptr, nullptr);
        StandInReset();
        seen.clear();
    }
};

TEST_F(StandInTest, StringCopiesCutAtOneLessThanTheLengthAndTerminate)
{
    char buffer[8];
    memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(lstrcpynA(buffer, "abcdef", 4), buffer);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], 'x');
    EXPECT_EQ(lstrcpynA(buffer, "ab", 8), buffer);
    EXPECT_STREQ(buffer, "ab");
    EXPECT_EQ(lstrcpynA(buffer, "ab", 1), buffer);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(lstrcpynA(nullptr, "ab", 4), nullptr);
    EXPECT_EQ(lstrlenA("abc"), 3);
    EXPECT_EQ(lstrlenA(""), 0);
    EXPECT_EQ(lstrlenA(nullptr), 0);
}

TEST_F(StandInTest, ThreadTimersTickOnlyWhileTheThreadDispatchesOnePerPeriod)
{
    const UINT_PTR id = SetTimer(nullptr, 0, 10000, Record);
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(seen.empty()) << "no tick before the thread dispatches";
    StandInPump(35000);
    EXPECT_EQ(seen, (std::vector<std::string>{"10000", "20000", "30000"}));
    EXPECT_EQ(StandInNow(), 35000u);
    EXPECT_TRUE(KillTimer(nullptr, id));
    EXPECT_FALSE(KillTimer(nullptr, id)) << "a timer is killed once";
    StandInPump(60000);
    EXPECT_EQ(seen.size(), 3u);
}

TEST_F(StandInTest, TimerIdentifiersPeriodsAndFailures)
{
    const UINT_PTR first = SetTimer(nullptr, 0, 0, Record);
    const UINT_PTR second = SetTimer(nullptr, 0, 25, Record);
    EXPECT_NE(first, second);
    StandInPump(25);
    // A period below the minimum is raised to 10 ms.
    EXPECT_EQ(seen, (std::vector<std::string>{"10", "20", "25"}));
    // An identifier naming a live timer re-arms it instead of adding one.
    EXPECT_EQ(SetTimer(nullptr, first, 1000, Record), first);
    EXPECT_EQ(StandInGetCounts().liveTimers, 2);
    EXPECT_EQ(SetTimer(reinterpret_cast<HWND>(8), 0, 10, Record), 0u) << "the stand-in has no windows";
    StandInSetTimerFails(true);
    EXPECT_EQ(SetTimer(nullptr, 0, 10, Record), 0u);
}

TEST_F(StandInTest, DesktopHandlesAreCountedAndALockRefusesTheSwitch)
{
    HDESK desktop = OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP);
    ASSERT_NE(desktop, nullptr);
    EXPECT_TRUE(SwitchDesktop(desktop));
    StandInSetLocked(true);
    EXPECT_FALSE(SwitchDesktop(desktop));
    EXPECT_TRUE(CloseDesktop(desktop));
    EXPECT_FALSE(CloseDesktop(desktop)) << "a closed handle is not closed again";
    EXPECT_FALSE(SwitchDesktop(desktop));
    EXPECT_EQ(OpenDesktopA("Winlogon", 0, FALSE, DESKTOP_SWITCHDESKTOP), nullptr);
    StandInSetOpenFails(true);
    EXPECT_EQ(OpenDesktopA("Default", 0, FALSE, DESKTOP_SWITCHDESKTOP), nullptr);
    const StandInCounts counts = StandInGetCounts();
    EXPECT_EQ(counts.desktopOpens, 1);
    EXPECT_EQ(counts.desktopsOpen, 0);
    EXPECT_EQ(counts.badHandles, 2);
    EXPECT_EQ(counts.switches, 1);
    EXPECT_EQ(counts.refusedSwitches, 1);
    EXPECT_EQ(counts.failedOpens, 2);
}

TEST_F(StandInTest, AModalBoxKeepsDispatchingUntilItsRuleClosesIt)
{
    SetTimer(nullptr, 0, 10000, Record);
    StandInSetBoxRule({StandInBoxAfterTicks, 2});
    EXPECT_EQ(MessageBoxA(nullptr, "t", "c", MB_OK), IDOK);
    EXPECT_EQ(seen, (std::vector<std::string>{"10000", "20000"}));
    StandInSetBoxRule({StandInBoxAfterMs, 5000});
    MessageBoxA(nullptr, "t", "c", MB_OK);
    EXPECT_EQ(StandInNow(), 25000u);
    StandInSetLocked(true);
    StandInSchedule(61000, [](void*) { StandInSetLocked(false); }, nullptr);
    StandInSetBoxRule({StandInBoxWhenUnlocked, 0});
    MessageBoxA(nullptr, "t", "c", MB_OK);
    EXPECT_EQ(StandInNow(), 61000u);
    EXPECT_EQ(seen.size(), 6u);
    // A box that would never close is closed at the end of time.
    StandInSetLocked(true);
    StandInSetHorizon(90000);
    MessageBoxA(nullptr, "t", "c", MB_OK);
    EXPECT_EQ(StandInNow(), 90000u);
    EXPECT_EQ(StandInGetCounts().boxesOpen, 0);
}

TEST_F(StandInTest, ScheduledActionsRunBeforeTicksOfTheSameInstantInOrder)
{
    static std::string order;
    order.clear();
    SetTimer(nullptr, 0, 10000, [](HWND, UINT, UINT_PTR, DWORD) { order += 'T'; });
    StandInSchedule(10000, [](void*) { order += 'b'; }, nullptr);
    StandInSchedule(5000, [](void*) { order += 'a'; }, nullptr);
    StandInSchedule(10000, [](void*) { order += 'c'; }, nullptr);
    StandInPump(10000);
    EXPECT_EQ(order, "abcT");
}

}  // namespace
