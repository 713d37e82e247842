// zentrix2-calc: the command-line companion of the window program.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "cli/command_line.h"
#include "cli/commands.h"
#include "cli/options.h"
#include "model/program_version.h"

namespace {

// An import line's refusal shows the imports' usage only.
int Usage(const std::string& why, bool importLine) {
  std::fprintf(stderr, "zentrix2-calc: %s\n", why.c_str());
  std::fputs((importLine ? zx::cli::ImportUsageText() : zx::cli::UsageText()).c_str(), stderr);
  return 2;
}

int Run(zx::cli::CommandLine& line) {
  using zx::cli::Command;
  const std::vector<std::string>& files = line.operands;
  switch (line.command) {
    case Command::Help:
      std::fputs(zx::cli::HelpText().c_str(), stdout);
      return 0;
    case Command::Version:
      std::printf("zentrix2-calc %s\n", zx::kProgramVersion);
      return 0;
    case Command::Plot:
      return zx::cli::CmdPlot(files[0], files[1], line.options);
    case Command::Set:
      return zx::cli::CmdSet(files[0], line.assignments);
    case Command::New:
      return zx::cli::CmdNew(files[0]);
    case Command::Preview:
      return zx::cli::CmdPreview(files[0], line.options);
    case Command::Fit:
      return zx::cli::CmdFit(files[0], line.options);
    case Command::Quality:
      return zx::cli::CmdQuality(files[0], line.options);
    case Command::Map:
      return zx::cli::CmdMap(files[0], line.map, line.options);
    case Command::At:
      return zx::cli::CmdAt(files[0], line.at, line.options);
    case Command::Import:
      return zx::cli::CmdImport(std::move(line.import));
    case Command::Calc:
      break;
  }
  return zx::cli::CmdCalc(files[0], line.options);
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  zx::cli::CommandLine line;
  if (const std::string why = zx::cli::ParseCommandLine(args, line); !why.empty())
    return Usage(why, line.importLine);
  return Run(line);
}
