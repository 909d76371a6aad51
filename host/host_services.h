// The record of host operations handed to Initialize, the opaque values the host gives out,
// and the plug-in's module-wide copy of the record.
#pragma once

#include <stdint.h>

#include "host/host_abi.h"

// Opaque host values: the plug-in stores and passes them back, never looks inside.
typedef struct ServiceTag* ServiceHandle;  // 0: no such service
typedef struct EventTag* EventHandle;
typedef struct ConnectionTag* ConnectionHandle;

// A plug-in function made callable as a service: two pointer-sized arguments.
typedef int32_t(ZAVRIK_CALL* ServiceHandler)(intptr_t first, intptr_t second);

// The enumeration callback of "System/Connection/Enum": called once per connection.
typedef int32_t(ZAVRIK_CALL* ConnectionCallback)(ConnectionHandle connection, intptr_t context);

// An entry the plug-in never calls; only its size and place matter.
typedef void(ZAVRIK_CALL* UnusedHostEntry)(void);

struct HostServices {
    UnusedHostEntry entry1;
    int32_t(ZAVRIK_CALL* RegisterService)(const char* name, ServiceHandler handler);
    ServiceHandle(ZAVRIK_CALL* GetService)(const char* name);
    int32_t(ZAVRIK_CALL* CallService)(ServiceHandle service, intptr_t first, intptr_t second);
    UnusedHostEntry entry5;
    EventHandle(ZAVRIK_CALL* GetEvent)(const char* name);
    UnusedHostEntry entry7;
    UnusedHostEntry entry8;
    UnusedHostEntry entry9;
};

static_assert(sizeof(HostServices) == 9 * sizeof(void*), "HostServices is nine pointer-sized entries");
static_assert(sizeof(void*) != 4 || sizeof(HostServices) == 36, "HostServices is 36 bytes with 32-bit pointers");

// The plug-in's copy of the host's record, filled by Initialize and valid until unload.
extern HostServices hostServices;
