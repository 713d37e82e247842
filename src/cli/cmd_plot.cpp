#include <cstdio>

#include "cli/commands.h"

namespace zx::cli {

// Filled in with the graph drawing.
int CmdPlot(const std::string&, const std::string&, const Options&) {
  std::fputs("zentrix2-calc: image export is not available yet\n", stderr);
  return 1;
}

}  // namespace zx::cli
