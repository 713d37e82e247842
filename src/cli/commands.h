// The commands of zentrix2-calc. Each returns the process exit code:
// 0 success, 1 a file could not be read or written, 2 wrong usage, 3 (imports)
// nothing left to write.
#pragma once

#include <string>

namespace zx::cli {

struct Options {
  int threads = 0;     // 0: all cores
  double scale = 1.0;  // image export: device pixels per graph pixel
};

int CmdNew(const std::string& project);
int CmdCalc(const std::string& project, const Options& opt);
int CmdPreview(const std::string& project, const Options& opt);
int CmdPlot(const std::string& image, const std::string& project, const Options& opt);
// --import-vi / --import-icb with their options: the whole command line.
int CmdImport(int argc, char** argv);

}  // namespace zx::cli
