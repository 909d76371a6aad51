// The library entry: nothing to set up and nothing to release.
#include "platform/windows_api.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE /*instance*/, DWORD /*reason*/, LPVOID /*reserved*/)
{
    return TRUE;
}
