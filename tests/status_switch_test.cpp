// One switch of every connection, as the host sees it.
#include "tests/plugin_fixture.h"

namespace {

class StatusSwitchTest : public PluginTest {
protected:
    // Starts the plug-in and has it switch every connection to 5 and back to 1.
    void LockAndUnlock()
    {
        ASSERT_EQ(Start(), 0);
        ClearTrace();
        StandInSetLocked(true);
        Ticks(1);
        StandInSetLocked(false);
        Ticks(1);
    }
};

const std::string ErrorBox = "MessageBoxA 0x0 \"Error\" \"Zavrik\" 0x40";
const std::string BoxClosed = "box closed by the user";

TEST_F(StatusSwitchTest, AHostWithoutConnectionsIsOnlyAskedToEnumerate)
{
    LockAndUnlock();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"Enum", "Enum end", "Enum", "Enum end"}));
}

TEST_F(StatusSwitchTest, EveryConnectionGoesThroughItsOwnProtocolsService)
{
    AddConnection("one", "a");
    AddConnection("two", "b");
    LockAndUnlock();
    EXPECT_EQ(Trace(), Lines({{"Enum"}, Accepted("one", "a", 5), Accepted("two", "b", 5), {"Enum end"},
                              {"Enum"}, Accepted("one", "a", 1), Accepted("two", "b", 1), {"Enum end"}}));
    EXPECT_EQ(FakeHostStoredStatus(0), 1);
    EXPECT_EQ(FakeHostStoredStatus(1), 1);
}

TEST_F(StatusSwitchTest, ARefusedChangeIsNotRecordedAndAMissingServiceShowsTheErrorBox)
{
    AddConnection("refuses", "icq", true, 0);
    AddConnection("lacks", "irc", false);
    AddConnection("accepts", "jabber");
    LockAndUnlock();
    const std::vector<std::string> refused = {
        "GetInfo refuses item 2000 -> \"icq\"",
        "GetService \"Protocol/icq/Connection/ChangeUserStatus\" -> icq/ChangeUserStatus",
    };
    const std::vector<std::string> lacking = {
        "GetInfo lacks item 2000 -> \"irc\"",
        "GetService \"Protocol/irc/Connection/ChangeUserStatus\" -> 0",
        ErrorBox,
        BoxClosed,
    };
    EXPECT_EQ(Trace(TraceCalls), Lines({{"Enum"}, refused, {"ChangeUserStatus refuses status 5 -> 0"}, lacking,
                                        Accepted("accepts", "jabber", 5), {"Enum end"},
                                        {"Enum"}, refused, {"ChangeUserStatus refuses status 1 -> 0"}, lacking,
                                        Accepted("accepts", "jabber", 1), {"Enum end"}}));
    EXPECT_EQ(FakeHostStoredStatus(0), 0);
    EXPECT_EQ(FakeHostStoredStatus(1), 0);
}

TEST_F(StatusSwitchTest, TheRecordsAreLaidOutAgainBeforeEverySwitchAfterTheHostWroteIntoThem)
{
    // The fake host checks every record it is handed: ChangeUserStatus size 16, status 5 or 1
    // and both reserved fields 0; SetInfo item 1002, type 2, a 4-byte buffer holding 5 or 1.
    // After each call it writes into those fields; any fault fails the test on tear-down.
    AddConnection("alpha", "jabber");
    FakeHostScribbleOnRecords(true);
    LockAndUnlock();
    EXPECT_EQ(Trace(TraceCalls), Lines({{"Enum"}, Accepted("alpha", "jabber", 5), {"Enum end"},
                                        {"Enum"}, Accepted("alpha", "jabber", 1), {"Enum end"}}));
}

TEST_F(StatusSwitchTest, MissingSystemServicesArePassedOnAsZeroWithoutHarm)
{
    FakeHostOmitService("System/Connection/Enum");
    AddConnection("alpha", "jabber");
    LockAndUnlock();
    EXPECT_EQ(Trace(), (std::vector<std::string>{"CallService 0 -> no such service", "CallService 0 -> no such service"}));

    // Without GetInfo and SetInfo the name stays empty and nothing is recorded.
    TearDown();
    SetUp();
    FakeHostOmitService("System/Connection/GetInfo");
    FakeHostOmitService("System/Connection/SetInfo");
    AddConnection("alpha", "");
    AddConnection("beta", "");
    StandInSetLocked(true);
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    Ticks(1);
    EXPECT_EQ(Trace(), (std::vector<std::string>{
                           "Enum",
                           "CallService 0 -> no such service",
                           "GetService \"Protocol//Connection/ChangeUserStatus\" -> /ChangeUserStatus",
                           "ChangeUserStatus alpha status 5 -> 1",
                           "CallService 0 -> no such service",
                           "CallService 0 -> no such service",
                           "GetService \"Protocol//Connection/ChangeUserStatus\" -> /ChangeUserStatus",
                           "ChangeUserStatus beta status 5 -> 1",
                           "CallService 0 -> no such service",
                           "Enum end",
                       }));
}

// What GetInfo leaves behind decides the service name looked up, and nothing outside the
// bounds of the text is ever read or written.
struct NameCase {
    const char* what;
    FakeInfoReply reply;
    std::string protocol;  // the bytes the host holds
    int32_t claimedSize;
    std::string lookedUp;  // the name expected in GetService, or "" for the "Error" box without a look-up
};

TEST_F(StatusSwitchTest, TheProtocolNameIsReadOnlyWithinItsBounds)
{
    const std::string longest(986, 'p');
    const std::string tooLong(987, 'p');
    auto nameFor = [&](const std::string& p) { return "Protocol/" + p + "/Connection/ChangeUserStatus"; };
    const NameCase cases[] = {
        {"an ordinary name", ReplyName, "jabber", 0, nameFor("jabber")},
        {"a host that writes nothing", ReplyNothing, "", 0, nameFor("")},
        {"the longest name that fits", ReplyName, longest, 0, nameFor(longest)},
        {"one byte too long", ReplyName, tooLong, 0, ""},
        {"the whole buffer, cut by the host", ReplyName, std::string(2000, 'q'), 0, ""},
        {"1024 bytes and no terminator", ReplyRawBytes, std::string(1024, 'r'), 0, ""},
        {"the host's own record", ReplyRedirect, std::string("xmpp\0", 5), 5, nameFor("xmpp")},
        {"its own record, unterminated within its size", ReplyRedirect, std::string("xmpp\0", 5), 4, ""},
        {"its own record, 988 bytes unterminated, claiming more", ReplyRedirect, std::string(988, 'p'), 5000, ""},
        {"its own record of size 0", ReplyRedirect, std::string("\0", 1), 0, ""},
        {"its own record of a negative size", ReplyRedirect, std::string("\0", 1), -1, ""},
        {"our own record, resized to 0", ReplyResized, "jabber", 0, ""},
        {"our own record, resized to a negative size", ReplyResized, "jabber", -1, ""},
        {"our own record, resized to the most negative size", ReplyResized, "jabber", INT32_MIN, ""},
        {"our own record, resized to 7", ReplyResized, "jabber", 7, nameFor("jabber")},
        {"our own record, resized to 6: the terminator lies outside", ReplyResized, "jabber", 6, ""},
        {"our own record, resized past our buffer", ReplyResized, "jabber", 5000, nameFor("jabber")},
        {"no value record", ReplyNullData, "jabber", 0, nameFor("")},
        {"no buffer", ReplyNullBuffer, "jabber", 0, nameFor("")},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.what);
        TearDown();
        SetUp();
        FakeConnectionSetup setup;
        setup.name = "c";
        setup.protocol = c.protocol;
        setup.reply = c.reply;
        setup.claimedSize = c.claimedSize;
        FakeHostAddConnection(setup);
        StandInSetLocked(true);
        ASSERT_EQ(Start(), 0);
        ClearTrace();
        Ticks(1);
        const std::vector<std::string> calls = Trace(TraceHost | TraceBox);
        ASSERT_GE(calls.size(), 4u);
        if (c.lookedUp.empty()) {
            EXPECT_EQ(calls[2], ErrorBox);
            EXPECT_EQ(calls.size(), 5u) << "nothing else happens for that connection";
        } else {
            EXPECT_EQ(calls[2].substr(0, 12 + c.lookedUp.size()), "GetService \"" + c.lookedUp);
            EXPECT_EQ(calls[2][12 + c.lookedUp.size()], '"');
        }
    }
}

TEST_F(StatusSwitchTest, AHostThatWritesNothingNeverSeesThePreviousConnectionsName)
{
    AddConnection("first", "jabber");
    FakeConnectionSetup silent;
    silent.name = "second";
    silent.protocol = "jabber";
    silent.reply = ReplyNothing;
    FakeHostAddConnection(silent);
    StandInSetLocked(true);
    ASSERT_EQ(Start(), 0);
    ClearTrace();
    Ticks(1);
    const std::vector<std::string> calls = Trace(TraceHost);
    ASSERT_EQ(calls.size(), 8u);
    EXPECT_EQ(calls[6], "GetService \"Protocol//Connection/ChangeUserStatus\" -> 0");
}

}  // namespace
