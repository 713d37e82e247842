#include "model/settings_file.h"

namespace zx {
// Being written.
std::string DefaultSettingsBytes() { return {}; }
bool SettingsBytes(const Project&, std::string&) { return false; }
bool WriteDefaultSettings(const std::string&) { return false; }
bool WriteSettings(const Project&, const std::string&) { return false; }
void ReadSettingsValues(Project&, const std::vector<std::string>&) {}
void ReadSettingsLists(Project&, const std::vector<std::string>&, const std::string&) {}
bool LoadSettingsFile(Project&, const std::string&, const LoadHooks&) { return false; }
}  // namespace zx
