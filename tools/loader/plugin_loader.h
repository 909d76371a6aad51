// Loads the plug-in library as the host does and resolves its exports by name.
#pragma once

#include "plugin/exports.h"

struct PluginLibrary {
    void* module;
    GetPluginInfoFunction getPluginInfo;
    InitializeFunction initialize;
    TerminateFunction terminate;
};

// Loads the library at `path`; returns false (and writes the reason to `error`) when it
// cannot be loaded or lacks one of the three exports.
bool LoadPlugin(const char* path, PluginLibrary* library, char* error, int errorSize);
// Unloads it; the next load starts from the library's zero state.
void UnloadPlugin(PluginLibrary* library);
// Where the build put the library next to this program; empty if unknown.
const char* DefaultPluginPath();
