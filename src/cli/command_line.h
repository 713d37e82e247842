// The calculation line of zentrix2-calc (every command but the imports)
// read by the option table.
#pragma once

#include <string>
#include <vector>

#include "cli/commands.h"

namespace zx::cli {

enum class Command { Calc, New, Preview, Plot, Fit, Quality, Set, Map, At, Help, Version };

struct CommandLine {
  Command command = Command::Calc;
  Options options;
  std::vector<std::string> operands;     // the files: project, or image and project
  std::vector<std::string> assignments;  // --set KEY=VALUE, in order
  MapAxes map;                           // --map
  AtPoint at;                            // --at
};

// Empty when `args` (without the program name) make a command; else why
// not, in the words of the usage message.
std::string ParseCommandLine(const std::vector<std::string>& args, CommandLine& line);

// Whether `args` name an import: those are read by the import command.
bool IsImportLine(const std::vector<std::string>& args);

}  // namespace zx::cli
