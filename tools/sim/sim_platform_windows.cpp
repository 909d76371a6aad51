// The scenario host on Windows: the plug-in's USER32 imports are pointed at the stand-in's
// world through its import address table; KERNEL32's string calls stay the real ones.
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <string.h>
#include <windows.h>

#include "platform/standin/standin_calls.h"
#include "tools/sim/sim_platform.h"

namespace {

struct Hook {
    const char* name;
    void* replacement;
    bool done;
};

bool SameText(const char* a, const char* b)
{
    return lstrcmpiA(a, b) == 0;
}

}  // namespace

void SimInitializeOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    _setmode(_fileno(stdin), _O_BINARY);
}

bool SimPreparePlugin(const PluginLibrary& plugin, char* error, int errorSize)
{
    Hook hooks[] = {
        {"OpenDesktopA", reinterpret_cast<void*>(&StandInOpenDesktopA), false},
        {"SwitchDesktop", reinterpret_cast<void*>(&StandInSwitchDesktop), false},
        {"CloseDesktop", reinterpret_cast<void*>(&StandInCloseDesktop), false},
        {"SetTimer", reinterpret_cast<void*>(&StandInSetTimer), false},
        {"KillTimer", reinterpret_cast<void*>(&StandInKillTimer), false},
        {"MessageBoxA", reinterpret_cast<void*>(&StandInMessageBoxA), false},
    };
    BYTE* base = static_cast<BYTE*>(plugin.module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS32* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    const IMAGE_IMPORT_DESCRIPTOR* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; directory.VirtualAddress != 0 && import->Name != 0; ++import) {
        if (!SameText(reinterpret_cast<const char*>(base + import->Name), "USER32.dll")) {
            continue;
        }
        const IMAGE_THUNK_DATA32* names = reinterpret_cast<const IMAGE_THUNK_DATA32*>(base + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA32* slots = reinterpret_cast<IMAGE_THUNK_DATA32*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if ((names->u1.Ordinal & IMAGE_ORDINAL_FLAG32) != 0) {
                continue;
            }
            const IMAGE_IMPORT_BY_NAME* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (Hook& hook : hooks) {
                if (strcmp(reinterpret_cast<const char*>(byName->Name), hook.name) != 0) {
                    continue;
                }
                DWORD old = 0;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
                slots->u1.Function = static_cast<DWORD>(reinterpret_cast<uintptr_t>(hook.replacement));
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
                hook.done = true;
            }
        }
    }
    for (const Hook& hook : hooks) {
        if (!hook.done) {
            snprintf(error, static_cast<size_t>(errorSize), "the plug-in does not import %s from USER32", hook.name);
            return false;
        }
    }
    return true;
}

bool SimOutputIsTerminal()
{
    return _isatty(_fileno(stdout)) != 0;
}

bool SimReadFile(const std::string& path, std::string* text, std::string* reason)
{
    FILE* file = path == "-" ? stdin : fopen(path.c_str(), "rb");
    if (file == nullptr) {
        *reason = strerror(errno);
        return false;
    }
    char chunk[4096];
    size_t n = 0;
    text->clear();
    while ((n = fread(chunk, 1, sizeof chunk, file)) > 0) {
        text->append(chunk, n);
    }
    const bool failed = ferror(file) != 0;
    if (failed) {
        *reason = strerror(errno);
    }
    if (file != stdin) {
        fclose(file);
    }
    return !failed;
}
