// Reading scenarios: what is accepted, and a clear error for everything else.
#include <gtest/gtest.h>

#include <string>

#include "tools/sim/scenario.h"

namespace {

TEST(ScenarioTest, ReadsConnectionsTheBoxRuleEventsAndTheEnd)
{
    Scenario s;
    std::string error;
    ASSERT_TRUE(ParseScenario("# comment\n"
                              "connection a protocol jabber   # trailing comment\n"
                              "connection b protocol icq no-service returns -7\n"
                              "\n"
                              "box after 3 ticks\n"
                              "at 1m30s lock\n"
                              "at 500ms option-dialog\n"
                              "end 1h\n",
                              "f", &s, &error))
        << error;
    ASSERT_EQ(s.connections.size(), 2u);
    EXPECT_EQ(s.connections[0].protocol, "jabber");
    EXPECT_TRUE(s.connections[0].hasService);
    EXPECT_EQ(s.connections[0].result, 1);
    EXPECT_FALSE(s.connections[1].hasService);
    EXPECT_EQ(s.connections[1].result, -7);
    EXPECT_EQ(s.box.mode, StandInBoxAfterTicks);
    EXPECT_EQ(s.box.value, 3u);
    ASSERT_EQ(s.events.size(), 2u);
    EXPECT_EQ(s.events[0].atMs, 90000u);
    EXPECT_EQ(s.events[0].kind, EventLock);
    EXPECT_EQ(s.events[1].atMs, 500u);
    EXPECT_EQ(s.events[1].line, 7);
    EXPECT_EQ(s.endMs, 3600000u);
}

TEST(ScenarioTest, TheBuiltInScenarioIsValid)
{
    Scenario s;
    std::string error;
    EXPECT_TRUE(ParseScenario(DefaultScenario, "built-in", &s, &error)) << error;
    EXPECT_EQ(s.connections.size(), 3u);
}

struct Refusal {
    std::string text;
    const char* error;
};

TEST(ScenarioTest, RefusesBadInputNamingTheLine)
{
    const std::string longName(1024, 'p');
    const std::string longest(1023, 'p');
    const Refusal cases[] = {
        {"lock\nend 1m\n", "f:1: unknown directive 'lock'"},
        {"end 1m\nat 10 lock\n", "f:2: bad time '10': expected a number and a unit (ms, s, m, h)"},
        {"end 1m\nat 10x lock\n", "f:2: bad time '10x': expected a number and a unit (ms, s, m, h)"},
        {"end 1m\nat s lock\n", "f:2: bad time 's': expected a number and a unit (ms, s, m, h)"},
        {"end 1m\nat -5s lock\n", "f:2: bad time '-5s': expected a number and a unit (ms, s, m, h)"},
        {"end 50d\n", "f:1: bad time '50d': expected a number and a unit (ms, s, m, h)"},
        {"end 1200h\n", "f:1: bad time '1200h': expected a number and a unit (ms, s, m, h)"},
        {"end 1m\nat 10s sleep\n", "f:2: unknown event 'sleep': expected lock, unlock, open-fails, open-works, "
                                   "option-dialog or terminate"},
        {"end 1m\nat 10s\n", "f:2: expected 'at TIME EVENT'"},
        {"connection a protocol x\nconnection a protocol y\nend 1m\n",
         "f:2: connection 'a' is already defined on line 1"},
        {"connection a protocol x returns many\nend 1m\n", "f:1: bad number 'many': expected a 32-bit integer"},
        {"connection a protocol x returns 2147483648\nend 1m\n",
         "f:1: bad number '2147483648': expected a 32-bit integer"},
        {"connection a protocol x loud\nend 1m\n", "f:1: unexpected 'loud': expected 'no-service' or 'returns N'"},
        {"connection a jabber\nend 1m\n", "f:1: expected 'connection NAME protocol PROTOCOL [no-service] [returns N]'"},
        {"box sometimes\nend 1m\n",
         "f:1: expected 'box at-once', 'box after N ticks', 'box after TIME' or 'box until-unlock'"},
        {"box at-once\nbox at-once\nend 1m\n", "f:2: the box rule is given twice"},
        {"box after x ticks\nend 1m\n", "f:1: bad number 'x': expected a count of ticks"},
        {"at 2m lock\nend 1m\n", "f:1: event at 2m comes after the end at 1m (line 2)"},
        {"end 1m\nend 2m\n", "f:2: the end is given twice, first on line 1"},
        {"at 1s lock\n", "f:2: no 'end TIME': a scenario says when it ends"},
    };
    for (const Refusal& c : cases) {
        Scenario s;
        std::string error;
        EXPECT_FALSE(ParseScenario(c.text, "f", &s, &error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got: " << error;
    }

    Scenario s;
    std::string error;
    EXPECT_FALSE(ParseScenario("connection a protocol " + longName + "\nend 1m\n", "f", &s, &error));
    EXPECT_EQ(error, "f:1: protocol name of 1024 bytes: a host writes at most 1023 bytes into the plug-in's buffer");
    EXPECT_TRUE(ParseScenario("connection a protocol " + longest + "\nend 1m\n", "f", &s, &error)) << error;
    EXPECT_FALSE(ParseScenario(std::string("end 1m\nat 1s lo\0ck\n", 20), "f", &s, &error));
    EXPECT_EQ(error, "f:2: a NUL byte in the line");
}

TEST(ScenarioTest, DurationsAndClocks)
{
    uint32_t ms = 0;
    ASSERT_TRUE(ParseDuration("1h2m3s4ms", &ms));
    EXPECT_EQ(ms, 3723004u);
    EXPECT_EQ(ClockText(3723004), "1:02:03.004");
    EXPECT_EQ(ClockText(65000), "1:05");
    EXPECT_EQ(DurationText(3723004), "1h2m3s4ms");
    EXPECT_EQ(DurationText(0), "0s");
}

}  // namespace
