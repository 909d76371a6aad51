// The plug-in's version, author and names: the one source of the identity strings and of the
// library's version resource. Plain #defines only, so the resource compiler reads it too.
#pragma once

#include "host/plugin_names.h"

#define ZAVRIK_VERSION_TEXT "0.2.3"
#define ZAVRIK_VERSION_NUMBERS 0, 2, 3, 0
#define ZAVRIK_SECOND_VERSION_TEXT "0.1.0"
#define ZAVRIK_AUTHOR "Brovane"
#define ZAVRIK_COPYRIGHT "Copyright (C) 2026 Brovane"
#define ZAVRIK_DESCRIPTION_ENGLISH "A plug-in that sets the status to away while the computer is locked"
#define ZAVRIK_MODULE_FILE "Zavrik.dll"
