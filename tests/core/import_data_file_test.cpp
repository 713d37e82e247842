#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "import/data_file.h"
#include "import/run.h"
#include "model/series_file.h"
#include "model/text_file.h"
#include "temp_files.h"

namespace zx {
namespace {

// A lab file: Japanese header (CP932), TAB separated, current in mA and
// voltage in uV, a reverse sweep and a trailer.
std::string LabFile() {
  std::string t = "\x8E\x8E\x97\xBF: REBCO 77K\r\nI_mA\tV_uV\tT_K\r\n";
  for (int k = -3; k <= 20; ++k) {
    const double ma = 5000.0 * k;
    const double uv = 0.05 + 1e-5 * ma + (k > 15 ? (k - 15) * 0.5 : 0.0);
    t += std::to_string(ma) + "\t" + std::to_string(uv) + "\t77.0\r\n";
  }
  return t + "\x8F\x49\x97\xB9\r\n";
}

ImportRequest LabRequest(const std::string& path) {
  ImportRequest rq;
  rq.source = path;
  rq.vi.tapLength = 0.01;
  rq.vi.width = 4e-3;
  rq.vi.thickness = 1e-6;
  rq.vi.currentUnit = CurrentUnit::mA;
  rq.vi.voltageUnit = VoltageUnit::uV;
  rq.vi.minField = 1e-6;
  return rq;
}

TEST(ImportFile, WrittenFileReadsBackAsADataFile) {
  test::TempDir dir;
  const std::string raw = dir.Write("lab 77K.txt", LabFile());
  const ImportOutcome o = RunImport(LabRequest(raw));
  ASSERT_EQ(o.error, ImportError::None);
  EXPECT_EQ(o.source.xColumn, 0);
  EXPECT_EQ(o.source.yColumn, 1);
  EXPECT_EQ(o.source.xName, "I_mA");
  EXPECT_EQ(o.source.skippedLines, 3);
  EXPECT_EQ(o.vi.keptCount, 5);
  EXPECT_EQ(o.vi.droppedCount, 19);  // 4 with I <= 0, 15 below the floor

  const std::string out = DefaultImportOutputPath(raw, ImportKind::ViToEj);
  EXPECT_EQ(out, dir.Path("lab 77K_EJ.dat"));
  ASSERT_TRUE(WriteFileAtomically(out, o.bytes));
  // Every line ends in CR LF; numbers have three exponent digits.
  for (const std::string& line : SplitLines(o.bytes)) EXPECT_EQ(line.find('\r'), std::string::npos);
  EXPECT_EQ(o.bytes.find("\n"), o.bytes.find("\r\n") + 1);
  EXPECT_NE(o.bytes.find("# Tap length (m)\t1.000000e-002\r\n"), std::string::npos);
  EXPECT_NE(o.bytes.find("# Points kept\t5\r\n"), std::string::npos);
  EXPECT_NE(o.bytes.find("# Points left out\t19\r\n"), std::string::npos);
  EXPECT_NE(o.bytes.find("# Source\t" + raw + "\r\n"), std::string::npos);
  EXPECT_NE(o.bytes.find("# Background a (V)\t5.000000e-008"), std::string::npos);

  GraphView g;
  SeriesEntry s;
  s.Path = out;
  std::vector<double> x, y;
  ASSERT_TRUE(ReadSeriesFile(g, s, &x, &y));
  ASSERT_EQ(x.size(), 5u);
  EXPECT_DOUBLE_EQ(x[0], 80.0 / (4e-3 * 1e-6));
  EXPECT_NEAR(y[0], 0.5e-6 / 0.01, 1e-12);
  EXPECT_NEAR(y[4], 2.5e-6 / 0.01, 1e-12);
}

TEST(ImportFile, ColumnsAndJcBOutput) {
  test::TempDir dir;
  const std::string raw = dir.Write("icb.csv",
                                    "B (T),Ic (A),n\n"
                                    "0.5, 120, 30\n1.0, 80, 25\n2.0, 0, 10\n");
  ImportRequest rq;
  rq.kind = ImportKind::IcbToJcb;
  rq.source = raw;
  rq.icb.width = 4e-3;
  rq.icb.thickness = 1e-6;
  ImportOutcome o = RunImport(rq);
  ASSERT_EQ(o.error, ImportError::None);
  EXPECT_EQ(o.icb.keptCount, 2);
  EXPECT_EQ(o.icb.droppedCount, 1);
  EXPECT_NE(o.bytes.find("5.000000e-001 3.000000e+010\r\n"), std::string::npos);
  EXPECT_EQ(DefaultImportOutputPath(raw, ImportKind::IcbToJcb), dir.Path("icb_JcB.dat"));
  EXPECT_EQ(DefaultImportOutputPath("/a.b/raw", ImportKind::ViToEj), "/a.b/raw_EJ.dat");
  EXPECT_EQ(DefaultImportOutputPath("/x/.hidden", ImportKind::ViToEj), "/x/.hidden_EJ.dat");

  rq.xColumn = 0;
  rq.yColumn = 3;
  EXPECT_EQ(RunImport(rq).error, ImportError::YColumn);
  rq.xColumn = 7;
  EXPECT_EQ(RunImport(rq).error, ImportError::XColumn);
  rq.xColumn = 0;
  rq.yColumn = 2;
  EXPECT_EQ(RunImport(rq).error, ImportError::None);
  rq.source = dir.Write("text.txt", "only words\n");
  EXPECT_EQ(RunImport(rq).error, ImportError::NoRows);
  rq.source = dir.Path("missing.txt");
  EXPECT_EQ(RunImport(rq).error, ImportError::Unreadable);
}

}  // namespace
}  // namespace zx
