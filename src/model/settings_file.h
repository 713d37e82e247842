// The settings file (.zx2): a CP932 text of key/TAB/value lines with two
// list sections. Writers produce the bytes; readers apply lines to a project.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/project.h"

namespace zx {

// Bytes of a new project's settings file.
std::string DefaultSettingsBytes();
// Bytes of the current project's settings file. False (out untouched) when
// a text cannot be written in CP932.
bool SettingsBytes(const Project& p, std::string& out);

// Writes the defaults file / the project, atomically.
bool WriteDefaultSettings(const std::string& path);
bool WriteSettings(const Project& p, const std::string& path);

// Apply the value block / rebuild both registries from decoded lines.
void ReadSettingsValues(Project& p, const std::vector<std::string>& lines);
void ReadSettingsLists(Project& p, const std::vector<std::string>& lines,
                       const std::string& settingsFolder = {});

// Steps of a load that belong to the windows; empty ones are skipped.
struct LoadHooks {
  RowDeletedHook rowDeleted;                 // while the registries are emptied
  std::function<void()> showProjectInPanel;  // after the values were read
  std::function<void()> fillListsPanel;      // after the lists were read
};

// The load sequence. When the file cannot be read the project is left
// exactly as it was and the result is false.
bool LoadSettingsFile(Project& p, const std::string& path, const LoadHooks& hooks = {});

}  // namespace zx
