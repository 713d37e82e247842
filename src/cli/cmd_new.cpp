#include <cstdio>

#include "cli/commands.h"
#include "model/document.h"
#include "model/text_file.h"

namespace zx::cli {

int CmdNew(const std::string& project) {
  if (FileExists(project)) {
    std::fprintf(stderr, "zentrix2-calc: %s already exists; nothing was written\n",
                 project.c_str());
    return 1;
  }
  if (!CreateProjectFile(project)) {
    std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", project.c_str());
    return 1;
  }
  return 0;
}

}  // namespace zx::cli
