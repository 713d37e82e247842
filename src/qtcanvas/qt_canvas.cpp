#include "qtcanvas/qt_canvas.h"

#include <QBuffer>
#include <QByteArray>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>
#include <QPolygon>
#include <QString>
#include <QSvgGenerator>
#include <cmath>
#include <string_view>

#include "model/text_file.h"

namespace zx {

namespace {

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

Qt::PenStyle ToQtStyle(PenStyle s) {
  switch (s) {
    case PenStyle::Dash:
      return Qt::DashLine;
    case PenStyle::Dot:
      return Qt::DotLine;
    case PenStyle::DashDot:
      return Qt::DashDotLine;
    case PenStyle::DashDotDot:
      return Qt::DashDotDotLine;
    case PenStyle::Solid:
      break;
  }
  return Qt::SolidLine;
}

QPen ToQPen(const Pen& p) {
  QPen pen(ToQColor(p.color));
  pen.setWidth(p.width < 1 ? 1 : p.width);
  pen.setStyle(ToQtStyle(p.style));
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// Box corners given inclusive-exclusive, as the graph code computes them.
QRect ToQRect(const IntRect& r) { return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top); }

bool EndsWithSvg(const std::string& path) {
  return QString::fromStdString(path).endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
}

}  // namespace

QFont ProgramFont() {
  // The texts are Japanese: a Japanese font keeps them even and compact.
  for (const char* family : {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"})
    if (QFontDatabase::hasFamily(QString::fromLatin1(family)))
      return QFont(QString::fromLatin1(family), 9);
  return QGuiApplication::font();
}

QFont DefaultLabelFont() {
  if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return QFont();
  return QGuiApplication::font();
}

QtCanvas::QtCanvas(QPainter& painter, const QFont& labelFont)
    : painter_(painter), font_(labelFont) {}

void QtCanvas::FillRect(const IntRect& r, Rgb color) {
  painter_.fillRect(ToQRect(r), ToQColor(color));
}

void QtCanvas::Line(IntPoint from, IntPoint to, const Pen& pen) {
  painter_.setPen(ToQPen(pen));
  painter_.drawLine(from.x, from.y, to.x, to.y);
}

void QtCanvas::Ellipse(const IntRect& box, const Pen& outline, Rgb fill) {
  painter_.setPen(ToQPen(outline));
  painter_.setBrush(ToQColor(fill));
  painter_.drawEllipse(ToQRect(box));
  painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::Rectangle(const IntRect& box, const Pen& outline, Rgb fill) {
  painter_.setPen(ToQPen(outline));
  painter_.setBrush(ToQColor(fill));
  painter_.drawRect(ToQRect(box));
  painter_.setBrush(Qt::NoBrush);
}

void QtCanvas::Polygon(const std::vector<IntPoint>& points, const Pen& outline, Rgb fill) {
  QPolygon poly;
  for (const IntPoint& p : points) poly << QPoint(p.x, p.y);
  painter_.setPen(ToQPen(outline));
  painter_.setBrush(ToQColor(fill));
  painter_.drawPolygon(poly);
  painter_.setBrush(Qt::NoBrush);
}

TextSize QtCanvas::MeasureText(const std::string& text, bool) {
  // The extent is the same whichever way the text runs.
  const QFontMetrics fm(font_, painter_.device());
  return TextSize{fm.horizontalAdvance(QString::fromStdString(text)), fm.height()};
}

void QtCanvas::DrawText(IntPoint topLeft, const std::string& text, bool upward, Rgb color) {
  const QFontMetrics fm(font_, painter_.device());
  painter_.save();
  painter_.setFont(font_);
  painter_.setPen(ToQColor(color));
  painter_.setBackgroundMode(Qt::TransparentMode);
  painter_.translate(topLeft.x, topLeft.y);
  if (upward) painter_.rotate(-90);
  painter_.drawText(QPoint(0, fm.ascent()), QString::fromStdString(text));
  painter_.restore();
}

ImageExportResult ExportGraphImage(const Project& p, ViewState& v, const std::string& path,
                                   double scale, const PaintHooks& hooks, const QFont& labelFont) {
  ImageExportResult out;
  const IntRect& r = v.View.GraphRect;
  out.written = ExportDrawing(
      path, r.right - r.left, r.bottom - r.top, scale,
      [&](Canvas& canvas) { out.paint = PaintGraph(p, v, canvas, hooks); }, labelFont);
  return out;
}

bool ExportDrawing(const std::string& path, int w, int h, double scale,
                   const std::function<void(Canvas&)>& draw, const QFont& labelFont) {
  if (!(scale > 0) || !std::isfinite(scale)) return false;
  const QSize size(static_cast<int>(std::lround(w * scale)),
                   static_cast<int>(std::lround(h * scale)));
  if (w <= 0 || h <= 0 || size.isEmpty()) return false;
  // The image is made in memory and then replaces the file in one step, so
  // a full disk or a refused target leaves the old file as it was.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (EndsWithSvg(path)) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(QStringLiteral("ZENTRIX II"));
    QPainter painter;
    if (!painter.begin(&svg)) return false;
    painter.scale(scale, scale);
    QtCanvas canvas(painter, labelFont);
    draw(canvas);
    if (!painter.end()) return false;
  } else {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.scale(scale, scale);
      QtCanvas canvas(painter, labelFont);
      draw(canvas);
    }
    if (!image.save(&buffer, "PNG")) return false;
  }
  buffer.close();
  if (bytes.isEmpty()) return false;
  return WriteFileAtomically(path, std::string_view(bytes.constData(), bytes.size()));
}

}  // namespace zx
