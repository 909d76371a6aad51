// Pointing a loaded module's imports at functions of our own, through its import address
// table: how a test host on Windows steers what the plug-in sees of USER32.
#pragma once

struct ImportHook {
    const char* name;   // the imported function's name
    void* replacement;  // what the module calls instead
};

// Replaces, in `module`, each listed import from the library `library`. Returns false and
// writes the reason when one of them is not imported.
bool PatchImports(void* module, const char* library, const ImportHook* hooks, int count, char* error, int errorSize);
