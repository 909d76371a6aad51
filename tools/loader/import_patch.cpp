#include "tools/loader/import_patch.h"

#include <stdio.h>
#include <string.h>
#include <windows.h>

bool PatchImports(void* module, const char* library, const ImportHook* hooks, int count, char* error, int errorSize)
{
    BYTE* base = static_cast<BYTE*>(module);
    const IMAGE_DOS_HEADER* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const IMAGE_NT_HEADERS* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int patched = 0;
    bool done[16] = {};
    const IMAGE_IMPORT_DESCRIPTOR* import = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
    for (; directory.VirtualAddress != 0 && import->Name != 0; ++import) {
        if (lstrcmpiA(reinterpret_cast<const char*>(base + import->Name), library) != 0) {
            continue;
        }
        const IMAGE_THUNK_DATA* names = reinterpret_cast<const IMAGE_THUNK_DATA*>(base + import->OriginalFirstThunk);
        IMAGE_THUNK_DATA* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + import->FirstThunk);
        for (; names->u1.AddressOfData != 0; ++names, ++slots) {
            if ((names->u1.Ordinal & IMAGE_ORDINAL_FLAG) != 0) {
                continue;
            }
            const IMAGE_IMPORT_BY_NAME* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
            for (int i = 0; i < count && i < 16; ++i) {
                if (strcmp(reinterpret_cast<const char*>(byName->Name), hooks[i].name) != 0) {
                    continue;
                }
                DWORD old = 0;
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, PAGE_READWRITE, &old);
                slots->u1.Function = reinterpret_cast<ULONG_PTR>(hooks[i].replacement);
                VirtualProtect(&slots->u1.Function, sizeof slots->u1.Function, old, &old);
                patched += done[i] ? 0 : 1;
                done[i] = true;
            }
        }
    }
    for (int i = 0; i < count && i < 16; ++i) {
        if (!done[i]) {
            snprintf(error, static_cast<size_t>(errorSize), "the module does not import %s from %s", hooks[i].name, library);
            return false;
        }
    }
    return patched == count;
}
