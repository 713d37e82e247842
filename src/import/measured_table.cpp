#include "import/measured_table.h"

#include <locale.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>

#include "import/header_conditions.h"
#include "import/measured_line_reader.h"
#include "model/text_codec.h"

namespace zx {

namespace {

// The layout is judged from this much of the file's start.
constexpr int kScanLines = 5000;
constexpr int kScanDataLines = 500;
constexpr std::size_t kScanLineBytes = 4096;
constexpr std::size_t kPreviewLineBytes = 300;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

locale_t CLocale() {
  static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  return loc;
}

// "2024-05-01", "2024/5/1", "01.05.2024".
bool LooksLikeDate(std::string_view f) {
  int groups = 0, digits = 0;
  char sep = 0;
  for (char c : f) {
    if (IsDigit(c)) {
      ++digits;
      continue;
    }
    if ((c != '-' && c != '/' && c != '.') || digits == 0 || (sep && c != sep)) return false;
    sep = c;
    ++groups;
    digits = 0;
  }
  return groups == 2 && digits > 0;
}

// "10:00", "10:00:01", "10:00:01.250".
bool LooksLikeTime(std::string_view f) {
  const std::size_t colon = f.find(':');
  if (colon == std::string_view::npos || colon == 0 || colon > 2) return false;
  for (char c : f)
    if (!IsDigit(c) && c != ':' && c != '.') return false;
  return IsDigit(f.back());
}

// Header lines often start with a comment mark.
std::string_view StripCommentMark(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() &&
         (IsBlank(line[i]) || line[i] == '#' || line[i] == '%' || line[i] == '!' || line[i] == '/'))
    ++i;
  return line.substr(i);
}

int CountNumbers(const std::vector<std::string_view>& fields, const TableFormat& format) {
  int n = 0;
  for (std::string_view f : fields)
    if (ParseNumberField(f, format)) ++n;
  return n;
}

// Semicolon files without any '.' in their semicolon lines write decimal commas.
TableFormat DetectFormat(const std::vector<std::string>& lines) {
  bool semicolons = false, commas = false, dots = false;
  for (const std::string& l : lines) {
    if (l.find(';') == std::string::npos) continue;
    semicolons = true;
    if (l.find(',') != std::string::npos) commas = true;
    if (l.find('.') != std::string::npos) dots = true;
  }
  TableFormat f;
  f.decimalComma = semicolons && commas && !dots;
  return f;
}

// Most lines of numbers hold TABs and give the same fields split at TABs
// alone as split at every blank.
bool TabSeparated(const std::vector<std::string>& lines, TableFormat format) {
  int data = 0, tabbed = 0;
  for (const std::string& l : lines) {
    format.tabs = false;
    const std::vector<std::string_view> blanks = SplitFields(l, format);
    if (CountNumbers(blanks, format) < 2) continue;
    format.tabs = true;
    if (l.find('\t') != std::string::npos && SplitFields(l, format).size() == blanks.size())
      ++tabbed;
    if (++data >= kScanDataLines) break;
  }
  return data > 0 && 2 * tabbed > data;
}

}  // namespace

namespace {

// How a line is cut into fields.
enum class Cut { AtBlanks, AtSeparators, AtTabs };

struct FieldCut {
  Cut cut = Cut::AtBlanks;
  bool decimalComma = false;

  bool IsSeparator(char c) const { return c == ';' || (c == ',' && !decimalComma); }
  // Where a field ends.
  bool Ends(char c) const {
    switch (cut) {
      case Cut::AtTabs:
        return c == '\t';
      case Cut::AtSeparators:
        return IsSeparator(c);
      case Cut::AtBlanks:
        break;
    }
    return IsBlank(c);
  }
  // Blanks around a field; in a TAB table two TABs enclose an empty one.
  bool Pads(char c) const { return cut == Cut::AtTabs ? c == ' ' : IsBlank(c); }
};

// A line with commas or semicolons is cut at those alone, so that a header
// like "Ic (A),B (T)" keeps its names whole; a TAB table's line at each TAB.
FieldCut CutOf(std::string_view line, const TableFormat& format) {
  FieldCut c;
  c.decimalComma = format.decimalComma;
  if (std::any_of(line.begin(), line.end(), [&](char ch) { return c.IsSeparator(ch); }))
    c.cut = Cut::AtSeparators;
  else if (format.tabs && line.find('\t') != std::string_view::npos)
    c.cut = Cut::AtTabs;
  return c;
}

struct FieldSpan {
  std::size_t start, stop;
};

// The field at i, past its padding; i moves to where it ends.
FieldSpan ReadField(std::string_view line, std::size_t& i, const FieldCut& cut) {
  const std::size_t n = line.size();
  while (i < n && cut.Pads(line[i])) ++i;
  // A quoted field may hold blanks and separators.
  if (const std::size_t close = i < n && line[i] == '"' ? line.find('"', i + 1) : line.npos;
      close != line.npos) {
    const FieldSpan quoted{i + 1, close};
    i = close + 1;
    while (i < n && !cut.Ends(line[i])) ++i;
    return quoted;
  }
  const std::size_t start = i;
  while (i < n && !cut.Ends(line[i])) ++i;
  std::size_t stop = i;
  while (stop > start && IsBlank(line[stop - 1])) --stop;
  return {start, stop};
}

// A date and a time separated by a blank are one time stamp, as the header
// names them: the last two fields joined, up to `stop`.
void JoinTimeStamp(std::vector<std::string_view>& fields, std::string_view line, std::size_t stop) {
  if (fields.size() < 2 || !LooksLikeTime(fields.back()) ||
      !LooksLikeDate(fields[fields.size() - 2]))
    return;
  const auto dateStart = static_cast<std::size_t>(fields[fields.size() - 2].data() - line.data());
  fields.pop_back();
  fields.back() = line.substr(dateStart, stop - dateStart);
}

// From the end of a field to the start of the next; false at the end of
// the line.
bool NextField(std::string_view line, std::size_t& i, const FieldCut& cut) {
  const std::size_t n = line.size();
  if (cut.cut == Cut::AtBlanks) {
    while (i < n && IsBlank(line[i])) ++i;
    return i < n;
  }
  if (i >= n) return false;
  ++i;  // the separator
  return true;
}

}  // namespace

std::vector<std::string_view> SplitFields(std::string_view line, const TableFormat& format) {
  std::vector<std::string_view> fields;
  const FieldCut cut = CutOf(line, format);
  // Trailing TABs of a TAB table's line enclose no field.
  if (cut.cut == Cut::AtTabs)
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
  std::size_t i = 0;
  while (i < line.size() && IsBlank(line[i])) ++i;
  if (i >= line.size()) return fields;
  do {
    const FieldSpan f = ReadField(line, i, cut);
    fields.push_back(line.substr(f.start, f.stop - f.start));
    if (cut.cut == Cut::AtBlanks) JoinTimeStamp(fields, line, f.stop);
  } while (NextField(line, i, cut));
  return fields;
}

namespace {

void SkipSign(std::string_view f, std::size_t& i) {
  if (i < f.size() && (f[i] == '+' || f[i] == '-')) ++i;
}

// The digits from i; how many.
std::size_t SkipDigits(std::string_view f, std::size_t& i) {
  const std::size_t start = i;
  while (i < f.size() && IsDigit(f[i])) ++i;
  return i - start;
}

// Whether the whole field is a decimal number: a sign, digits with the
// decimal `point`, and an exponent, the digits alone needed.
bool IsDecimalNumber(std::string_view f, char point) {
  std::size_t i = 0;
  SkipSign(f, i);
  std::size_t digits = SkipDigits(f, i);
  if (i < f.size() && f[i] == point) digits += SkipDigits(f, ++i);
  if (digits == 0) return false;
  if (i < f.size() && (f[i] == 'e' || f[i] == 'E')) {
    SkipSign(f, ++i);
    if (SkipDigits(f, i) == 0) return false;
  }
  return i == f.size();
}

// Longer fields are no number a table holds.
constexpr std::size_t kMaxNumberField = 400;

}  // namespace

std::optional<double> ParseNumberField(std::string_view field, const TableFormat& format) {
  if (field.size() > kMaxNumberField || !IsDecimalNumber(field, format.decimalComma ? ',' : '.'))
    return std::nullopt;
  std::string text(field);
  if (format.decimalComma) std::replace(text.begin(), text.end(), ',', '.');
  const double v = strtod_l(text.c_str(), nullptr, CLocale());
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::string TextAsUtf8(std::string_view bytes) {
  if (IsUtf8(bytes)) return std::string(bytes);
  return Cp932ToUtf8(bytes);
}

bool IsUnitWord(std::string_view w) {
  if (w.size() >= 2 &&
      ((w.front() == '[' && w.back() == ']') || (w.front() == '(' && w.back() == ')')))
    w = w.substr(1, w.size() - 2);
  static const std::string_view kUnits[] = {"A",
                                            "mA",
                                            "uA",
                                            "\xC2\xB5"
                                            "A",
                                            "kA",
                                            "V",
                                            "mV",
                                            "uV",
                                            "\xC2\xB5"
                                            "V",
                                            "\xCE\xBC"
                                            "V",
                                            "nV",
                                            "K",
                                            "C",
                                            "\xC2\xB0"
                                            "C",
                                            "s",
                                            "ms",
                                            "min",
                                            "h",
                                            "T",
                                            "mT",
                                            "Oe",
                                            "Ohm",
                                            "\xCE\xA9",
                                            "W",
                                            "Hz",
                                            "%",
                                            "-"};
  for (std::string_view u : kUnits)
    if (w == u) return true;
  return false;
}

namespace {

// The first lines of the file, and the first of them as a preview.
std::vector<std::string> ReadScanLines(MeasuredLineReader& reader, int previewLineCount,
                                       std::vector<std::string>& preview) {
  std::vector<std::string> lines;
  std::string line;
  while (static_cast<int>(lines.size()) < kScanLines && reader.Next(line)) {
    if (static_cast<int>(preview.size()) < previewLineCount)
      preview.push_back(TextAsUtf8(line.substr(0, kPreviewLineBytes)));
    lines.push_back(line);
  }
  return lines;
}

// The data lines among the scanned ones: at least two numbers each.
struct DataLines {
  int first = -1;  // index of the first one in the scanned lines
  std::map<int, int> countsByFields;
  std::vector<std::vector<std::string_view>> fields;
};

DataLines FindDataLines(const std::vector<std::string>& lines, const TableFormat& format) {
  DataLines data;
  for (int k = 0; k < static_cast<int>(lines.size()); ++k) {
    std::vector<std::string_view> f = SplitFields(lines[static_cast<std::size_t>(k)], format);
    if (CountNumbers(f, format) < 2) continue;
    if (data.first < 0) data.first = k;
    ++data.countsByFields[static_cast<int>(f.size())];
    data.fields.push_back(std::move(f));
    if (static_cast<int>(data.fields.size()) >= kScanDataLines) break;
  }
  return data;
}

// The temperature and field stated in the lines above the data.
void ReadHeaderConditions(const std::vector<std::string>& lines, int firstData,
                          TableLayout& layout) {
  std::vector<std::string> above;
  for (int k = 0; k < firstData; ++k)
    above.push_back(TextAsUtf8(lines[static_cast<std::size_t>(k)]));
  const HeaderConditions stated = ConditionsInHeader(above);
  layout.headerTemperature = stated.temperature;
  layout.headerField = stated.field;
}

// The commonest field count among the data lines wins; returns how many
// lines have it.
int ChooseFieldCount(const DataLines& data, TableLayout& layout) {
  int best = 0;
  for (const auto& [fields, count] : data.countsByFields)
    if (count > best) best = count, layout.fieldCount = fields;
  return best;
}

// Columns that hold a number on most of the lines of the chosen width.
void FindNumericColumns(const DataLines& data, int linesOfWidth, TableLayout& layout) {
  const int n = layout.fieldCount;
  std::vector<int> numeric(static_cast<std::size_t>(n), 0);
  for (const auto& f : data.fields) {
    if (static_cast<int>(f.size()) != n) continue;
    for (int c = 0; c < n; ++c)
      if (ParseNumberField(f[static_cast<std::size_t>(c)], layout.format))
        ++numeric[static_cast<std::size_t>(c)];
  }
  for (int c = 0; c < n; ++c)
    if (2 * numeric[static_cast<std::size_t>(c)] > linesOfWidth) layout.numericColumns.push_back(c);
}

// A line of units over every column, or over the numeric ones only;
// false when it fits neither.
bool TakeUnits(const std::vector<std::string_view>& f, TableLayout& layout) {
  const int n = layout.fieldCount;
  const int count = static_cast<int>(f.size());
  const int numericCount = static_cast<int>(layout.numericColumns.size());
  if (count == n) {
    for (std::string_view u : f) layout.units.push_back(TextAsUtf8(u));
    return true;
  }
  if (count > numericCount) return false;
  layout.units.assign(static_cast<std::size_t>(n), std::string());
  for (int c = 0; c < count; ++c)
    layout.units[static_cast<std::size_t>(layout.numericColumns[static_cast<std::size_t>(c)])] =
        TextAsUtf8(f[static_cast<std::size_t>(c)]);
  return true;
}

// Up to three header lines above the data: a units line and a names line.
void ReadHeaderNames(const std::vector<std::string>& lines, int firstData, TableLayout& layout) {
  int looked = 0;
  for (int k = firstData - 1; k >= 0 && looked < 3; --k) {
    const std::string_view header = StripCommentMark(lines[static_cast<std::size_t>(k)]);
    std::vector<std::string_view> f = SplitFields(header, layout.format);
    if (f.empty()) continue;
    ++looked;
    const bool allUnits = std::all_of(f.begin(), f.end(),
                                      [](std::string_view w) { return IsUnitWord(TextAsUtf8(w)); });
    if (allUnits && layout.units.empty() && layout.names.empty()) {
      if (!TakeUnits(f, layout)) break;
      continue;
    }
    if (static_cast<int>(f.size()) == layout.fieldCount && layout.names.empty())
      for (std::string_view name : f) layout.names.push_back(TextAsUtf8(name));
    break;
  }
}

}  // namespace

TableLayout ScanMeasuredTable(const std::string& path, int previewLineCount) {
  TableLayout layout;
  MeasuredLineReader reader(path, kScanLineBytes);
  if (!reader.Opened()) return layout;
  layout.opened = true;
  const std::vector<std::string> lines =
      ReadScanLines(reader, previewLineCount, layout.previewLines);
  layout.format = DetectFormat(lines);
  layout.format.tabs = TabSeparated(lines, layout.format);
  const DataLines data = FindDataLines(lines, layout.format);
  if (data.fields.empty()) return layout;
  ReadHeaderConditions(lines, data.first, layout);
  const int linesOfWidth = ChooseFieldCount(data, layout);
  FindNumericColumns(data, linesOfWidth, layout);
  ReadHeaderNames(lines, data.first, layout);
  return layout;
}

ColumnPair ReadMeasuredColumns(const std::string& path, int xColumn, int yColumn,
                               const TableFormat& format, const TableLimits& limits, int zColumn) {
  ColumnPair out;
  if (xColumn < 0 || yColumn < 0) return out;
  MeasuredLineReader reader(path, limits.maxLineBytes);
  if (!reader.Opened()) return out;
  out.opened = true;
  const auto xc = static_cast<std::size_t>(xColumn);
  const auto yc = static_cast<std::size_t>(yColumn);
  std::string line;
  bool cut = false;
  while (reader.Next(line, &cut)) {
    if (!cut) {
      const std::vector<std::string_view> f = SplitFields(line, format);
      if (f.size() > xc && f.size() > yc) {
        const std::optional<double> x = ParseNumberField(f[xc], format);
        const std::optional<double> y = ParseNumberField(f[yc], format);
        if (x && y) {
          if (out.x.size() >= limits.maxRows) {
            out.truncated = true;
            break;
          }
          out.x.push_back(*x);
          out.y.push_back(*y);
          if (zColumn >= 0) {
            const auto zc = static_cast<std::size_t>(zColumn);
            const std::optional<double> z =
                f.size() > zc ? ParseNumberField(f[zc], format) : std::nullopt;
            out.z.push_back(z ? *z : std::nan(""));
          }
          continue;
        }
      }
    }
    ++out.skippedLines;
  }
  return out;
}

}  // namespace zx
