// Joining and splitting the paths the condition dialogs edit: a result
// folder and a file name, and the folder a settings file lies in.
#pragma once

#include <string>

namespace zx {

// folder + "/" (unless it ends with one) + name + ".dat" (unless the name
// ends exactly in ".dat" or ".txt"; the comparison is case-sensitive).
std::string JoinOutputPath(const std::string& folder, const std::string& name);

struct SplitPath {
  std::string folder;  // up to and including the last '/'; empty without one
  std::string name;    // the rest
};
SplitPath SplitAtLastSlash(const std::string& path);

}  // namespace zx
