#include "qtcanvas/qt_canvas.h"

#include <gtest/gtest.h>

#include <QColor>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "graph/axes.h"

namespace zx {
namespace {

struct Scene {
  Project p;
  ViewState v;
};

Scene OneDataFile(const QTemporaryDir& dir) {
  const std::string data = dir.filePath("a.dat").toStdString();
  std::ofstream(data) << "# J E\n1e6 1e-6\n1e7 1e-4\n1e8 1e-2\n";
  Scene s;
  ResetGraphView(s.v.View, CalcMode::EJ);
  s.v.View.RescalePending = true;
  s.v.DataSeries.Add(MakeDataSeries(0, data));
  return s;
}

TEST(QtCanvas, PngShowsMarkersAxesAndLabels) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Scene s = OneDataFile(dir);
  const Project& p = s.p;
  ViewState& v = s.v;
  const std::string png = dir.filePath("graph.png").toStdString();
  const ImageExportResult r = ExportGraphImage(p, v, png, 1.0, {});
  ASSERT_TRUE(r.written);
  EXPECT_TRUE(r.paint.hadData);

  QImage img(QString::fromStdString(png));
  ASSERT_EQ(img.size(), QSize(468, 357));
  const QPoint marker(MapX(v.View, 1e7), MapY(v.View, 1e-4));
  EXPECT_EQ(img.pixelColor(marker), QColor(255, 0, 0));
  EXPECT_EQ(img.pixelColor(300, 304), QColor(0, 0, 0));  // X axis line
  EXPECT_EQ(img.pixelColor(70, 150), QColor(0, 0, 0));   // Y axis line
  EXPECT_EQ(img.pixelColor(5, 5), QColor(255, 255, 255));
  // Some ink below the X axis: the tick labels and the title.
  int dark = 0;
  for (int y = 306; y < 357; ++y)
    for (int x = 0; x < 468; ++x)
      if (qGray(img.pixel(x, y)) < 128) ++dark;
  EXPECT_GT(dark, 50);
}

TEST(QtCanvas, ScaledPngAndSvg) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  Scene s = OneDataFile(dir);
  const Project& p = s.p;
  ViewState& v = s.v;
  const std::string png = dir.filePath("graph2.png").toStdString();
  ASSERT_TRUE(ExportGraphImage(p, v, png, 2.0, {}).written);
  EXPECT_EQ(QImage(QString::fromStdString(png)).size(), QSize(936, 714));

  const std::string svg = dir.filePath("graph.SVG").toStdString();
  ASSERT_TRUE(ExportGraphImage(p, v, svg, 1.0, {}).written);
  QFile f(QString::fromStdString(svg));
  ASSERT_TRUE(f.open(QIODevice::ReadOnly));
  const QByteArray bytes = f.readAll();
  EXPECT_TRUE(bytes.contains("<svg"));
  EXPECT_TRUE(bytes.contains("E(V/m)"));

  EXPECT_FALSE(
      ExportGraphImage(p, v, dir.filePath("no/such/dir/x.png").toStdString(), 1.0, {}).written);
}

}  // namespace
}  // namespace zx
