#include "model/text_codec.h"

#include <iconv.h>

#include <cerrno>

namespace zx {

namespace {

class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (cd_ != reinterpret_cast<iconv_t>(-1)) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts all of `in`; on an invalid or unrepresentable sequence either
  // fails (replacement empty) or emits `replacement` and skips one byte.
  bool Run(std::string_view in, std::string& out, const char* replacement) {
    out.clear();
    if (cd_ == reinterpret_cast<iconv_t>(-1)) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char buf[4096];
    while (srcLeft > 0) {
      char* dst = buf;
      std::size_t dstLeft = sizeof buf;
      std::size_t r = iconv(cd_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buf, static_cast<std::size_t>(dst - buf));
      if (r == static_cast<std::size_t>(-1)) {
        if (errno == E2BIG) continue;
        if (!replacement) return false;
        out += replacement;
        ++src;
        --srcLeft;
        iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    char* dst = buf;
    std::size_t dstLeft = sizeof buf;
    iconv(cd_, nullptr, nullptr, &dst, &dstLeft);
    out.append(buf, static_cast<std::size_t>(dst - buf));
    return true;
  }

 private:
  iconv_t cd_;
};

bool IsAscii(std::string_view s) {
  for (unsigned char c : s)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

bool Utf8ToCp932(std::string_view utf8, std::string& out) {
  if (IsAscii(utf8)) {
    out.assign(utf8);
    return true;
  }
  Converter c("CP932", "UTF-8");
  return c.Run(utf8, out, nullptr);
}

std::string Cp932ToUtf8(std::string_view cp932) {
  if (IsAscii(cp932)) return std::string(cp932);
  Converter c("UTF-8", "CP932");
  std::string out;
  c.Run(cp932, out, "\xEF\xBF\xBD");
  return out;
}

bool CanWriteCp932(std::string_view utf8) {
  std::string unused;
  return Utf8ToCp932(utf8, unused);
}

bool IsUtf8(std::string_view bytes) {
  if (IsAscii(bytes)) return true;
  std::string unused;
  Converter asUtf8("UTF-32LE", "UTF-8");
  return asUtf8.Run(bytes, unused, nullptr);
}

std::string DecodeText(std::string_view bytes) {
  if (IsAscii(bytes)) return std::string(bytes);
  std::string unused;
  Converter asCp932("UTF-8", "CP932");
  if (asCp932.Run(bytes, unused, nullptr)) return Cp932ToUtf8(bytes);
  // A file written by hand on Linux: UTF-8 that is no CP932 at all.
  if (IsUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

}  // namespace zx
