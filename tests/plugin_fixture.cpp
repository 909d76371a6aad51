#include "tests/plugin_fixture.h"

#include <iconv.h>

void PluginTest::SetUp()
{
    StandInReset();
    FakeHostReset();
    char error[512];
    ASSERT_TRUE(LoadPlugin(DefaultPluginPath(), &plugin, error, sizeof error)) << error;
    record = FakeHostRecord();
}

void PluginTest::TearDown()
{
    if (plugin.terminate != nullptr) {
        plugin.terminate();
    }
    UnloadPlugin(&plugin);
    EXPECT_EQ(TraceFaultCount(), 0) << "the host saw a record or call that breaks its rules";
    StandInCounts counts = StandInGetCounts();
    EXPECT_EQ(counts.desktopsOpen, 0) << "a desktop handle was left open";
    EXPECT_EQ(counts.badHandles, 0) << "a desktop handle was used after closing, or never opened";
}

int32_t PluginTest::Start()
{
    return plugin.initialize(&record);
}

int PluginTest::AddConnection(const std::string& name, const std::string& protocol, bool hasService, int32_t result)
{
    FakeConnectionSetup setup;
    setup.name = name;
    setup.protocol = protocol;
    setup.hasService = hasService;
    setup.changeResult = result;
    return FakeHostAddConnection(setup);
}

std::vector<std::string> StartUpHostCalls()
{
    return {
        "RegisterService \"AddIn/Zavrik/ShowOptionDialog\"",
        "GetService \"System/Connection/GetInfo\" -> GetInfo",
        "GetService \"System/Connection/SetInfo\" -> SetInfo",
        "GetService \"System/Connection/Enum\" -> Enum",
        "GetService \"System/EnumProtocols\" -> EnumProtocols",
        "GetEvent \"System/Connection/OnInfoChange\" -> OnInfoChange",
    };
}

std::vector<std::string> Accepted(const std::string& name, const std::string& protocol, int status)
{
    const std::string service = "Protocol/" + protocol + "/Connection/ChangeUserStatus";
    return {
        "GetInfo " + name + " item 2000 -> \"" + protocol + "\"",
        "GetService \"" + service + "\" -> " + protocol + "/ChangeUserStatus",
        "ChangeUserStatus " + name + " status " + std::to_string(status) + " -> 1",
        "SetInfo " + name + " item 1002 = " + std::to_string(status),
    };
}

std::vector<std::string> Lines(std::initializer_list<std::vector<std::string>> parts)
{
    std::vector<std::string> all;
    for (const std::vector<std::string>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

std::string Cp932(const std::string& utf8)
{
    iconv_t converter = iconv_open("CP932", "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        ADD_FAILURE() << "iconv has no CP932";
        return {};
    }
    std::string in = utf8;
    std::string out(in.size() * 2 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out.data();
    size_t outLeft = out.size();
    const size_t rc = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(converter);
    EXPECT_NE(rc, static_cast<size_t>(-1)) << "not convertible to CP932: " << utf8;
    out.resize(out.size() - outLeft);
    return out;
}
