// Changing values in a settings file's bytes without rewriting it: a
// hand-edited file keeps its comments, spacing and order.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/checked_write.h"

namespace zx {

// (key, value) pairs, the value as the file's bytes spell it (CP932).
using SettingsLines = std::vector<std::pair<std::string, std::string>>;

// The bytes with each key's value replaced, every other byte kept. A key's
// lines are those the reader takes for it: in the value block (before the
// first separator), not a comment, first token the key. Only the value
// token changes; blanks and anything after it stay. A key line without a
// value gets one (after a TAB when nothing follows the key), and a key the
// block lacks is added as a line at the block's end.
std::string ReplaceSettingsLines(const std::string& bytes, const SettingsLines& lines);

// Reads the file, replaces the lines and writes it back atomically. False
// (file untouched) when it cannot be read or written.
bool WriteSettingsLines(const std::string& path, const SettingsLines& lines);
// The same, only while the file still holds what `read` was taken of (see
// WriteFileIfUnchanged): values computed from an older file are not mixed
// into a newer one.
WriteResult WriteSettingsLines(const std::string& path, const SettingsLines& lines,
                               const ReadStamp& read);

}  // namespace zx
