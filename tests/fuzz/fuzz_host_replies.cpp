// Whatever the host hands back during a switch: any GetInfo bytes, lengths up to and past
// the buffer, a redirected or null value record, any ChangeUserStatus result. The plug-in
// must read and write only within bounds (the sanitizers watch), never look up a cut name,
// and leave no desktop handle open.
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>

#include "platform/standin/standin_control.h"
#include "plugin/exports.h"
#include "tools/fakehost/fake_host.h"

namespace {

struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at;

    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | (Byte() << 8)); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Reader in{data, size, 0};
    StandInReset();
    FakeHostReset();
    const int connections = in.Byte() % 4 + 1;
    for (int i = 0; i < connections; ++i) {
        FakeConnectionSetup setup;
        setup.name = "c" + std::to_string(i);
        setup.reply = static_cast<FakeInfoReply>(in.Byte() % 7);
        setup.changeResult = static_cast<int8_t>(in.Byte());
        setup.hasService = (in.Byte() & 1) != 0;
        setup.claimedSize = static_cast<int16_t>(in.Word());
        const size_t length = in.Word() % 2100;
        for (size_t k = 0; k < length && in.at < in.size; ++k) {
            setup.protocol += static_cast<char>(in.Byte());
        }
        // A redirected record is read only within the size it states; the fake host holds
        // exactly the protocol bytes, so a size beyond them would be the host's own lie.
        if (setup.reply == ReplyRedirect && setup.claimedSize > static_cast<int32_t>(setup.protocol.size())) {
            setup.claimedSize = static_cast<int32_t>(setup.protocol.size());
        }
        FakeHostAddConnection(setup);
    }

    HostServices record = FakeHostRecord();
    if (Initialize(&record) != 0) {
        abort();
    }
    StandInSetLocked(true);
    StandInPump(10000);
    StandInSetLocked(false);
    StandInPump(10000);
    Terminate();

    // Every service name the plug-in composed is whole and within its buffer.
    const std::string head = "Protocol/";
    const std::string tail = "/Connection/ChangeUserStatus";
    for (const std::string& name : FakeHostLookups()) {
        if (name.rfind("System/", 0) == 0) {
            continue;
        }
        if (name.size() > 1023 || name.size() < head.size() + tail.size() || name.rfind(head, 0) != 0 ||
            name.compare(name.size() - tail.size(), tail.size(), tail) != 0) {
            abort();
        }
    }
    const StandInCounts counts = StandInGetCounts();
    if (counts.desktopsOpen != 0 || counts.badHandles != 0 || counts.maxTickDepth > 1) {
        abort();
    }
    return 0;
}
