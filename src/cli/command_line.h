// The command line of zentrix2-calc read by the option table: the
// calculation line, or an import line.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace zx::cli {

enum class Command { Calc, New, Preview, Plot, Fit, Quality, Set, Map, At, Import, Help, Version };

struct CommandLine {
  Command command = Command::Calc;
  // An import line: every option takes a value, and its usage is the
  // imports' own.
  bool importLine = false;
  Options options;
  std::vector<std::string> operands;     // the files: project, or image and project
  std::vector<std::string> assignments;  // --set KEY=VALUE, in order
  MapAxes map;                           // --map
  AtPoint at;                            // --at
  ImportLine import;                     // --import-vi, --import-icb
};

// Empty when `args` (without the program name) make a command; else why
// not, in the words of the usage message.
std::string ParseCommandLine(const std::vector<std::string>& args, CommandLine& line);

}  // namespace zx::cli
