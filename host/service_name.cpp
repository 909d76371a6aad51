#include "host/service_name.h"

int32_t FormatServiceName(char* out, int32_t outSize, const char* pattern, const char* text)
{
    if (out == nullptr || outSize <= 0) {
        return -1;
    }
    int32_t length = 0;
    bool substituted = false;
    for (const char* p = pattern; *p != '\0'; ++p) {
        const char* piece = p;
        int32_t pieceLength = 1;
        if (!substituted && p[0] == '%' && p[1] == 's') {
            substituted = true;
            ++p;
            piece = text;
            pieceLength = 0;
            while (text[pieceLength] != '\0') {
                ++pieceLength;
            }
        }
        // Keep one byte for the terminator.
        if (pieceLength > outSize - 1 - length) {
            out[0] = '\0';
            return -1;
        }
        for (int32_t i = 0; i < pieceLength; ++i) {
            out[length + i] = piece[i];
        }
        length += pieceLength;
    }
    out[length] = '\0';
    return length;
}
