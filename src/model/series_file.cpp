#include "model/series_file.h"

#include <cmath>
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

// Applies the line rules; calls accept(x, y) for every accepted point.
template <class Accept>
bool ForEachPoint(const GraphView& g, const SeriesEntry& s, Accept accept) {
  std::string bytes;
  if (!ReadWholeFile(s.Path, bytes)) return false;
  if (s.XColumn < 0 || s.XColumn >= kMaxColumns || s.YColumn < 0 || s.YColumn >= kMaxColumns)
    return true;
  const bool logX = g.XType == "Log";
  const bool logY = g.YType == "Log";
  for (const std::string& line : SplitLines(bytes)) {
    if (!line.empty() && g.CommentChars.find(line[0]) != std::string::npos) continue;
    std::string_view xt, yt;
    // A line that does not supply both columns adds no point.
    if (!Token(line, s.XColumn, xt) || !Token(line, s.YColumn, yt)) continue;
    double x = ParseLeadingDouble(xt);
    double y = ParseLeadingDouble(yt);
    // Non-finite values can never be placed on an axis.
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (logX && !(x > 0)) continue;
    if (logY && !(y > 0)) continue;
    accept(x, y);
  }
  return true;
}

}  // namespace

bool ScanSeriesFile(GraphView& g, SeriesEntry& s) {
  int count = 0;
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  bool ok = ForEachPoint(g, s, [&](double x, double y) {
    if (count == 0) {
      xmin = xmax = x;
      ymin = ymax = y;
    } else {
      if (x < xmin) xmin = x;
      if (x > xmax) xmax = x;
      if (y < ymin) ymin = y;
      if (y > ymax) ymax = y;
    }
    ++count;
  });
  if (!ok) return false;
  s.PointCount = count;
  if (count > 0) {
    s.SeriesXMin = xmin;
    s.SeriesXMax = xmax;
    s.SeriesYMin = ymin;
    s.SeriesYMax = ymax;
    // A file without points must not drag 0 into a logarithmic range.
    MergeSeriesRange(g, s);
  }
  return true;
}

bool ReadSeriesFile(const GraphView& g, const SeriesEntry& s, std::vector<double>* x,
                    std::vector<double>* y) {
  if (x) x->clear();
  if (y) y->clear();
  return ForEachPoint(g, s, [&](double px, double py) {
    if (x) x->push_back(px);
    if (y) y->push_back(py);
  });
}

}  // namespace zx
