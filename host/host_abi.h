// The calling convention of everything that crosses the boundary between the host and the
// plug-in: the exports, every HostServices entry, service handlers and the enumeration
// callback. On 32-bit Windows that is __stdcall (the callee pops its arguments); where the
// convention does not exist the macro is empty.
#pragma once

#if defined(_WIN32) && defined(__i386__)
#define ZAVRIK_CALL __stdcall
#elif defined(_WIN32) && defined(_M_IX86)
#define ZAVRIK_CALL __stdcall
#else
#define ZAVRIK_CALL
#endif
