#include "model/settings_save.h"

#include <algorithm>
#include <string_view>

#include "model/settings_file.h"
#include "model/settings_keys.h"
#include "model/text_codec.h"
#include "model/text_file.h"

namespace zx {

namespace {

constexpr std::string_view kBlanks = " \t\v\f";

// The first white-space separated token at or after `from`; `from` moves past it.
std::string_view NextToken(std::string_view line, std::size_t& from) {
  const std::size_t start = line.find_first_not_of(kBlanks, from);
  if (start == std::string_view::npos) return {};
  const std::size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
  from = end;
  return line.substr(start, end - start);
}

}  // namespace

bool ReadsAsSettingsFile(const std::string& bytes) {
  if (bytes.find('\0') != std::string::npos) return false;
  for (const std::string& line : SplitLines(DecodeText(bytes))) {
    if (!line.empty() && line[0] == '#') continue;
    std::size_t at = 0;
    const std::string_view key = NextToken(line, at);
    const std::string_view value = NextToken(line, at);
    if (key.substr(0, 5) == "-----") return false;  // the value block ended
    if (key.empty() || value.empty()) continue;
    // A number where the key holds one: prose that starts with a key is no setting.
    const bool number = std::string_view("+-.0123456789").find(value[0]) != std::string_view::npos;
    for (const SettingsKey& k : SettingsKeys())
      if (key == k.name) return number || k.type == KeyType::Text || k.type == KeyType::Scale;
  }
  return false;
}

bool LoadSettingsFileStamped(Project& p, const std::string& path, ReadStamp& read) {
  // The bytes before and after the load agree unless a writer came in
  // between: then the load is repeated.
  for (int attempt = 0; attempt < 20; ++attempt) {
    std::string before, after;
    if (!ReadWholeFile(path, before) || !LoadSettingsFile(p, path) || !ReadWholeFile(path, after))
      return false;
    if (before == after) {
      read = StampOf(before);
      return true;
    }
  }
  return false;
}

WriteResult SaveSettingsIfUnchanged(const Project& p, const std::string& path, ReadStamp& read) {
  std::string bytes;
  if (!SettingsBytes(p, bytes)) return WriteResult::Failed;
  const WriteResult result = WriteFileIfUnchanged(path, bytes, read);
  if (result == WriteResult::Written) read = StampOf(bytes);
  return result;
}

}  // namespace zx
