// Marks a message literal of the core for translation. The core shows no
// text itself and stays free of the toolkit: the window layer translates a
// marked message where it shows it, in the context named here ("Core").
#pragma once

#include <string>

// lupdate reads this like QT_TRANSLATE_NOOP (see CMakeLists.txt).
#define ZX_TR_NOOP(context, text) text

namespace zx {

// A marked pattern with its "%1" replaced by `arg` (once). The window
// layer takes such messages apart again to translate pattern and argument.
inline std::string FillPattern(const char* pattern, const std::string& arg) {
  std::string s = pattern;
  const std::size_t at = s.find("%1");
  return at == std::string::npos ? s : s.replace(at, 2, arg);
}

}  // namespace zx
