// Reading and writing a project's settings file so that a write never
// replaces a file someone else changed after it was read.
#pragma once

#include <string>

#include "model/checked_write.h"
#include "model/project.h"

namespace zx {

// Whether the bytes hold a settings file: text whose value block's first
// known key has a value of its kind. A data file, a picture, an empty or a
// random file do not.
bool ReadsAsSettingsFile(const std::string& bytes);

// LoadSettingsFile, noting in `read` the bytes the project was read from.
bool LoadSettingsFileStamped(Project& p, const std::string& path, ReadStamp& read);

// Writes the project to `path` only while the file holds what `read`
// stamps (WriteFileIfUnchanged); once written, `read` stamps the new bytes.
WriteResult SaveSettingsIfUnchanged(const Project& p, const std::string& path, ReadStamp& read);

}  // namespace zx
