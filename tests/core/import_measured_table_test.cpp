#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/columns.h"
#include "import/header_conditions.h"
#include "import/measured_table.h"
#include "temp_files.h"

namespace zx {
namespace {

std::vector<std::string> Fields(const std::string& line, bool decimalComma = false) {
  TableFormat f;
  f.decimalComma = decimalComma;
  std::vector<std::string> out;
  for (std::string_view v : SplitFields(line, f)) out.emplace_back(v);
  return out;
}

using V = std::vector<std::string>;

TEST(MeasuredTable, SeparatorsQuotesAndEmptyFields) {
  EXPECT_EQ(Fields("  1.5\t2  3 "), (V{"1.5", "2", "3"}));
  EXPECT_EQ(Fields("1.5, 2 ,3"), (V{"1.5", "2", "3"}));
  EXPECT_EQ(Fields("1;2;;4"), (V{"1", "2", "", "4"}));
  EXPECT_EQ(Fields("\"I (A)\", \"V (uV)\""), (V{"I (A)", "V (uV)"}));
  EXPECT_EQ(Fields("\"1.5\",\"2\""), (V{"1.5", "2"}));
  EXPECT_EQ(Fields("1,2,"), (V{"1", "2", ""}));
  EXPECT_EQ(Fields(",1"), (V{"", "1"}));
  EXPECT_TRUE(Fields(" \t ").empty());
  EXPECT_EQ(Fields("2024/5/1 9:30:01.5 3"), (V{"2024/5/1 9:30:01.5", "3"}));
  EXPECT_EQ(Fields("1.5 10:00 2"), (V{"1.5", "10:00", "2"}));
  // A decimal comma stays inside its number.
  EXPECT_EQ(Fields("1,5;2,25", true), (V{"1,5", "2,25"}));
}

TEST(MeasuredTable, OnlyWholeDecimalNumbersCount) {
  const TableFormat dot;
  TableFormat comma;
  comma.decimalComma = true;
  EXPECT_EQ(ParseNumberField("1.5e-06", dot), 1.5e-6);
  EXPECT_EQ(ParseNumberField("-.5", dot), -0.5);
  EXPECT_EQ(ParseNumberField("+3.", dot), 3.0);
  EXPECT_EQ(ParseNumberField("2E+3", dot), 2000.0);
  EXPECT_EQ(ParseNumberField("1,5", comma), 1.5);
  for (const char* bad : {"2024-01-05", "12:30:00", "1.5A", "nan", "inf", "0x10", "1e", "", "-",
                          ".", "1e999", "1,5", "電流"})
    EXPECT_FALSE(ParseNumberField(bad, dot)) << bad;
}

TEST(MeasuredTable, LayoutFromHeadersUnitsAndDates) {
  test::TempDir dir;
  // Eleven header lines, TAB separated, names then units, a trailer.
  std::string lab;
  for (int k = 0; k < 9; ++k) lab += "Sample info line " + std::to_string(k) + "\r\n";
  lab += "I\tV\tT\r\nA\tuV\tK\r\n1\t0.1\t77\r\n2\t0.2\t77\r\n3\t0.4\t77\r\nEnd of data\r\n";
  TableLayout t = ScanMeasuredTable(dir.Write("lab.txt", lab), 5);
  ASSERT_TRUE(t.opened);
  EXPECT_EQ(t.fieldCount, 3);
  EXPECT_EQ(t.numericColumns, (std::vector<int>{0, 1, 2}));
  // A units line just above the data gives the units, the line above it
  // the names.
  EXPECT_EQ(t.names, (V{"I", "V", "T"}));
  EXPECT_EQ(t.units, (V{"A", "uV", "K"}));
  EXPECT_EQ(t.previewLines.size(), 5u);
  EXPECT_EQ(t.previewLines[0], "Sample info line 0");

  // A date and time stamp: one field, not a number, not a default column.
  const std::string sweep =
      "datetime t_s iHTS_A vHTS_V tHTS_K\n"
      "2024-05-01 10:00:00 0.0 1.0 1e-8 60.0\n"
      "2024-05-01 10:00:01 1.0 2.0 2e-8 60.1\n";
  t = ScanMeasuredTable(dir.Write("sweep.txt", sweep));
  EXPECT_EQ(t.fieldCount, 5);
  EXPECT_EQ(t.numericColumns, (std::vector<int>{1, 2, 3, 4}));
  EXPECT_EQ(t.names, (V{"datetime", "t_s", "iHTS_A", "vHTS_V", "tHTS_K"}));
  EXPECT_TRUE(t.units.empty());

  // A logger's units line names the numeric fields only, in order.
  t = ScanMeasuredTable(dir.Write("logger.txt",
                                  "datetime t_s iHTS_A vHTS_V tHTS_K tTAR_K\n"
                                  "s A uV K\n"
                                  "2024-05-01 10:00:00 0.0 1.0 1e-8 60.0 60.1\n"
                                  "2024-05-01 10:00:01 1.0 2.0 2e-8 60.1 60.2\n"));
  EXPECT_EQ(t.names.size(), 6u);
  EXPECT_EQ(t.units, (V{"", "s", "A", "uV", "K", ""}));

  // CP932 header text comes out as UTF-8; decimal commas are recognised.
  t = ScanMeasuredTable(
      dir.Write("jp.csv", "# \x93\x64\x97\xAC;\x93\x64\x88\xB3\n1,5;2,5\n2,5;3,5\n"));
  EXPECT_TRUE(t.format.decimalComma);
  EXPECT_EQ(t.names, (V{"電流", "電圧"}));

  EXPECT_FALSE(ScanMeasuredTable(dir.Path("missing.txt")).opened);
  t = ScanMeasuredTable(dir.Write("words.txt", "no numbers here\nnor here 1\n"));
  EXPECT_TRUE(t.opened);
  EXPECT_EQ(t.fieldCount, 0);
}

TEST(MeasuredTable, TabHeadersKeepTheirBlanksAndStateTheConditions) {
  test::TempDir dir;
  // A lab file: metadata lines, then names with blanks and units in them.
  const TableLayout t =
      ScanMeasuredTable(dir.Write("lab.txt",
                                  "Temperature (K)\t77.00\r\nfield / T\t0.300000\r\n"
                                  "Current / A\tV1  -sample/ uV\ttime/s\r\n"
                                  "0.5\t1.25\t0\r\n1.0\t1.5\t1\r\n"));
  EXPECT_TRUE(t.format.tabs);
  EXPECT_EQ(t.names, (V{"Current / A", "V1  -sample/ uV", "time/s"}));
  EXPECT_EQ(VoltageUnitOfColumn(t, 1), VoltageUnit::uV);
  EXPECT_EQ(CurrentUnitOfColumn(t, 0), CurrentUnit::A);
  int x = -1, y = -1;
  ASSERT_TRUE(ColumnsByName(t, true, x, y));
  EXPECT_EQ(std::pair(x, y), std::pair(0, 1));
  EXPECT_EQ(t.headerTemperature, 77.0);
  EXPECT_EQ(t.headerField, 0.3);

  // Each header line alone: the temperature and field it states, if any.
  struct Case {
    const char* line;
    std::optional<double> kelvin, tesla;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"# Ic = 19.03 A, n = 22.53 , Tavg = 30.03 K", 30.03, {}},
           {"B = 150 mT; Temp: 4.2", 4.2, 0.15},
           {"field [mT]\t300", {}, 0.3},
           {"T_sample_K 60.5", 60.5, {}},
           {"Tc = 92 K, H = 2 K", {}, {}},  // not the sample's; a field in K
           {"T = 0.3 T", {}, {}},
           {"time / s\t5", {}, {}},
       }) {
    SCOPED_TRACE(c.line);
    const HeaderConditions h = ConditionsInHeader({c.line});
    for (const auto& [got, want] :
         {std::pair(h.temperature, c.kelvin), std::pair(h.field, c.tesla)})
      if (want)
        EXPECT_NEAR(got.value_or(-1), *want, 1e-12);
      else
        EXPECT_FALSE(got) << *got;
  }
}

TEST(MeasuredTable, ColumnsAreStreamedWithSkippedLinesCounted) {
  test::TempDir dir;
  // CR-only, CR LF and LF endings; a units line, a trailer in Japanese, a
  // line missing the second column and a blank line.
  const std::string text = "I V\rA mV\r\n1 10\n2\t20\r\n3\n\n4,40\n測定終了\n";
  ColumnPair c = ReadMeasuredColumns(dir.Write("t.txt", text), 0, 1, TableFormat{});
  ASSERT_TRUE(c.opened);
  EXPECT_EQ(c.x, (std::vector<double>{1, 2, 4}));
  EXPECT_EQ(c.y, (std::vector<double>{10, 20, 40}));
  EXPECT_EQ(c.skippedLines, 5);
  EXPECT_FALSE(c.truncated);

  // Overlong lines are skipped whole, never half read.
  std::string longLine(200, '7');
  TableLimits small;
  small.maxLineBytes = 100;
  small.maxRows = 2;
  c = ReadMeasuredColumns(dir.Write("long.txt", "1 2\n" + longLine + " 5\n3 4\n5 6\n"), 0, 1,
                          TableFormat{}, small);
  EXPECT_EQ(c.x, (std::vector<double>{1, 3}));
  EXPECT_EQ(c.skippedLines, 1);
  EXPECT_TRUE(c.truncated);

  // A byte order mark does not hide the first row.
  c = ReadMeasuredColumns(dir.Write("bom.txt",
                                    "\xEF\xBB\xBF"
                                    "7 8\n"),
                          0, 1, TableFormat{});
  EXPECT_EQ(c.x, (std::vector<double>{7}));

  EXPECT_FALSE(ReadMeasuredColumns(dir.Path("none.txt"), 0, 1, TableFormat{}).opened);
  c = ReadMeasuredColumns(dir.Write("few.txt", "1 2\n"), 0, 5, TableFormat{});
  EXPECT_TRUE(c.x.empty());
  EXPECT_EQ(c.skippedLines, 1);
}

TEST(MeasuredTable, HugeFileIsReadWithinTheCaps) {
  test::TempDir dir;
  // 8 MB on one line without a terminator, then a normal row.
  std::string junk(8 << 20, 'x');
  ColumnPair c = ReadMeasuredColumns(dir.Write("huge.txt", junk + "\n1 2"), 0, 1, TableFormat{});
  EXPECT_EQ(c.x.size(), 1u);
  EXPECT_EQ(c.skippedLines, 1);
  const TableLayout t = ScanMeasuredTable(dir.Path("huge.txt"));
  EXPECT_EQ(t.fieldCount, 2);
  ASSERT_FALSE(t.previewLines.empty());
  EXPECT_LE(t.previewLines[0].size(), 300u);
}

}  // namespace
}  // namespace zx
