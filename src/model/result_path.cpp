#include "model/result_path.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

namespace zx {

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  struct stat sa {
  }, sb{};
  if (stat(a.c_str(), &sa) == 0 && stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  std::error_code ea, eb;
  const std::filesystem::path ca = std::filesystem::weakly_canonical(a, ea);
  const std::filesystem::path cb = std::filesystem::weakly_canonical(b, eb);
  if (ea || eb) return a == b;
  return ca == cb;
}

ResultPathClash CheckResultPath(const std::vector<std::string>& dataFiles,
                                const std::string& settingsFile, const std::string& resultPath) {
  for (const std::string& d : dataFiles)
    if (SameFile(resultPath, d)) return ResultPathClash::DataFile;
  if (SameFile(resultPath, settingsFile)) return ResultPathClash::SettingsFile;
  return ResultPathClash::None;
}

ResultPathClash CheckResultPath(const Project& p, const std::string& resultPath) {
  std::vector<std::string> dataFiles;
  for (const RegistryEntry& d : p.DataFiles.items) dataFiles.push_back(d.Path);
  return CheckResultPath(dataFiles, p.SettingsFilePath, resultPath);
}

const char* ResultPathClashText(ResultPathClash clash) {
  switch (clash) {
    case ResultPathClash::DataFile:
      return kResultIsDataFileText;
    case ResultPathClash::SettingsFile:
      return kResultIsSettingsFileText;
    case ResultPathClash::None:
      break;
  }
  return "";
}

}  // namespace zx
