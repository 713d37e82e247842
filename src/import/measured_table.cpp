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

std::vector<std::string_view> SplitFields(std::string_view line, const TableFormat& format) {
  std::vector<std::string_view> fields;
  auto isSep = [&](char c) { return c == ';' || (c == ',' && !format.decimalComma); };
  // A line with commas or semicolons is split at those alone, so that a
  // header like "Ic (A),B (T)" keeps its names whole.
  bool separated = false;
  for (char c : line) separated = separated || isSep(c);
  // A TAB table's line is split at each TAB, trailing ones aside.
  const bool tabbed = !separated && format.tabs && line.find('\t') != std::string_view::npos;
  if (tabbed) {
    while (!line.empty() && IsBlank(line.back())) line.remove_suffix(1);
    separated = true;
  }
  auto ends = [&](char c) { return tabbed ? c == '\t' : separated ? isSep(c) : IsBlank(c); };
  // Blanks around a field; in a TAB table two TABs enclose an empty one.
  auto pad = [&](char c) { return tabbed ? c == ' ' : IsBlank(c); };
  const std::size_t n = line.size();
  std::size_t i = 0;
  while (i < n && IsBlank(line[i])) ++i;
  if (i >= n) return fields;
  for (;;) {
    while (i < n && pad(line[i])) ++i;
    std::size_t start = i, stop = i;
    // A quoted field may hold blanks and separators.
    const std::size_t close =
        i < n && line[i] == '"' ? line.find('"', i + 1) : std::string_view::npos;
    if (close != std::string_view::npos) {
      start = i + 1;
      stop = close;
      i = close + 1;
      while (i < n && !ends(line[i])) ++i;
    } else {
      while (i < n && !ends(line[i])) ++i;
      stop = i;
      while (stop > start && IsBlank(line[stop - 1])) --stop;
    }
    fields.push_back(line.substr(start, stop - start));
    // A date and a time separated by a blank are one time stamp, as the
    // header names them.
    if (!separated && fields.size() >= 2 && LooksLikeTime(fields.back()) &&
        LooksLikeDate(fields[fields.size() - 2])) {
      const std::string_view date = fields[fields.size() - 2];
      fields.pop_back();
      fields.back() = line.substr(static_cast<std::size_t>(date.data() - line.data()),
                                  stop - static_cast<std::size_t>(date.data() - line.data()));
    }
    if (!separated) {
      while (i < n && IsBlank(line[i])) ++i;
      if (i >= n) break;
    } else {
      if (i >= n) break;
      ++i;  // the separator
    }
  }
  return fields;
}

std::optional<double> ParseNumberField(std::string_view field, const TableFormat& format) {
  const char point = format.decimalComma ? ',' : '.';
  std::size_t i = 0;
  const std::size_t n = field.size();
  if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && IsDigit(field[i])) ++i, ++digits;
  if (i < n && field[i] == point) {
    ++i;
    while (i < n && IsDigit(field[i])) ++i, ++digits;
  }
  if (digits == 0) return std::nullopt;
  if (i < n && (field[i] == 'e' || field[i] == 'E')) {
    ++i;
    if (i < n && (field[i] == '+' || field[i] == '-')) ++i;
    if (i >= n || !IsDigit(field[i])) return std::nullopt;
    while (i < n && IsDigit(field[i])) ++i;
  }
  if (i != n || n > 400) return std::nullopt;
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
