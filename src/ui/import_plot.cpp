#include "ui/import_plot.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

#include "graph/point_plot.h"
#include "qtcanvas/qt_canvas.h"

namespace zx {

namespace {

GraphView PlotView(const char* xTitle, AxisScale xType, const char* yTitle, AxisScale yType) {
  GraphView g;
  g.GraphRect = IntRect{0, 0, kImportPlotWidth, kImportPlotHeight};
  g.X.Margin = 0.36;
  g.Y.Margin = 0.4;
  g.X.Title = xTitle;
  g.X.Type = xType;
  g.Y.Title = yTitle;
  g.Y.Type = yType;
  return g;
}

// A long sweep is drawn from an even selection of its points, so that the
// graphs follow every keystroke.
constexpr std::size_t kMaxPlotPoints = 4000;

PointSet Thin(const PointSet& s) {
  const std::size_t n = std::min(s.x.size(), s.y.size());
  if (n <= kMaxPlotPoints) return s;
  PointSet out{s.style, {}, {}};
  const std::size_t step = (n + kMaxPlotPoints - 1) / kMaxPlotPoints;
  for (std::size_t k = 0; k < n; k += step) {
    out.x.push_back(s.x[k]);
    out.y.push_back(s.y[k]);
  }
  return out;
}

QImage Paint(GraphView g, const std::vector<PointSet>& all) {
  std::vector<PointSet> sets;
  for (const PointSet& s : all) sets.push_back(Thin(s));
  QImage image(kImportPlotWidth, kImportPlotHeight, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  QtCanvas canvas(painter, QApplication::font("QMenu"));
  DrawPointSets(canvas, g, sets);
  return image;
}

}  // namespace

QImage DrawMeasuredPlot(const ImportRequest& rq, const ColumnPair& rows) {
  const bool vi = rq.kind == ImportKind::ViToEj;
  const double xs = vi ? UnitFactor(rq.vi.currentUnit) : 1.0;
  const double ys = vi ? UnitFactor(rq.vi.voltageUnit) : UnitFactor(rq.icb.currentUnit);
  PointSet points{MarkersOnly(Rgb{0, 0, 255}, vi ? 2 : 3), {}, {}};
  for (std::size_t k = 0; k < rows.x.size() && k < rows.y.size(); ++k) {
    points.x.push_back(rows.x[k] * xs);
    points.y.push_back(rows.y[k] * ys);
  }
  if (!vi) return Paint(PlotView("B(T)", AxisScale::Linear, "Ic(A)", AxisScale::Linear), {points});
  std::vector<PointSet> sets{points};
  ViImportSettings unitGeometry = rq.vi;
  unitGeometry.tapLength = unitGeometry.width = unitGeometry.thickness = 1.0;
  unitGeometry.minField = 0.0;
  const ViImport r = ConvertViToEj(rows.x, rows.y, unitGeometry);
  if (!r.current.empty()) {
    const auto [lo, hi] = std::minmax_element(r.current.begin(), r.current.end());
    sets.push_back(PointSet{LineOnly(Rgb{255, 0, 0}),
                            {*lo, *hi},
                            {r.offset + r.slope * *lo, r.offset + r.slope * *hi}});
  }
  return Paint(PlotView("I(A)", AxisScale::Linear, "V(V)", AxisScale::Linear), sets);
}

namespace {

// The lowest electric field kept: a dashed line across the current densities.
void AddMinFieldLine(std::vector<PointSet>& sets, const std::vector<double>& xs, double minField) {
  const auto [lo, hi] = std::minmax_element(xs.begin(), xs.end());
  sets.push_back(
      PointSet{LineOnly(Rgb{0, 150, 0}, LinePattern::Dash), {*lo, *hi}, {minField, minField}});
}

// Where the default cut fell: the lowest current of the written run.
void AddCutLine(std::vector<PointSet>& sets, const ImportOutcome& o, const PointSet& in,
                const PointSet& out) {
  const double area = o.used.vi.width * o.used.vi.thickness;
  const auto [lo, hi] = std::minmax_element(in.y.begin(), in.y.end());
  double low = *lo;
  for (double y : out.y)
    if (y > 0) low = std::min(low, y);
  const double jCut = o.vi.cutCurrent / area;
  sets.push_back(PointSet{LineOnly(Rgb{0, 0, 255}, LinePattern::Dash), {jCut, jCut}, {low, *hi}});
}

}  // namespace

QImage DrawConvertedPlot(ImportKind kind, const ImportOutcome& o) {
  const bool vi = kind == ImportKind::ViToEj;
  const std::vector<double>& xs = vi ? o.vi.j : o.icb.b;
  const std::vector<double>& ys = vi ? o.vi.e : o.icb.jc;
  const std::vector<char>& kept = vi ? o.vi.kept : o.icb.kept;
  PointSet in{MarkersOnly(kKeptColor, 3), {}, {}};
  PointSet out{MarkersOnly(kLeftOutColor, 3), {}, {}};
  for (std::size_t k = 0; k < xs.size(); ++k) {
    PointSet& s = kept[k] ? in : out;
    s.x.push_back(xs[k]);
    s.y.push_back(ys[k]);
  }
  std::vector<PointSet> sets{out, in};
  if (!vi) return Paint(PlotView("B(T)", AxisScale::Linear, "Jc(A/m^2)", AxisScale::Log), sets);
  if (!xs.empty() && o.vi.minField > 0) AddMinFieldLine(sets, xs, o.vi.minField);
  if (!o.used.vi.minField && o.vi.cutCurrent > 0 && !in.y.empty()) AddCutLine(sets, o, in, out);
  return Paint(PlotView("J(A/m^2)", AxisScale::Log, "E(V/m)", AxisScale::Log), sets);
}

}  // namespace zx
