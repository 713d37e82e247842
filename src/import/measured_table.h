// Reading tables of measured values: text files of numbers separated by
// blanks, TABs, commas or semicolons, with header, unit and trailer lines of
// any kind around them. Files are streamed, so a huge or broken file costs
// time but never the whole memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

// How the fields of a line are told apart.
struct TableFormat {
  // Semicolon-separated files whose numbers use a decimal comma ("1,5;2,0").
  bool decimalComma = false;
  // The data lines are TAB-separated: every line is split at TABs alone, so
  // that header names keep their blanks ("V1  -sample/ uV").
  bool tabs = false;
};

// The fields of a line: runs of blanks and TABs separate, and so does one
// comma or semicolon (with blanks around it); two of them in a row enclose
// an empty field. In a TAB-separated table a line with TABs is split at
// each TAB. Surrounding double quotes are removed from a field.
std::vector<std::string_view> SplitFields(std::string_view line, const TableFormat& format);
// The whole field as a finite decimal number; no units, dates or words.
std::optional<double> ParseNumberField(std::string_view field, const TableFormat& format);

// What the first part of a file shows about its layout.
struct TableLayout {
  bool opened = false;
  TableFormat format;
  // Fields of a data line (a line with at least two numbers); 0 without any.
  int fieldCount = 0;
  // Names of the fields (UTF-8) from the last header line before the data
  // that has as many fields as the data; empty when there is none.
  std::vector<std::string> names;
  // Units of the fields from a units line ("s A uV K") just before the data,
  // one per field ("" where the line gives none); empty when there is none.
  // A units line with fewer words than fields names the numeric fields in order.
  std::vector<std::string> units;
  // Fields that hold numbers in most data lines, in order.
  std::vector<int> numericColumns;
  // The sample's temperature (K) and field (T) as lines above the data
  // state them ("Temperature (K)<TAB>77.00", "# ... Tavg = 30.03 K").
  std::optional<double> headerTemperature, headerField;
  // The first lines of the file as UTF-8, for a preview.
  std::vector<std::string> previewLines;
};
TableLayout ScanMeasuredTable(const std::string& path, int previewLineCount = 30);

struct TableLimits {
  std::size_t maxLineBytes = 64 * 1024;  // longer lines are skipped
  std::size_t maxRows = 2'000'000;       // rows beyond this are not read
};

// Two columns of a table, row by row, and optionally a third one.
struct ColumnPair {
  bool opened = false;
  std::vector<double> x, y;
  // The extra column of every row, NaN where it holds no number; empty
  // unless asked for.
  std::vector<double> z;
  // Lines that did not give both columns as numbers (headers, units,
  // trailers, blank or overlong lines).
  std::int64_t skippedLines = 0;
  // The row cap was reached; the rows after it were not read.
  bool truncated = false;
};
ColumnPair ReadMeasuredColumns(const std::string& path, int xColumn, int yColumn,
                               const TableFormat& format, const TableLimits& limits = {},
                               int zColumn = -1);
// A word that names a unit: "A", "mA", "uV", "K", "s", "[T]".
bool IsUnitWord(std::string_view word);

// Text of unknown encoding as UTF-8: valid UTF-8 stays, anything else is
// taken as CP932.
std::string TextAsUtf8(std::string_view bytes);

}  // namespace zx
