#include "watcher/protocol_name.h"

#include <stdint.h>

const char* FindProtocolName(const ConnectionInfo& info, const char* ownBuffer, int32_t ownBufferSize)
{
    const ConnectionInfoData* data = info.data;
    if (data == nullptr || data->buffer == nullptr) {
        return "";
    }
    const char* text = static_cast<const char*>(data->buffer);

    // A record of 0 bytes or fewer holds no terminator: a name that does not fit.
    if (data->bufferSize <= 0) {
        return nullptr;
    }
    int32_t limit = MaxProtocolNameLength + 1;
    if (data->bufferSize < limit) {
        limit = data->bufferSize;
    }
    const uintptr_t at = reinterpret_cast<uintptr_t>(text);
    const uintptr_t ownStart = reinterpret_cast<uintptr_t>(ownBuffer);
    const uintptr_t ownEnd = ownStart + static_cast<uintptr_t>(ownBufferSize);
    if (at >= ownStart && at < ownEnd && static_cast<uintptr_t>(limit) > ownEnd - at) {
        limit = static_cast<int32_t>(ownEnd - at);
    }

    for (int32_t i = 0; i < limit; ++i) {
        if (text[i] == '\0') {
            return text;
        }
    }
    return nullptr;
}
