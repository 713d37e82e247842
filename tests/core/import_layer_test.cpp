// The import is a room of its own above the core: only the window and the
// command line reach into it, and it reaches into neither of them, nor Qt.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "model/text_file.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

struct Include {
  std::string file;    // relative to src/
  std::string target;  // between the quotes or angle brackets
};

std::vector<Include> IncludesUnder(const fs::path& folder) {
  std::vector<Include> out;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) {
    const std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::string bytes;
    EXPECT_TRUE(ReadWholeFile(e.path().string(), bytes)) << e.path();
    for (const std::string& line : SplitLines(bytes)) {
      if (line.rfind("#include ", 0) != 0 || line.size() < 12) continue;
      const std::size_t open = line.find_first_of("\"<");
      const std::size_t close = line.find_first_of("\">", open + 1);
      if (open == std::string::npos || close == std::string::npos) continue;
      out.push_back({fs::relative(e.path(), ZX_SOURCE_DIR "/src").string(),
                     line.substr(open + 1, close - open - 1)});
    }
  }
  return out;
}

bool StartsWith(const std::string& s, const std::string& prefix) { return s.rfind(prefix, 0) == 0; }

TEST(ImportLayer, IncludeArrowsPointOneWay) {
  const fs::path src = ZX_SOURCE_DIR "/src";
  ASSERT_TRUE(fs::is_directory(src / "import"));
  int importIncludes = 0;
  for (const Include& inc : IncludesUnder(src / "import")) {
    ++importIncludes;
    for (const char* above : {"ui/", "app/", "cli/", "fit/", "graph/", "qtcanvas/", "Q"})
      EXPECT_FALSE(StartsWith(inc.target, above)) << inc.file << " includes " << inc.target;
  }
  EXPECT_GT(importIncludes, 0);

  for (const fs::directory_entry& room : fs::directory_iterator(src)) {
    const std::string name = room.path().filename().string();
    if (!room.is_directory() || name == "import" || name == "ui" || name == "app" || name == "cli")
      continue;
    for (const Include& inc : IncludesUnder(room.path()))
      EXPECT_FALSE(StartsWith(inc.target, "import/")) << inc.file << " includes " << inc.target;
  }
}

}  // namespace
}  // namespace zx
