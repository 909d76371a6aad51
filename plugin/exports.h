// The three functions the library exports by name, and their types for a loader.
#pragma once

#include <stdint.h>

#include "host/host_services.h"

#if defined(_WIN32)
#define ZAVRIK_EXPORT  // the export list names them
#else
#define ZAVRIK_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
// Copies identity string `index` (0 to 6) into `buffer`; returns its length, or 0.
ZAVRIK_EXPORT int32_t ZAVRIK_CALL GetPluginInfo(int32_t index, char* buffer, int32_t bufferLength);
// Starts the plug-in with the host's record of operations; 0 on success, -1 on failure.
ZAVRIK_EXPORT int32_t ZAVRIK_CALL Initialize(const HostServices* host);
// Stops the poll timer; always 0.
ZAVRIK_EXPORT int32_t ZAVRIK_CALL Terminate(void);
}

typedef int32_t(ZAVRIK_CALL* GetPluginInfoFunction)(int32_t index, char* buffer, int32_t bufferLength);
typedef int32_t(ZAVRIK_CALL* InitializeFunction)(const HostServices* host);
typedef int32_t(ZAVRIK_CALL* TerminateFunction)(void);
