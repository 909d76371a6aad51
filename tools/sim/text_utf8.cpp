#include "tools/sim/text_utf8.h"

#include <stdio.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace {

std::string Escaped(unsigned char byte)
{
    char text[8];
    snprintf(text, sizeof text, "\\x%02x", byte);
    return text;
}

// One character of code page 932: a single byte, or a lead byte and a trail byte.
size_t CharacterLength(const std::string& text, size_t at)
{
    const unsigned char b = static_cast<unsigned char>(text[at]);
    const bool lead = (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
    return lead && at + 1 < text.size() ? 2 : 1;
}

// Converts one character; returns false when it is not valid code page 932.
bool Convert(const std::string& character, std::string* utf8)
{
#if defined(_WIN32)
    wchar_t wide[4];
    const int n = MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, character.data(), static_cast<int>(character.size()),
                                      wide, 4);
    if (n <= 0) {
        return false;
    }
    char out[16];
    const int m = WideCharToMultiByte(CP_UTF8, 0, wide, n, out, sizeof out, nullptr, nullptr);
    if (m <= 0) {
        return false;
    }
    utf8->append(out, static_cast<size_t>(m));
    return true;
#else
    static iconv_t converter = iconv_open("UTF-8", "CP932");
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        return false;
    }
    std::string in = character;
    char out[16];
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = out;
    size_t outLeft = sizeof out;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    if (iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1) || inLeft != 0) {
        return false;
    }
    utf8->append(out, sizeof out - outLeft);
    return true;
#endif
}

}  // namespace

std::string Cp932ToUtf8(const std::string& cp932)
{
    std::string utf8;
    for (size_t at = 0; at < cp932.size();) {
        const unsigned char b = static_cast<unsigned char>(cp932[at]);
        if (b < 0x20 || b == 0x7F) {
            utf8 += Escaped(b);
            ++at;
            continue;
        }
        if (b < 0x80) {
            utf8 += static_cast<char>(b);
            ++at;
            continue;
        }
        const size_t length = CharacterLength(cp932, at);
        if (!Convert(cp932.substr(at, length), &utf8)) {
            for (size_t i = 0; i < length; ++i) {
                utf8 += Escaped(static_cast<unsigned char>(cp932[at + i]));
            }
        }
        at += length;
    }
    return utf8;
}
