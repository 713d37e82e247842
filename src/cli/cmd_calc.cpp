#include <cstdio>

#include "cli/commands.h"

namespace zx::cli {

// Filled in with the calculation passes.
int CmdCalc(const std::string&, const Options&) {
  std::fputs("zentrix2-calc: the calculation is not available yet\n", stderr);
  return 1;
}

int CmdPreview(const std::string&, const Options&) {
  std::fputs("zentrix2-calc: the preview is not available yet\n", stderr);
  return 1;
}

}  // namespace zx::cli
