// Composing service names in a fixed buffer.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "host/service_name.h"

namespace {

struct FormatCase {
    const char* pattern;
    std::string text;
    int32_t outSize;
    int32_t result;
    std::string name;
};

TEST(ServiceNameTest, ComposesOrRefusesWithoutWritingPastTheBuffer)
{
    const FormatCase cases[] = {
        {"%s/ShowOptionDialog", "AddIn/Zavrik", 256, 29, "AddIn/Zavrik/ShowOptionDialog"},
        {"Protocol/%s/Connection/ChangeUserStatus", "abc", 1024, 40, "Protocol/abc/Connection/ChangeUserStatus"},
        {"Protocol/%s/Connection/ChangeUserStatus", "", 1024, 37, "Protocol//Connection/ChangeUserStatus"},
        {"Protocol/%s/Connection/ChangeUserStatus", std::string(986, 'x'), 1024, 1023,
         "Protocol/" + std::string(986, 'x') + "/Connection/ChangeUserStatus"},
        {"Protocol/%s/Connection/ChangeUserStatus", std::string(987, 'x'), 1024, -1, ""},
        {"a%sb", "%s", 16, 4, "a%sb"},  // only the pattern's first %s is replaced
        {"%s", "abc", 4, 3, "abc"},
        {"%s", "abcd", 4, -1, ""},
        {"ab%s", "", 2, -1, ""},
        {"", "", 1, 0, ""},
    };
    for (const FormatCase& c : cases) {
        char out[1100];
        memset(out, 0x7E, sizeof out);
        EXPECT_EQ(FormatServiceName(out, c.outSize, c.pattern, c.text.c_str()), c.result) << c.pattern << " " << c.outSize;
        EXPECT_EQ(std::string(out), c.name);
        EXPECT_EQ(out[c.outSize], 0x7E) << "written past the buffer";
    }
    EXPECT_EQ(FormatServiceName(nullptr, 16, "%s", "a"), -1);
    char none[1] = {0x7E};
    EXPECT_EQ(FormatServiceName(none, 0, "%s", "a"), -1);
    EXPECT_EQ(none[0], 0x7E);
}

}  // namespace
