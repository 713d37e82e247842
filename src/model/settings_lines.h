// Changing values in a settings file's bytes without rewriting it: a
// hand-edited file keeps its comments, spacing and order.
#pragma once

#include <string>
#include <utility>
#include <vector>

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

// The lines of the scaling law's orders (Tcn, Bcn) as the file holds them.
SettingsLines ScalingOrderLines(int tcn, int bcn);

// Whether the bytes hold a settings file: text whose value block's first
// known key has a value of its kind. A data file, a picture, an empty or a
// random file do not.
bool ReadsAsSettingsFile(const std::string& bytes);

}  // namespace zx
