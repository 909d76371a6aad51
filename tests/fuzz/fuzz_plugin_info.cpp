// GetPluginInfo with any index, length and buffer: the result is the length of what it
// wrote, a terminated prefix of the row that fits, and nothing is written outside the
// buffer (the sanitizers watch the exact allocation).
#include <stddef.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include "plugin/exports.h"
#include "plugin/plugin_info.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9) {
        return 0;
    }
    int32_t index = 0;
    int32_t length = 0;
    memcpy(&index, data, 4);
    memcpy(&length, data + 4, 4);
    const bool withBuffer = (data[8] & 1) != 0;
    // The host's buffer is as large as it says, up to 4 KiB: longer than any row.
    const size_t room = length <= 0 ? 1 : static_cast<size_t>(length > 4096 ? 4096 : length);
    char* buffer = new char[room];
    memset(buffer, 0x5A, room);

    const int32_t result = GetPluginInfo(index, withBuffer ? buffer : nullptr, length);
    const bool valid = index >= 0 && index < PluginInfoCount && withBuffer && length > 0;
    if (!valid) {
        for (size_t i = 0; i < room; ++i) {
            if (buffer[i] != 0x5A || result != 0) {
                abort();
            }
        }
    } else {
        const char* row = PluginInfoStrings[index];
        const size_t rowLength = strlen(row);
        const size_t expected = rowLength < static_cast<size_t>(length) - 1 ? rowLength : static_cast<size_t>(length) - 1;
        if (result != static_cast<int32_t>(expected) || buffer[expected] != '\0' || memcmp(buffer, row, expected) != 0) {
            abort();
        }
    }
    delete[] buffer;
    return 0;
}
