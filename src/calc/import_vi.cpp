#include "calc/import_vi.h"

#include <algorithm>
#include <cmath>

namespace zx {

namespace {

struct Line {
  double offset = 0.0, slope = 0.0;
};

// Least squares over the points; a single abscissa gives a level line.
Line FitLine(const std::vector<double>& x, const std::vector<double>& y) {
  const std::size_t n = x.size();
  Line l;
  if (n == 0) return l;
  double mx = 0, my = 0;
  for (std::size_t i = 0; i < n; ++i) mx += x[i], my += y[i];
  mx /= static_cast<double>(n);
  my /= static_cast<double>(n);
  double sxx = 0, sxy = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sxx += (x[i] - mx) * (x[i] - mx);
    sxy += (x[i] - mx) * (y[i] - my);
  }
  l.slope = sxx > 0 ? sxy / sxx : 0.0;
  l.offset = my - l.slope * mx;
  return l;
}

// Population standard deviation.
double StdDev(const std::vector<double>& v) {
  if (v.empty()) return 0.0;
  double m = 0;
  for (double x : v) m += x;
  m /= static_cast<double>(v.size());
  double s = 0;
  for (double x : v) s += (x - m) * (x - m);
  return std::sqrt(s / static_cast<double>(v.size()));
}

}  // namespace

ViImport ConvertViToEj(const std::vector<double>& current, const std::vector<double>& voltage,
                       const ViImportSettings& st) {
  ViImport r;
  const double f = st.backgroundFraction;
  if (!PositiveLength(st.tapLength))
    r.error = ImportError::TapLength;
  else if (const ImportError section = CheckSection(st.width, st.thickness);
           section != ImportError::None)
    r.error = section;
  else if (!(f >= 0.0 && f <= 1.0))
    r.error = ImportError::BackgroundFraction;
  else if (st.minField && !(std::isfinite(*st.minField) && *st.minField >= 0.0))
    r.error = ImportError::MinField;
  const std::size_t rows = std::min(current.size(), voltage.size());
  if (r.error == ImportError::None && rows == 0) r.error = ImportError::NoRows;
  if (r.error != ImportError::None) return r;

  const double ci = UnitFactor(st.currentUnit);
  const double cv = UnitFactor(st.voltageUnit);
  r.current.reserve(rows);
  r.voltage.reserve(rows);
  std::vector<double> is, vs;  // rows with I > 0
  for (std::size_t k = 0; k < rows; ++k) {
    r.current.push_back(current[k] * ci);
    r.voltage.push_back(voltage[k] * cv);
    // A reverse sweep (I <= 0) is never mixed into the forward curve.
    if (r.current.back() > 0.0) {
      is.push_back(r.current.back());
      vs.push_back(r.voltage.back());
    }
  }
  r.droppedCount = static_cast<int>(rows - is.size());

  const double imax = is.empty() ? 0.0 : *std::max_element(is.begin(), is.end());
  r.backgroundLimit = f * imax;
  std::vector<double> bi, bv;
  for (std::size_t k = 0; k < is.size(); ++k)
    if (is[k] < r.backgroundLimit) bi.push_back(is[k]), bv.push_back(vs[k]);
  r.backgroundPoints = static_cast<int>(bi.size());
  const Line bg = FitLine(bi, bv);
  r.offset = bg.offset;
  r.slope = bg.slope;

  std::vector<double> corrected(is.size());
  for (std::size_t k = 0; k < is.size(); ++k) corrected[k] = vs[k] - (r.offset + r.slope * is[k]);
  std::vector<double> residuals;
  double above = 0.0, all = 0.0;
  bool anyAbove = false;
  for (std::size_t k = 0; k < is.size(); ++k) {
    all += corrected[k];
    if (is[k] < r.backgroundLimit) {
      residuals.push_back(corrected[k]);
    } else {
      above += corrected[k];
      anyAbove = true;
    }
  }
  // Taps wired the other way round give a negative transition.
  r.flipped = (anyAbove ? above : all) < 0.0;
  const double sign = r.flipped ? -1.0 : 1.0;

  const double noise = StdDev(residuals);
  r.minField = st.minField ? *st.minField : 3.0 * noise / st.tapLength;
  // The transition reaching into the fitted region tilts the line: its top
  // point then stands out of the noise in the transition's direction.
  std::size_t top = is.size();
  for (std::size_t k = 0; k < is.size(); ++k)
    if (is[k] < r.backgroundLimit && (top == is.size() || is[k] > is[top])) top = k;
  double scale = 0.0;  // rounding alone must not count as a rise
  for (double v : bv) scale = std::max(scale, std::fabs(v));
  r.backgroundRises = top < is.size() && residuals.size() >= 3 &&
                      sign * corrected[top] > std::max(3.0 * noise, 1e-9 * scale);
  const double area = st.width * st.thickness;
  r.j.reserve(is.size());
  r.e.reserve(is.size());
  r.kept.reserve(is.size());
  for (std::size_t k = 0; k < is.size(); ++k) {
    const double e = sign * corrected[k] / st.tapLength;
    r.j.push_back(is[k] / area);
    r.e.push_back(e);
    r.Add(e > 0.0 && e >= r.minField);
  }
  if (r.keptCount == 0) r.error = ImportError::NothingKept;
  return r;
}

}  // namespace zx
