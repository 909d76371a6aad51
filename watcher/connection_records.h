// The records exchanged with the host for connection information and status changes.
// Every field is 32 bits wide on the 32-bit platform; the request records start with their
// own size in bytes, the value record with its type.
#pragma once

#include <stdint.h>

// The value of one item of a connection's information.
struct ConnectionInfoData {
    int32_t type;        // InfoTypeString or InfoTypeInteger
    void* buffer;        // the character buffer, or the 32-bit integer
    int32_t bufferSize;  // size of the buffer in bytes
};

// Request record of "System/Connection/GetInfo" and "System/Connection/SetInfo".
struct ConnectionInfo {
    int32_t size;  // sizeof(ConnectionInfo)
    int32_t infoId;
    ConnectionInfoData* data;
};

// Argument of a protocol's "Connection/ChangeUserStatus" service.
struct UserStatusChange {
    int32_t size;  // sizeof(UserStatusChange)
    int32_t status;
    int32_t reserved1;  // always 0
    int32_t reserved2;  // always 0
};

static_assert(sizeof(UserStatusChange) == 16, "UserStatusChange is four 32-bit fields");
static_assert(sizeof(void*) != 4 || sizeof(ConnectionInfo) == 12, "ConnectionInfo is 12 bytes with 32-bit pointers");
static_assert(sizeof(void*) != 4 || sizeof(ConnectionInfoData) == 12,
              "ConnectionInfoData is 12 bytes with 32-bit pointers");
static_assert(__builtin_offsetof(ConnectionInfo, infoId) == 4, "infoId follows size");
static_assert(__builtin_offsetof(ConnectionInfoData, buffer) == sizeof(void*), "buffer follows type");
static_assert(__builtin_offsetof(UserStatusChange, reserved2) == 12, "reserved2 is the fourth field");

// Items of a connection's information.
constexpr int32_t InfoUserStatus = 1002;
constexpr int32_t InfoProtocolName = 2000;

// Types of ConnectionInfoData values.
constexpr int32_t InfoTypeString = 0;
constexpr int32_t InfoTypeInteger = 2;

// The only two statuses the plug-in ever sends: away while locked, online otherwise.
constexpr int32_t LockedStatus = 5;
constexpr int32_t UnlockedStatus = 1;

// Size of the buffer the host writes a protocol name into.
constexpr int32_t ProtocolNameBufferSize = 1024;
// Size of the buffer a status-change service name is composed in.
constexpr int32_t ServiceNameBufferSize = 1024;
