// Reading the protocol name that the host wrote back for "System/Connection/GetInfo".
#pragma once

#include <stdint.h>

#include "watcher/connection_records.h"

// The pattern of a protocol's status-change service.
#define CHANGE_USER_STATUS_PATTERN "Protocol/%s/Connection/ChangeUserStatus"

// The longest protocol name whose service name still fits the 1024-byte name buffer: the
// pattern's own text takes 37 bytes and the terminator one.
constexpr int32_t MaxProtocolNameLength =
    ServiceNameBufferSize - (int32_t)(sizeof(CHANGE_USER_STATUS_PATTERN) - 1 - 2) - 1;
static_assert(MaxProtocolNameLength == 986, "37 bytes of pattern text and a terminator");

// Finds the name the host left behind `info`: the zero-terminated text that `info.data`
// and its `buffer` point to after the call. An absent record or buffer gives an empty name.
// The text is read only within the bufferSize its record states, within our own buffer
// `ownBuffer` when the text lies in it, and never beyond MaxProtocolNameLength + 1 bytes; a
// text without a terminator inside those bounds is a name that does not fit, and nullptr is
// returned for it.
const char* FindProtocolName(const ConnectionInfo& info, const char* ownBuffer, int32_t ownBufferSize);
