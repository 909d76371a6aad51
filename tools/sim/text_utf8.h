// Showing code-page-932 text to a person.
#pragma once

#include <string>

// The text converted to UTF-8; bytes that are not valid code page 932, and control
// characters, are shown as \xNN.
std::string Cp932ToUtf8(const std::string& cp932);
