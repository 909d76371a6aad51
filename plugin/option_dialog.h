// The option-dialog service: the plug-in has nothing to configure, and says so.
#pragma once

#include <stdint.h>

#include "host/host_services.h"

// Registers "AddIn/Zavrik/ShowOptionDialog" with the host.
void RegisterOptionService();

// The service handler: a modal notice owned by the window `owner` (0 allowed); returns 0.
int32_t ZAVRIK_CALL OnShowOptionDialog(intptr_t owner, intptr_t ignored);
