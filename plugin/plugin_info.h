// The identity strings the host reads through GetPluginInfo.
#pragma once

#include <stdint.h>

constexpr int32_t PluginInfoCount = 7;
extern const char* const PluginInfoStrings[PluginInfoCount];

// Row 1: the plug-in's identifier, also the prefix of its service name.
constexpr int32_t PluginIdentifierRow = 1;
// Row 2: the plug-in's name, also the caption of its message boxes.
constexpr int32_t PluginNameRow = 2;
