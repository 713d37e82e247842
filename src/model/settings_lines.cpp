#include "model/settings_lines.h"

#include <string_view>

#include "model/checked_write.h"
#include "model/settings_save.h"
#include "model/text_file.h"

namespace zx {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// The span [begin, end) of the first token at or after `from`.
struct Token {
  std::size_t begin, end;
};
Token TokenAfter(std::string_view line, std::size_t from) {
  std::size_t b = from;
  while (b < line.size() && IsBlank(line[b])) ++b;
  std::size_t e = b;
  while (e < line.size() && !IsBlank(line[e]) && !IsLineEnd(line[e])) ++e;
  return {b, e};
}

int KeyIndex(const SettingsLines& lines, std::string_view key) {
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (key == lines[k].first) return static_cast<int>(k);
  return -1;
}

// The line starting at `pos`, with its line end; moves `pos` past it.
std::string_view NextLine(const std::string& bytes, std::size_t& pos) {
  std::size_t end = bytes.find('\n', pos);
  end = end == std::string::npos ? bytes.size() : end + 1;
  const std::string_view line(bytes.data() + pos, end - pos);
  pos = end;
  return line;
}

// Appends `line` with the value after its key replaced by `value`.
void AppendReplaced(std::string& out, std::string_view line, Token key, const std::string& value) {
  const Token old = TokenAfter(line, key.end);
  out += line.substr(0, old.begin);
  if (old.begin == key.end) out += '\t';
  out += value;
  out += line.substr(old.end);
}

// Lines for the keys the file lacks, in the given order; a key listed twice
// is taken once, with its first value.
std::string MissingLines(const SettingsLines& lines, const std::vector<bool>& found) {
  std::string missing;
  for (std::size_t k = 0; k < lines.size(); ++k)
    if (!found[k] && KeyIndex(lines, lines[k].first) == static_cast<int>(k))
      missing += lines[k].first + "\t" + lines[k].second + "\r\n";
  return missing;
}

// Puts the missing lines after the last value line, at `blockEnd` (npos: at
// the start).
void InsertMissing(std::string& out, std::string missing, std::size_t blockEnd) {
  std::size_t at = blockEnd == std::string::npos ? 0 : blockEnd;
  // A last value line without its line end must not swallow the new ones.
  if (at > 0 && out[at - 1] != '\n') missing.insert(0, "\r\n");
  out.insert(at, missing);
}

}  // namespace

std::string ReplaceSettingsLines(const std::string& bytes, const SettingsLines& lines) {
  std::string out;
  out.reserve(bytes.size() + 64);
  std::vector<bool> found(lines.size(), false);
  std::size_t blockEnd = std::string::npos;  // where missing keys go
  bool inValues = true;
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    const std::string_view line = NextLine(bytes, pos);
    const Token key = TokenAfter(line, 0);
    const std::string_view keyText = line.substr(key.begin, key.end - key.begin);
    if (inValues && keyText.substr(0, 5) == "-----") inValues = false;
    const bool comment = !line.empty() && line[0] == '#';
    const int which = inValues && !comment ? KeyIndex(lines, keyText) : -1;
    if (which < 0) {
      out += line;
      if (inValues && !comment && !keyText.empty()) blockEnd = out.size();
      continue;
    }
    found[static_cast<std::size_t>(which)] = true;
    AppendReplaced(out, line, key, lines[static_cast<std::size_t>(which)].second);
    blockEnd = out.size();
  }
  std::string missing = MissingLines(lines, found);
  if (!missing.empty()) InsertMissing(out, std::move(missing), blockEnd);
  return out;
}

WriteResult WriteSettingsLines(const std::string& path, const SettingsLines& lines,
                               const ReadStamp& read) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes))
    return FileExists(path) ? WriteResult::Failed : WriteResult::ChangedSinceRead;
  if (read.known && StampOf(bytes) != read) return WriteResult::ChangedSinceRead;
  return WriteFileIfUnchanged(path, ReplaceSettingsLines(bytes, lines), StampOf(bytes));
}

SettingsLines ScalingOrderLines(int tcn, int bcn) {
  return {{"Tcn", std::to_string(tcn)}, {"Bcn", std::to_string(bcn)}};
}

}  // namespace zx
