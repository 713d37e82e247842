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

}  // namespace zx
