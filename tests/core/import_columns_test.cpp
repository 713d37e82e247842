// Columns of measured tables chosen by their names and units.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "import/columns.h"
#include "import/run.h"
#include "temp_files.h"

namespace zx {
namespace {

TableLayout Layout(std::vector<std::string> names, std::vector<std::string> units = {}) {
  TableLayout t;
  t.opened = true;
  t.fieldCount = static_cast<int>(names.size());
  for (int c = 0; c < t.fieldCount; ++c) t.numericColumns.push_back(c);
  t.names = std::move(names);
  t.units = std::move(units);
  return t;
}

TEST(ImportColumns, NamesAndUnitsChooseCurrentVoltageAndTemperature) {
  struct Case {
    std::vector<std::string> names, units;
    int x, y;
  };
  const Case cases[] = {
      // A logger that writes the time first: never the current.
      {{"t_s", "iHTS_A", "vHTS_V", "tHTS_K", "tTAR_K"}, {}, 1, 2},
      {{"time", "V", "I"}, {}, 2, 1},
      {{"I(mA)", "V [uV]", "T"}, {}, 0, 1},
      {{"Current", "Voltage"}, {}, 0, 1},
      // Names that say nothing: the units line decides.
      {{"ch1", "ch2", "ch3", "ch4"}, {"s", "A", "uV", "K"}, 1, 2},
      // No names at all: the first two numeric columns, as before.
      {{}, {}, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.names.empty() ? std::string("(none)") : c.names[0]);
    TableLayout t = Layout(c.names, c.units);
    if (c.names.empty()) t.fieldCount = 3, t.numericColumns = {0, 1, 2};
    int x = -1, y = -1;
    ASSERT_EQ(ChooseColumns(t, ImportKind::ViToEj, std::nullopt, std::nullopt, x, y),
              ImportError::None);
    EXPECT_EQ(x, c.x);
    EXPECT_EQ(y, c.y);
  }
  const TableLayout logger = Layout({"datetime", "t_s", "iHTS_A", "vHTS_V", "tHTS_K", "tTAR_K"},
                                    {"", "s", "A", "uV", "K", ""});
  EXPECT_EQ(TemperatureColumnByName(logger), 4);
  // A "T" in kelvin is the temperature, a bare "t" a time.
  EXPECT_EQ(TemperatureColumnByName(Layout({"I", "V", "T"}, {"A", "uV", "K"})), 2);
  EXPECT_EQ(RoleOfColumn("t", ""), ColumnRole::Time);
  // The units line outranks the unit in the name: vHTS_V is written in uV.
  EXPECT_EQ(VoltageUnitOfColumn(logger, 3), VoltageUnit::uV);
  EXPECT_EQ(CurrentUnitOfColumn(Layout({"I(mA)"}), 0), CurrentUnit::mA);
  // Ic-B tables: field, then current.
  int x = -1, y = -1;
  ASSERT_EQ(ChooseColumns(Layout({"Ic (A)", "B (T)"}), ImportKind::IcbToJcb, std::nullopt,
                          std::nullopt, x, y),
            ImportError::None);
  EXPECT_EQ(x, 1);
  EXPECT_EQ(y, 0);
}

TEST(ImportColumns, LoggerFileWithTemperatureColumnImportsWithoutColumnOptions) {
  test::TempDir dir;
  std::string t = "datetime t_s iHTS_A vHTS_V tHTS_K tTAR_K\ns A uV K\n";
  for (int k = 0; k <= 200; ++k) {
    const double amps = 0.5 * k;
    const double uv = 3.0 + 0.002 * amps + 1.0 * std::pow(amps / 80.0, 25) + (k % 2 ? 0.01 : -0.01);
    char line[200];
    std::snprintf(line, sizeof line, "2024-05-01 10:00:%02d %d %.4f %.6f %.3f 61.0\n", k % 60, k,
                  amps, uv, k > 100 ? 60.4 : 59.0);
    t += line;
  }
  ImportRequest rq;
  rq.source = dir.Write("logger.txt", t);
  rq.vi.tapLength = 0.01;
  rq.vi.width = 4e-3;
  rq.vi.thickness = 1e-6;
  rq.currentUnitGiven = rq.voltageUnitGiven = false;
  rq.temperatureColumn = 4;
  const ImportOutcome o = RunImport(rq);
  ASSERT_EQ(o.error, ImportError::None);
  EXPECT_EQ(o.source.xColumn, 2);
  EXPECT_EQ(o.source.yColumn, 3);
  EXPECT_EQ(o.used.vi.voltageUnit, VoltageUnit::uV);
  EXPECT_EQ(o.vi.backgroundPoints, 99);  // 0 < I < 50 A
  EXPECT_NEAR(o.vi.offset, 3e-6, 1e-9);
  // The temperature over the written points only (all above 50 A).
  ASSERT_TRUE(o.temperature);
  EXPECT_NEAR(o.temperature->mean, 60.4, 1e-9);
  EXPECT_NEAR(o.temperature->spread, 0.0, 1e-9);
  EXPECT_NE(o.bytes.find("# Temperature (K)\t6.040000e+001 (mean of column 4 (tHTS_K)"),
            std::string::npos);
  // The units line's micro sign survives in CP932 as the Greek mu.
  std::string mu =
      "I\tV(\xC2\xB5"
      "V)\n";
  for (int k = 0; k <= 20; ++k)
    mu += std::to_string(5 * k) + "\t" + std::to_string(k > 16 ? k : 0) + "\n";
  rq.source = dir.Write("mu.txt", mu);
  rq.temperatureColumn.reset();
  rq.vi.minField = 0.0;
  const ImportOutcome m = RunImport(rq);
  ASSERT_EQ(m.error, ImportError::None);
  EXPECT_EQ(m.used.vi.voltageUnit, VoltageUnit::uV);
  EXPECT_NE(m.bytes.find("V(\x83\xCA"
                         "V)"),
            std::string::npos);
}

}  // namespace
}  // namespace zx
