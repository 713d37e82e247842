// Whole-file reading and crash-safe writing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zx {

// False when the file cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& bytes);
// Lines ended by LF or CR LF (the terminator removed). A last line without
// terminator counts; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Writes to a temporary file in the target's folder, flushes it to disk and
// renames it over the target, so that the old file stays intact whenever
// the write fails.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

}  // namespace zx
