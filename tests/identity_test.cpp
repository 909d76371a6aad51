// The identity strings, as the host reads them before and after start-up.
#include <string.h>

#include "tests/plugin_fixture.h"

namespace {

using IdentityTest = PluginTest;

const char* const ExpectedUtf8[7] = {
    "0.2.3",
    "AddIn/Zavrik",
    "Zavrik",
    "コンピュータがロックされている時に退席中にするプラグイン",
    "Brovane",
    "Copyright (C) 2026 Brovane",
    "0.1.0",
};

TEST_F(IdentityTest, EveryRowIsItsCodePage932Text)
{
    for (int index = 0; index < 7; ++index) {
        char buffer[256];
        memset(buffer, 0x7E, sizeof buffer);
        const std::string expected = Cp932(ExpectedUtf8[index]);
        EXPECT_EQ(plugin.getPluginInfo(index, buffer, sizeof buffer), static_cast<int32_t>(expected.size()))
            << "row " << index;
        EXPECT_EQ(std::string(buffer), expected) << "row " << index;
    }
    char description[100];
    EXPECT_EQ(plugin.getPluginInfo(3, description, sizeof description), 56);
}

struct CutCase {
    int32_t index;
    int32_t bufferLength;
    const char* text;  // what the buffer holds afterwards
    int32_t result;
};

TEST_F(IdentityTest, ACopyIsCutToTheBufferAndAlwaysTerminated)
{
    const CutCase cases[] = {
        {2, 100, "Zavrik", 6},
        {1, 4, "Add", 3},
        {0, 1, "", 0},
        {2, 6, "Zavri", 5},
        {2, 7, "Zavrik", 6},
    };
    for (const CutCase& c : cases) {
        char buffer[128];
        memset(buffer, 0x7E, sizeof buffer);
        EXPECT_EQ(plugin.getPluginInfo(c.index, buffer, c.bufferLength), c.result) << c.index << "/" << c.bufferLength;
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.bufferLength], 0x7E) << "written past the buffer";
    }
}

TEST_F(IdentityTest, TheDescriptionCutInsideADoubleByteCharacterKeepsTheLeadByte)
{
    // The host asked for 2 bytes: one byte of the first character and the terminator.
    char buffer[8];
    EXPECT_EQ(plugin.getPluginInfo(3, buffer, 2), 1);
    EXPECT_EQ(static_cast<unsigned char>(buffer[0]), 0x83);
    EXPECT_EQ(buffer[1], '\0');
}

struct UntouchedCase {
    int32_t index;
    bool withBuffer;
    int32_t bufferLength;
};

TEST_F(IdentityTest, OutOfRangeOrNoRoomGivesZeroAndLeavesTheBufferAlone)
{
    const UntouchedCase cases[] = {
        {-1, true, 100}, {7, true, 100}, {INT32_MIN, true, 100}, {INT32_MAX, true, 100},
        {2, true, 0},    {2, true, -5},  {2, false, 100},
    };
    for (const UntouchedCase& c : cases) {
        char buffer[16];
        memset(buffer, 0x7E, sizeof buffer);
        EXPECT_EQ(plugin.getPluginInfo(c.index, c.withBuffer ? buffer : nullptr, c.bufferLength), 0)
            << c.index << "/" << c.bufferLength;
        for (char byte : buffer) {
            ASSERT_EQ(byte, 0x7E) << "index " << c.index << " length " << c.bufferLength;
        }
    }
}

TEST_F(IdentityTest, ReadableBeforeStartAndAfterStopWithoutTouchingTheHost)
{
    char before[32];
    EXPECT_EQ(plugin.getPluginInfo(1, before, sizeof before), 12);
    EXPECT_TRUE(Trace(TraceAll).empty());
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    char during[32];
    EXPECT_EQ(plugin.getPluginInfo(1, during, sizeof during), 12);
    Stop();
    char after[32];
    EXPECT_EQ(plugin.getPluginInfo(1, after, sizeof after), 12);
    EXPECT_STREQ(after, "AddIn/Zavrik");
    EXPECT_EQ(Trace(TraceHost).size(), 0u);
}

}  // namespace
