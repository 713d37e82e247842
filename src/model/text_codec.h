// Conversion between the program's UTF-8 text and the CP932 bytes of its
// settings and result files.
#pragma once

#include <string>
#include <string_view>

namespace zx {

// False when a character has no CP932 form (nothing is substituted).
bool Utf8ToCp932(std::string_view utf8, std::string& out);
// Bytes that are not valid CP932 become U+FFFD; never fails.
std::string Cp932ToUtf8(std::string_view cp932);

// True when every character has a CP932 form: what the program's files can
// hold (paths included).
bool CanWriteCp932(std::string_view utf8);

// True when the bytes are valid UTF-8.
bool IsUtf8(std::string_view bytes);

// Text read from a file: CP932, unless the bytes are valid UTF-8 and not
// valid CP932.
std::string DecodeText(std::string_view bytes);

}  // namespace zx
