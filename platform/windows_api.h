// The one door to Windows. Product code includes this header for every platform call and
// type; on Windows it is <windows.h>, elsewhere our stand-in with the same names and
// signatures.
#pragma once

#if defined(_WIN32)
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#else
#include "platform/standin/windows_standin.h"
#endif
