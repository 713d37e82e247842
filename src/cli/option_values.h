// The values of the options read into the command line: a reader for each
// option of the table that takes one, refusing in the usage message's words.
#pragma once

#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/options.h"

namespace zx::cli {

// The value of an option (empty for a flag) into `line`; empty, or why
// the value is refused.
std::string ApplyValue(OptionId id, const std::string& value, CommandLine& line);

// The values that follow --map (one per word of its argument) or --at.
std::string ApplyCommandValues(OptionId id, const std::vector<std::string>& values,
                               CommandLine& line);

}  // namespace zx::cli
