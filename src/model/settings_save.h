// Reading and writing a project's settings file so that a write never
// replaces a file someone else changed after it was read.
#pragma once

#include <string>

#include "model/checked_write.h"
#include "model/project.h"
#include "model/settings_lines.h"

namespace zx {

// Reads the file, replaces the lines (ReplaceSettingsLines) and writes it
// back, only while the file still holds what `read` was taken of (see
// WriteFileIfUnchanged): values computed from an older file are not mixed
// into a newer one. An unknown stamp checks nothing.
WriteResult WriteSettingsLines(const std::string& path, const SettingsLines& lines,
                               const ReadStamp& read);

// LoadSettingsFile, noting in `read` the bytes the project was read from.
bool LoadSettingsFileStamped(Project& p, const std::string& path, ReadStamp& read);

// Writes the project to `path` only while the file holds what `read`
// stamps (WriteFileIfUnchanged); once written, `read` stamps the new bytes.
WriteResult SaveSettingsIfUnchanged(const Project& p, const std::string& path, ReadStamp& read);

}  // namespace zx
