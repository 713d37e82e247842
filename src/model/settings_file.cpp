#include "model/settings_file.h"

#include <string_view>
#include <unordered_map>

#include "model/format.h"
#include "model/limits.h"
#include "model/settings_keys.h"
#include "model/text_codec.h"
#include "model/text_file.h"

namespace zx {

namespace {

const char kSeparator[] = "--------------------------------------------------";
const char kEol[] = "\r\n";

const char* const kHeader[] = {
    "#",
    "# ゼントリクス設定ファイル",
    "# (このファイルの操作は基本的にソフトウェア",
    "# の方でするようにしてください。あまりこれを",
    "# いじられるケースを想定していませんm(__)m)",
    "#",
};

class Writer {
 public:
  void Line(std::string_view text) {
    out_ += text;
    out_ += kEol;
  }
  void Pair(std::string_view key, std::string_view value) {
    out_ += key;
    out_ += '\t';
    out_ += value;
    out_ += kEol;
  }
  const std::string& Text() const { return out_; }

 private:
  std::string out_;
};

std::string ValueText(const SettingsKey& k, const Project& p) {
  switch (k.type) {
    case KeyType::Double:
      return FormatLe(*k.Double(p));
    case KeyType::Int:
      return std::to_string(*k.Int(p));
    case KeyType::Text:
      return *k.Text(p);
    case KeyType::Flag:
      return *k.Flag(p) ? "1" : "0";
    case KeyType::Mode:
      return std::to_string(static_cast<int>(*k.Mode(p)));
    case KeyType::Scale:
      return *k.Scale(p) == AxisScale::Log ? "Log" : "Linear";
  }
  return {};
}

void WriteValueBlockAndLists(const Project& p, Writer& w) {
  for (const char* h : kHeader) w.Line(h);
  for (const SettingsKey& k : SettingsKeys()) w.Pair(k.name, ValueText(k, p));
  w.Line("");
  w.Line(kSeparator);
  w.Line("");
  for (const RegistryEntry& e : p.DataFiles.items) {
    w.Pair("DatFileNo", std::to_string(e.No));
    w.Pair("DatFileMark", std::to_string(e.Mark));
    w.Pair("DatFilePath", e.Path);
    w.Line("");
  }
  w.Line(kSeparator);
  w.Line("");
  for (const RegistryEntry& e : p.CalcConds.items) {
    w.Pair("CalcCondNo", std::to_string(e.No));
    w.Pair("CalcCondRelatedDatFileNo", std::to_string(e.RelatedDatFileNo));
    w.Pair("CalcCondMark", std::to_string(e.Mark));
    w.Pair("CalcCondTemp", FormatLe(e.Temp));
    if (p.Settings.Mode == CalcMode::EJ)
      w.Pair("CalcCondMagField", FormatLe(e.MagField));
    else if (p.Settings.Mode == CalcMode::JcB)
      w.Pair("CalcCondMagField", "0");
    w.Pair("CalcCondOutpFilePath", e.OutpFilePath);
    w.Line("");
  }
  w.Line(kSeparator);
}

// The sample name is one token in the file; anything after white space
// could never be read back.
std::string OneToken(const std::string& s) {
  std::size_t end = s.find_first_of(" \t\r\n\v\f");
  return end == std::string::npos ? s : s.substr(0, end);
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// First two white-space separated tokens of a line.
void KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
  key = value = {};
  std::size_t i = 0;
  auto next = [&](std::string_view& tok) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    tok = line.substr(start, i - start);
  };
  next(key);
  next(value);
}

// The text after the key and its single separator: paths may hold blanks.
std::string RestAfter(std::string_view line, std::size_t keyLength) {
  if (line.size() <= keyLength + 1) return {};
  return std::string(line.substr(keyLength + 1));
}

std::string Resolve(const std::string& path, const std::string& folder) {
  if (path.empty() || path[0] == '/' || folder.empty()) return path;
  return folder + path;
}

bool IsSeparator(std::string_view key) { return key.substr(0, 5) == "-----"; }

// The index after the first separator line; lines.size() when there is none.
std::size_t AfterSeparator(const std::vector<std::string>& lines) {
  std::size_t i = 0;
  while (i < lines.size()) {
    std::string_view key, value;
    KeyValue(lines[i++], key, value);
    if (IsSeparator(key)) return i;
  }
  return lines.size();
}

void SetIntValue(Project& p, const SettingsKey& k, std::string_view value) {
  int v = ParseLeadingInt(value);
  if (k.binaryChoice && v != 0 && v != 1) return;  // orders are 1 or 2 only
  if (std::string_view(k.name) == "IntStepNum") v = BoundIntStepNum(v);
  *k.Int(p) = v;
  if (std::string_view(k.name) == "BStepLevel") ApplyBStepLevel(p.Params, v);
}

void SetValue(Project& p, const SettingsKey& k, std::string_view value) {
  switch (k.type) {
    case KeyType::Double:
      *k.Double(p) = ParseLeadingDouble(value);
      break;
    case KeyType::Int:
      SetIntValue(p, k, value);
      break;
    case KeyType::Text:
      *k.Text(p) = std::string(value.substr(0, k.maxLength));
      break;
    case KeyType::Flag:
      *k.Flag(p) = ParseLeadingInt(value) != 0;
      break;
    case KeyType::Mode:
      *k.Mode(p) = static_cast<CalcMode>(ParseLeadingInt(value));
      break;
    case KeyType::Scale:
      // Any other text draws a linear axis.
      *k.Scale(p) = value.substr(0, k.maxLength) == "Log" ? AxisScale::Log : AxisScale::Linear;
      break;
  }
}

// A new record in `list`, with the project's next unique id.
void AddRecord(Project& p, Registry& list) {
  RegistryEntry e;
  e.Uid = p.NextUid++;
  list.Add(e);
}

// One line of the data files' list; `fileNumbers` collects their numbers as
// written. Lines before the first record are ignored.
void ReadDataFileLine(Project& p, std::string_view key, std::string_view value,
                      const std::string& line, const std::string& settingsFolder,
                      std::vector<int>& fileNumbers) {
  if (key == "DatFileNo") {
    AddRecord(p, p.DataFiles);
    fileNumbers.push_back(ParseLeadingInt(value));
    return;
  }
  if (p.DataFiles.Empty()) return;
  RegistryEntry& e = p.DataFiles.items.back();
  if (key == "DatFileMark") {
    e.Mark = ParseLeadingInt(value);
  } else if (key == "DatFilePath") {
    e.Path = Resolve(RestAfter(line, key.size()), settingsFolder);
  }
}

// One line of the conditions' list. Lines before the first record are ignored.
void ReadConditionLine(Project& p, std::string_view key, std::string_view value,
                       const std::string& line, const std::string& settingsFolder) {
  if (key == "CalcCondNo") {
    AddRecord(p, p.CalcConds);
    return;
  }
  if (p.CalcConds.Empty()) return;
  RegistryEntry& c = p.CalcConds.items.back();
  if (key == "CalcCondRelatedDatFileNo") {
    c.RelatedDatFileNo = ParseLeadingInt(value);
  } else if (key == "CalcCondMark") {
    c.Mark = ParseLeadingInt(value);
  } else if (key == "CalcCondTemp") {
    c.Temp = ParseLeadingDouble(value);
  } else if (key == "CalcCondMagField") {
    c.MagField = ParseLeadingDouble(value);
  } else if (key == "CalcCondOutpFilePath") {
    c.OutpFilePath = Resolve(RestAfter(line, key.size()), settingsFolder);
  }
}

// Gives each condition its curve file and turns its data file number as
// written into the data file's index (-1 when no data file has it).
void LinkConditions(Project& p, const std::vector<int>& fileNumbers) {
  for (RegistryEntry& c : p.CalcConds.items) {
    c.Path = CurveFilePath(p.ProgramFolder, c.No);
    int mapped = -1;
    for (std::size_t k = 0; k < fileNumbers.size(); ++k)
      if (fileNumbers[k] == c.RelatedDatFileNo) {
        mapped = static_cast<int>(k);
        break;
      }
    c.RelatedDatFileNo = mapped;
  }
}

}  // namespace

std::string DefaultSettingsBytes() {
  Project defaults;
  // The defaults file lists the tolerance of level 1; BStepLevel 3, read
  // after it, sets the effective 0.01.
  defaults.Params.E_cAllowableError = 1.0;
  std::string out;
  SettingsBytes(defaults, out);
  return out;
}

bool SettingsBytes(const Project& p, std::string& out) {
  Project copy;
  const Project* src = &p;
  std::string token = OneToken(p.Params.SampleName);
  if (token != p.Params.SampleName) {
    copy = p;
    copy.Params.SampleName = token;
    src = &copy;
  }
  Writer w;
  WriteValueBlockAndLists(*src, w);
  return Utf8ToCp932(w.Text(), out);
}

bool WriteDefaultSettings(const std::string& path) {
  return WriteFileAtomically(path, DefaultSettingsBytes());
}

bool WriteSettings(const Project& p, const std::string& path) {
  std::string bytes;
  if (!SettingsBytes(p, bytes)) return false;
  return WriteFileAtomically(path, bytes);
}

void ReadSettingsValues(Project& p, const std::vector<std::string>& lines) {
  static const std::unordered_map<std::string_view, const SettingsKey*> index = [] {
    std::unordered_map<std::string_view, const SettingsKey*> m;
    for (const SettingsKey& k : SettingsKeys()) m.emplace(k.name, &k);
    return m;
  }();
  for (const std::string& line : lines) {
    if (!line.empty() && line[0] == '#') continue;
    std::string_view key, value;
    KeyValue(line, key, value);
    // A key without a value leaves its field alone.
    if (key.empty() || value.empty()) continue;
    auto it = index.find(key);
    if (it != index.end()) SetValue(p, *it->second, value);
  }
}

void ReadSettingsLists(Project& p, const std::vector<std::string>& lines,
                       const std::string& settingsFolder) {
  p.DataFiles.items.clear();
  p.CalcConds.items.clear();
  // Numbers as written in the file, to map the conditions' references when
  // a hand-edited file numbers its data files out of order.
  std::vector<int> fileNumbers;
  bool inConditions = false;
  for (std::size_t i = AfterSeparator(lines); i < lines.size(); ++i) {
    std::string_view key, value;
    KeyValue(lines[i], key, value);
    if (key.empty()) continue;  // blank lines never repeat a record
    if (IsSeparator(key)) {
      if (inConditions) break;
      inConditions = true;
      continue;
    }
    if (inConditions) {
      ReadConditionLine(p, key, value, lines[i], settingsFolder);
    } else {
      ReadDataFileLine(p, key, value, lines[i], settingsFolder, fileNumbers);
    }
  }
  LinkConditions(p, fileNumbers);
}

bool LoadSettingsFile(Project& p, const std::string& path, const LoadHooks& hooks) {
  // A settings file is a few kilobytes; anything far larger is no project.
  constexpr std::size_t kMaxSettingsBytes = 16u << 20;
  std::string bytes;
  if (!ReadWholeFile(path, bytes, kMaxSettingsBytes)) return false;
  std::vector<std::string> lines = SplitLines(DecodeText(bytes));
  std::string folder;
  std::size_t slash = path.rfind('/');
  if (slash != std::string::npos) folder = path.substr(0, slash + 1);

  ClearRegistries(p, hooks.rowDeleted);
  ReadSettingsValues(p, lines);
  if (hooks.showProjectInPanel) hooks.showProjectInPanel();
  ReadSettingsLists(p, lines, folder);
  if (hooks.fillListsPanel) hooks.fillListsPanel();
  // Every load starts with the axes of its mode and automatic scaling;
  // the manual limits of the file remain.
  p.Axes.X.autoScale = p.Axes.Y.autoScale = true;
  ApplyModeAxes(p.Axes, p.Settings.Mode);
  return true;
}

}  // namespace zx
