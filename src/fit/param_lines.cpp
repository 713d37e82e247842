#include "fit/param_lines.h"

#include <string_view>

#include "model/format.h"
#include "model/text_file.h"

namespace zx {

namespace {

const char* const kKeys[kPinningParamCount] = {"Re(A_m)", "Sigma^2", "Re(Gamma)", "Re(m)",
                                               "Re(g^2)"};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }

}  // namespace

bool ReplaceSettingsLines(const std::string& bytes, const SettingsLines& lines, std::string& out) {
  std::string result;
  result.reserve(bytes.size() + 64);
  std::vector<bool> found(lines.size(), false);
  bool inValues = true;  // the value block ends at the first separator
  std::size_t pos = 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find('\n', pos);
    end = end == std::string::npos ? bytes.size() : end + 1;
    std::string_view line(bytes.data() + pos, end - pos);
    pos = end;
    std::size_t i = 0;
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::size_t keyEnd = i;
    while (keyEnd < line.size() && !IsBlank(line[keyEnd]) && line[keyEnd] != '\r' &&
           line[keyEnd] != '\n')
      ++keyEnd;
    const std::string_view key = line.substr(i, keyEnd - i);
    if (key.substr(0, 5) == "-----") inValues = false;
    int which = -1;
    if (inValues && (line.empty() || line[0] != '#'))
      for (std::size_t k = 0; k < lines.size(); ++k)
        if (key == lines[k].first) which = static_cast<int>(k);
    std::size_t valueStart = keyEnd;
    while (valueStart < line.size() && IsBlank(line[valueStart])) ++valueStart;
    std::size_t valueEnd = valueStart;
    while (valueEnd < line.size() && !IsBlank(line[valueEnd]) && line[valueEnd] != '\r' &&
           line[valueEnd] != '\n')
      ++valueEnd;
    if (which < 0) {
      result += line;
      continue;
    }
    found[static_cast<std::size_t>(which)] = true;
    result += line.substr(0, valueStart);
    // A key left without a value gets one (and a TAB when nothing follows it).
    if (valueEnd == valueStart && valueStart == keyEnd) result += '\t';
    result += lines[static_cast<std::size_t>(which)].second;
    result += line.substr(valueEnd);
  }
  for (bool f : found)
    if (!f) return false;
  out = std::move(result);
  return true;
}

SettingsLines PinningLines(const FitValues& values) {
  SettingsLines lines;
  for (std::size_t k = 0; k < kPinningParamCount; ++k)
    lines.emplace_back(kKeys[k], FormatLe(values[k]));
  return lines;
}

bool ReplaceParameterLines(const std::string& bytes, const FitValues& values, std::string& out) {
  return ReplaceSettingsLines(bytes, PinningLines(values), out);
}

bool WriteSettingsLines(const std::string& path, const SettingsLines& lines) {
  std::string bytes, updated;
  if (!ReadWholeFile(path, bytes)) return false;
  if (!ReplaceSettingsLines(bytes, lines, updated)) return false;
  return WriteFileAtomically(path, updated);
}

bool WriteParameterLines(const std::string& path, const FitValues& values) {
  return WriteSettingsLines(path, PinningLines(values));
}

}  // namespace zx
