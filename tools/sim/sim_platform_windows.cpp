// The scenario host on Windows: the plug-in's USER32 imports are pointed at the stand-in's
// world through its import address table; KERNEL32's string calls stay the real ones.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <windows.h>

#include "platform/standin/standin_calls.h"
#include "tools/loader/import_patch.h"
#include "tools/sim/sim_platform.h"

void SimInitializeOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

bool SimPreparePlugin(const PluginLibrary& plugin, char* error, int errorSize)
{
    const ImportHook hooks[] = {
        {"OpenDesktopA", reinterpret_cast<void*>(&StandInOpenDesktopA)},
        {"SwitchDesktop", reinterpret_cast<void*>(&StandInSwitchDesktop)},
        {"CloseDesktop", reinterpret_cast<void*>(&StandInCloseDesktop)},
        {"SetTimer", reinterpret_cast<void*>(&StandInSetTimer)},
        {"KillTimer", reinterpret_cast<void*>(&StandInKillTimer)},
        {"MessageBoxA", reinterpret_cast<void*>(&StandInMessageBoxA)},
    };
    return PatchImports(plugin.module, "USER32.dll", hooks, sizeof hooks / sizeof hooks[0], error, errorSize);
}

bool SimOutputIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}
