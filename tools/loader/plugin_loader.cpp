#include "tools/loader/plugin_loader.h"

#include <stdio.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace {

void* OpenModule(const char* path)
{
#if defined(_WIN32)
    return reinterpret_cast<void*>(LoadLibraryA(path));
#else
    return dlopen(path, RTLD_NOW | RTLD_LOCAL);
#endif
}

void* FindExport(void* module, const char* name)
{
#if defined(_WIN32)
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(module), name));
#else
    return dlsym(module, name);
#endif
}

void CloseModule(void* module)
{
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(module));
#else
    dlclose(module);
#endif
}

const char* LastError()
{
#if defined(_WIN32)
    static char text[32];
    snprintf(text, sizeof text, "error %lu", static_cast<unsigned long>(GetLastError()));
    return text;
#else
    const char* text = dlerror();
    return text != nullptr ? text : "unknown error";
#endif
}

}  // namespace

bool LoadPlugin(const char* path, PluginLibrary* library, char* error, int errorSize)
{
    *library = PluginLibrary{};
    library->module = OpenModule(path);
    if (library->module == nullptr) {
        snprintf(error, static_cast<size_t>(errorSize), "cannot load %s: %s", path, LastError());
        return false;
    }
    library->getPluginInfo = reinterpret_cast<GetPluginInfoFunction>(FindExport(library->module, "GetPluginInfo"));
    library->initialize = reinterpret_cast<InitializeFunction>(FindExport(library->module, "Initialize"));
    library->terminate = reinterpret_cast<TerminateFunction>(FindExport(library->module, "Terminate"));
    if (library->getPluginInfo == nullptr || library->initialize == nullptr || library->terminate == nullptr) {
        snprintf(error, static_cast<size_t>(errorSize), "%s lacks GetPluginInfo, Initialize or Terminate", path);
        UnloadPlugin(library);
        return false;
    }
    return true;
}

void UnloadPlugin(PluginLibrary* library)
{
    if (library->module != nullptr) {
        CloseModule(library->module);
    }
    *library = PluginLibrary{};
}

const char* DefaultPluginPath()
{
#if defined(ZAVRIK_PLUGIN_PATH)
    return ZAVRIK_PLUGIN_PATH;
#else
    return "";
#endif
}
