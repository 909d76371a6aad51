#include <errno.h>
#include <stdio.h>
#include <string.h>
#include <unistd.h>

#include "tools/sim/sim_platform.h"

void SimInitializeOutput() {}

// The library links against the stand-in, so it already runs in its world.
bool SimPreparePlugin(const PluginLibrary& /*plugin*/, char* /*error*/, int /*errorSize*/)
{
    return true;
}

bool SimOutputIsTerminal()
{
    return isatty(STDOUT_FILENO) != 0;
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
        if (text->size() > 16 * 1024 * 1024) {
            *reason = "larger than 16 MiB";
            if (file != stdin) {
                fclose(file);
            }
            return false;
        }
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
