#include "model/output_path.h"

namespace zx {

namespace {

bool EndsWith(const std::string& s, const char* tail) {
  const std::string t(tail);
  return s.size() >= t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

}  // namespace

std::string JoinOutputPath(const std::string& folder, const std::string& name) {
  std::string path = folder;
  if (!EndsWith(path, "/")) path += '/';
  path += name;
  if (!EndsWith(name, ".dat") && !EndsWith(name, ".txt")) path += ".dat";
  return path;
}

SplitPath SplitAtLastSlash(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return {std::string(), path};
  return {path.substr(0, slash + 1), path.substr(slash + 1)};
}

}  // namespace zx
