// Bounded composition of service names from a pattern with one %s.
#pragma once

#include <stdint.h>

// Writes `pattern` into `out` with its first "%s" replaced by the zero-terminated `text`;
// every other byte of the pattern is copied as it stands. Returns the length of the name, or
// -1 when the name and its terminator do not fit in `outSize` bytes; then `out` holds an
// empty string (when it has room for one). Nothing is ever written past `outSize` bytes.
int32_t FormatServiceName(char* out, int32_t outSize, const char* pattern, const char* text);
