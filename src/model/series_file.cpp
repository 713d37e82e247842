#include "model/series_file.h"

#include <cmath>
#include <string>
#include <string_view>

#include "model/format.h"
#include "model/series_range.h"
#include "model/text_file.h"

namespace zx {

namespace {

constexpr int kMaxColumns = 32;

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

// Token `index` (0-based, white-space separated) of a line; false when the
// line has fewer tokens.
bool Token(std::string_view line, int index, std::string_view& out) {
  std::size_t i = 0;
  int n = 0;
  while (i < line.size()) {
    while (i < line.size() && IsBlank(line[i])) ++i;
    if (i >= line.size()) break;
    std::size_t start = i;
    while (i < line.size() && !IsBlank(line[i])) ++i;
    if (n == index) {
      out = line.substr(start, i - start);
      return true;
    }
    ++n;
  }
  return false;
}

// Whether a token spells a number: a sign, then digits or '.' and a digit.
bool StartsNumber(std::string_view t) {
  std::size_t i = t.size() > 0 && (t[0] == '+' || t[0] == '-') ? 1 : 0;
  if (i < t.size() && t[i] == '.') ++i;
  return i < t.size() && t[i] >= '0' && t[i] <= '9';
}

// "nan", "inf", "-Infinity": a value the reader takes as 0 but that no
// measurement means as 0.
bool SpellsNonFinite(std::string_view t) {
  if (!t.empty() && (t[0] == '+' || t[0] == '-')) t.remove_prefix(1);
  if (t.size() < 3) return false;
  std::string head;
  for (std::size_t i = 0; i < 3; ++i) head += static_cast<char>(t[i] | 0x20);
  return head == "nan" || head == "inf";
}

// Why a line of two tokens gave no point, counted in `leftOut`.
void CountLeftOut(std::string_view xt, std::string_view yt, double x, double y,
                  LeftOutLines& leftOut) {
  if (SpellsNonFinite(xt) || SpellsNonFinite(yt) || !std::isfinite(x) || !std::isfinite(y)) {
    ++leftOut.notFinite;
  } else if (StartsNumber(xt) && StartsNumber(yt)) {
    ++leftOut.notPositive;
  }
}

bool ColumnsInRange(const SeriesEntry& s) {
  return s.XColumn >= 0 && s.XColumn < kMaxColumns && s.YColumn >= 0 && s.YColumn < kMaxColumns;
}

// Whether a line gives a point that can be placed on the graph's axes; a line
// left out for its values is counted in `leftOut`.
bool PointOf(const GraphView& g, const SeriesEntry& s, std::string_view line, double& x, double& y,
             LeftOutLines* leftOut) {
  if (!line.empty() && g.CommentChars.find(line[0]) != std::string::npos) return false;
  std::string_view xt, yt;
  // A line that does not supply both columns adds no point.
  if (!Token(line, s.XColumn, xt) || !Token(line, s.YColumn, yt)) return false;
  x = ParseLeadingDouble(xt);
  y = ParseLeadingDouble(yt);
  const bool logX = g.X.Type == AxisScale::Log;
  const bool logY = g.Y.Type == AxisScale::Log;
  // Non-finite values can never be placed on an axis.
  if (!std::isfinite(x) || !std::isfinite(y) || (logX && !(x > 0)) || (logY && !(y > 0))) {
    if (leftOut) CountLeftOut(xt, yt, x, y, *leftOut);
    return false;
  }
  return true;
}

// Applies the line rules to the file, read once from start to end; calls
// accept(x, y) for every accepted point.
template <class Accept>
SeriesRead ForEachPoint(const GraphView& g, const SeriesEntry& s, Accept accept,
                        LeftOutLines* leftOut = nullptr) {
  LineReader reader(s.Path);
  if (!reader.Open()) return SeriesRead::Unreadable;
  if (!ColumnsInRange(s)) return SeriesRead::Ok;
  std::size_t lines = 0, points = 0;
  std::string_view line;
  for (;;) {
    const LineReader::Next next = reader.Read(line, kMaxSeriesLineBytes);
    if (next == LineReader::Next::End) break;
    if (next == LineReader::Next::Failed) return SeriesRead::Unreadable;
    if (next == LineReader::Next::TooLong || ++lines > kMaxSeriesLines) return SeriesRead::TooLarge;
    double x, y;
    if (!PointOf(g, s, line, x, y, leftOut)) continue;
    if (++points > kMaxSeriesPoints) return SeriesRead::TooLarge;
    accept(x, y);
  }
  return SeriesRead::Ok;
}

}  // namespace

SeriesRead ScanSeries(GraphView& g, SeriesEntry& s) {
  auto points = std::make_shared<SeriesPoints>();
  points->path = s.Path;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  const SeriesRead read = ForEachPoint(g, s, [&](double x, double y) {
    if (points->x.empty()) {
      xmin = xmax = x;
      ymin = ymax = y;
    } else {
      if (x < xmin) xmin = x;
      if (x > xmax) xmax = x;
      if (y < ymin) ymin = y;
      if (y > ymax) ymax = y;
    }
    points->x.push_back(x);
    points->y.push_back(y);
  });
  if (read != SeriesRead::Ok) {
    s.Points.reset();
    return read;
  }
  s.PointCount = static_cast<int>(points->x.size());
  if (s.PointCount > 0) {
    s.SeriesXMin = xmin;
    s.SeriesXMax = xmax;
    s.SeriesYMin = ymin;
    s.SeriesYMax = ymax;
    // A file without points must not drag 0 into a logarithmic range.
    MergeSeriesRange(g, s);
  }
  s.Points = std::move(points);
  return SeriesRead::Ok;
}

bool ScanSeriesFile(GraphView& g, SeriesEntry& s) { return ScanSeries(g, s) == SeriesRead::Ok; }

bool ReadSeriesFile(const GraphView& g, const SeriesEntry& s, std::vector<double>* x,
                    std::vector<double>* y, LeftOutLines* leftOut) {
  if (x) x->clear();
  if (y) y->clear();
  if (leftOut) *leftOut = {};
  if (!leftOut && s.Points && s.Points->path == s.Path) {
    if (x) *x = s.Points->x;
    if (y) *y = s.Points->y;
    return true;
  }
  return ForEachPoint(
             g, s,
             [&](double px, double py) {
               if (x) x->push_back(px);
               if (y) y->push_back(py);
             },
             leftOut) == SeriesRead::Ok;
}

void DropScannedPoints(SeriesList& list) {
  for (SeriesEntry& s : list.items) s.Points.reset();
}

}  // namespace zx
