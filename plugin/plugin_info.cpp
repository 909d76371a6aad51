#include "plugin/plugin_info.h"

#include "platform/windows_api.h"
#include "plugin/exports.h"
#include "plugin/version.h"

// Code-page-932 bytes.
const char* const PluginInfoStrings[PluginInfoCount] = {
    ZAVRIK_VERSION_TEXT,
    ZAVRIK_IDENTIFIER,
    ZAVRIK_NAME,
    // コンピュータがロックされている時に退席中にするプラグイン
    "\x83\x52\x83\x93\x83\x73\x83\x85\x81\x5b\x83\x5e\x82\xaa\x83\x8d\x83\x62\x83\x4e"
    "\x82\xb3\x82\xea\x82\xc4\x82\xa2\x82\xe9\x8e\x9e\x82\xc9\x91\xde\x90\xc8\x92\x86"
    "\x82\xc9\x82\xb7\x82\xe9\x83\x76\x83\x89\x83\x4f\x83\x43\x83\x93",
    ZAVRIK_AUTHOR,
    ZAVRIK_COPYRIGHT,
    ZAVRIK_SECOND_VERSION_TEXT,
};

extern "C" int32_t ZAVRIK_CALL GetPluginInfo(int32_t index, char* buffer, int32_t bufferLength)
{
    if (index < 0 || index >= PluginInfoCount) {
        return 0;
    }
    // No room for even the terminator: nothing is written.
    if (buffer == nullptr || bufferLength <= 0) {
        return 0;
    }
    lstrcpynA(buffer, PluginInfoStrings[index], bufferLength);
    return lstrlenA(buffer);
}
