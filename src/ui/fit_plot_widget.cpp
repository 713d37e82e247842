#include "ui/fit_plot_widget.h"

#include <QPainter>
#include <algorithm>

#include "qtcanvas/qt_canvas.h"

namespace zx {

namespace {

constexpr int kLegendPad = 6;
constexpr int kLegendSample = 22;    // marker and line before the text
constexpr int kLeastPlotSide = 120;  // the plot area itself, at the smallest size
// The widest tick labels the fit's axes get.
constexpr const char* kWideLabels[] = {"1e-10", "-0.025"};

// The room the axes need around the plot area: tick labels and the title
// below it and left of it (as the axes draw them), in pixels.
struct AxisRoom {
  int x = 0, y = 0;
};
template <class Measure>
AxisRoom RoomFor(Measure measure) {
  int label = 0, line = 0;
  for (const char* t : kWideLabels) {
    const TextSize s = measure(t);
    label = std::max(label, s.cx);
    line = std::max(line, s.cy);
  }
  return {label + 5 * line / 2 + 8, 7 * line / 2 + 6};
}

}  // namespace

FitPlotWidget::FitPlotWidget(QWidget* parent) : QWidget(parent) {
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize FitPlotWidget::minimumSizeHint() const {
  const QFontMetrics fm(DefaultLabelFont());
  auto measure = [&fm](const std::string& t) {
    return TextSize{fm.horizontalAdvance(QString::fromStdString(t)), fm.height()};
  };
  const AxisRoom room = RoomFor(measure);
  int legend = 0;
  for (const LegendEntry& e : legend_)
    legend = std::max(legend, measure(e.text).cx + kLegendSample + 3 + 2 * kLegendPad);
  return {2 * room.x + kLeastPlotSide + legend, 2 * room.y + kLeastPlotSide};
}

void FitPlotWidget::SetContent(const GraphView& axes, std::vector<PointSet> series,
                               std::vector<PointBand> bands, std::vector<LegendEntry> legend) {
  axes_ = axes;
  series_ = std::move(series);
  bands_ = std::move(bands);
  bool sameLegend = legend.size() == legend_.size();
  for (std::size_t i = 0; sameLegend && i < legend.size(); ++i)
    sameLegend = legend[i].text == legend_[i].text;
  legend_ = std::move(legend);
  // The legend's width is part of the smallest size.
  if (!sameLegend) updateGeometry();
  update();
}

void FitPlotWidget::Draw(Canvas& c, int w, int h) const {
  // The legend takes a strip on the right, so that it never hides a point.
  int strip = 0, lineHeight = 0;
  for (const LegendEntry& e : legend_) {
    const TextSize t = c.MeasureText(e.text, false);
    strip = std::max(strip, t.cx + kLegendSample + 3 + 2 * kLegendPad);
    lineHeight = std::max(lineHeight, t.cy);
  }
  strip = std::min(strip, w / 3);
  GraphView g = axes_;
  g.GraphRect = IntRect{0, 0, w - strip, h};
  // The axes' margins are parts of the size: on a small graph they are
  // widened to hold the labels and titles.
  const AxisRoom room = RoomFor([&c](const std::string& t) { return c.MeasureText(t, false); });
  if (w - strip > 0) g.X.Margin = std::max(g.X.Margin, 2.0 * room.x / (w - strip));
  if (h > 0) g.Y.Margin = std::max(g.Y.Margin, 2.0 * room.y / h);
  c.FillRect(IntRect{0, 0, w, h}, g.BackColor);
  DrawPointSets(c, g, series_, bands_);
  int y = kLegendPad * 3;
  const int x = w - strip + kLegendPad;
  for (const LegendEntry& e : legend_) {
    const int mid = y + lineHeight / 2;
    c.Line({x, mid}, {x + kLegendSample - 4, mid}, Pen{2, e.line, PenStyle::Solid});
    const int cx = x + (kLegendSample - 4) / 2;
    c.Ellipse(IntRect{cx - 3, mid - 3, cx + 4, mid + 4}, Pen{1, e.marker, PenStyle::Solid},
              e.marker);
    // The text as the condition list shows its row: white on the colour.
    const TextSize t = c.MeasureText(e.text, false);
    c.FillRect(IntRect{x + kLegendSample - 2, y, x + kLegendSample + t.cx + 3, y + lineHeight},
               e.line);
    c.DrawText({x + kLegendSample, y}, e.text, false, Rgb{255, 255, 255});
    y += lineHeight + 3;
  }
}

bool FitPlotWidget::Export(const std::string& path) const {
  const int w = width(), h = height();
  return ExportDrawing(path, w, h, kPlotExportScale, [this, w, h](Canvas& c) { Draw(c, w, h); });
}

void FitPlotWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QtCanvas canvas(painter);
  Draw(canvas, width(), height());
}

}  // namespace zx
