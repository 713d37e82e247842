#include "import/vi_to_ej.h"

#include <algorithm>
#include <cmath>

#include "import/pre_rise.h"
#include "numeric/median.h"
#include "numeric/regression.h"

namespace zx {

namespace {

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

// The sign of the transition: it is where |corrected V| grows fastest with
// I, so the level of the points at the highest currents decides; when that
// level stays within the noise, the direction the top points move in.
struct SignChoice {
  double sign = 1.0;
  bool doubtful = false;
};
SignChoice ChooseSign(const std::vector<double>& is, const std::vector<double>& corrected,
                      const std::vector<std::size_t>& down, double noise) {
  SignChoice c;
  const std::size_t n = down.size();
  if (n == 0) return c;
  const std::size_t top = std::min(n, std::max<std::size_t>(3, n / 20));
  std::vector<double> level;
  for (std::size_t k = 0; k < top; ++k) level.push_back(corrected[down[k]]);
  const double m = Median(level, EvenMedian::Upper);
  if (std::fabs(m) > 3.0 * noise && m != 0.0) {
    c.sign = m < 0 ? -1.0 : 1.0;
    return c;
  }
  c.doubtful = true;
  const std::size_t wide = std::min(n, std::max<std::size_t>(5, n / 5));
  std::vector<double> x, y;
  for (std::size_t k = 0; k < wide; ++k) x.push_back(is[down[k]]), y.push_back(corrected[down[k]]);
  const double slope = FitLine(x.data(), y.data(), x.size()).slope;
  if (slope != 0.0)
    c.sign = slope < 0 ? -1.0 : 1.0;
  else if (m != 0.0)
    c.sign = m < 0 ? -1.0 : 1.0;
  return c;
}

// From the highest current down (`down`: points by falling current), the
// points while E stays above the floor; non-finite E skipped.
void RunAboveFloor(const std::vector<double>& e, const std::vector<std::size_t>& down, double floor,
                   std::vector<std::size_t>& run) {
  run.clear();
  for (std::size_t k : down) {
    if (!std::isfinite(e[k])) continue;
    if (!(e[k] > 0.0 && e[k] >= floor)) break;
    run.push_back(k);
  }
}

// ln E with a running median of five, which takes single noisy points out
// of the slope; a short run is taken as it is.
std::vector<double> SmoothedLogField(const std::vector<double>& le) {
  const std::size_t n = le.size();
  if (n < 10) return le;
  std::vector<double> smooth(n);
  for (std::size_t k = 0; k < n; ++k) {
    const std::size_t lo = k >= 2 ? k - 2 : 0, hi = std::min(n, k + 3);
    smooth[k] = Median(std::vector<double>(le.begin() + static_cast<std::ptrdiff_t>(lo),
                                           le.begin() + static_cast<std::ptrdiff_t>(hi)),
                       EvenMedian::Upper);
  }
  return smooth;
}

// The curve is flat from above down to k. Points within twice the flat
// level carry more of the foot than of the transition: the run is cut
// above them, keeping at least one point.
std::size_t CutAboveFoot(const std::vector<double>& smooth, std::size_t k) {
  constexpr double kLn2 = 0.6931471805599453;
  std::size_t cut = 0;
  while (cut < k && smooth[cut] - smooth[k] >= kLn2) ++cut;
  return std::max<std::size_t>(cut, 1);
}

// The length of the rising part of a run, in ln J and smoothed ln E by
// falling current: over a tenth in J a real transition gains more than in
// proportion (n near 1 or more); a drift plateau or a flat foot does not.
std::size_t RisingLength(const std::vector<double>& lj, const std::vector<double>& smooth) {
  constexpr double kSpan = 0.09531017980432493;  // ln 1.1
  // A little below 1, so that noise on an ohmic stretch does not end it.
  constexpr double kMinExponent = 0.8;
  const std::size_t n = lj.size();
  std::size_t u = 0;
  for (std::size_t k = 1; k < n; ++k) {
    // The nearest point above k that lies a tenth higher in J.
    while (u + 1 < k && lj[u + 1] - lj[k] >= kSpan) ++u;
    if (lj[u] - lj[k] < kSpan) continue;
    const double exponent = (smooth[u] - smooth[k]) / (lj[u] - lj[k]);
    if (exponent < kMinExponent) return CutAboveFoot(smooth, k);
  }
  return n;
}

// The written run, by position in `down` (points by falling current): from
// the highest current down while E stays above the floor, ended where the
// curve stops rising.
std::size_t TransitionRun(const std::vector<double>& j, const std::vector<double>& e,
                          const std::vector<std::size_t>& down, double floor,
                          std::vector<std::size_t>& run) {
  RunAboveFloor(e, down, floor, run);
  const std::size_t n = run.size();
  if (n < 3) return n;
  std::vector<double> lj(n), le(n);
  for (std::size_t k = 0; k < n; ++k) lj[k] = std::log(j[run[k]]), le[k] = std::log(e[run[k]]);
  return RisingLength(lj, SmoothedLogField(le));
}

// The first setting that makes the conversion impossible, or None.
ImportError CheckViSettings(const ViImportSettings& st, std::size_t rows) {
  const double f = st.backgroundFraction;
  if (!PositiveLength(st.tapLength)) return ImportError::TapLength;
  if (const ImportError section = CheckSection(st.width, st.thickness);
      section != ImportError::None)
    return section;
  if (!(f >= 0.0 && f <= 1.0)) return ImportError::BackgroundFraction;
  if (st.minField && !(std::isfinite(*st.minField) && *st.minField >= 0.0))
    return ImportError::MinField;
  if (rows == 0) return ImportError::NoRows;
  return ImportError::None;
}

// The rows with I > 0, in amperes and volts.
struct ForwardRows {
  std::vector<double> is, vs;
};

// Every row in amperes and volts into r; the forward ones returned.
ForwardRows ScaleRows(const std::vector<double>& current, const std::vector<double>& voltage,
                      const ViImportSettings& st, std::size_t rows, ViImport& r) {
  const double ci = UnitFactor(st.currentUnit);
  const double cv = UnitFactor(st.voltageUnit);
  const double area = st.width * st.thickness;
  r.current.reserve(rows);
  r.voltage.reserve(rows);
  ForwardRows fw;
  for (std::size_t k = 0; k < rows; ++k) {
    const double amps = current[k] * ci, volts = voltage[k] * cv;
    r.current.push_back(amps);
    r.voltage.push_back(volts);
    // A point whose J or E overflows would be written as "inf".
    if (!std::isfinite(amps / area) || !std::isfinite(volts / st.tapLength)) {
      ++r.nonFinite;
      continue;
    }
    // A reverse sweep (I <= 0) is never mixed into the forward curve.
    if (amps > 0.0) {
      fw.is.push_back(amps);
      fw.vs.push_back(volts);
      r.rows.push_back(k);
    }
  }
  r.droppedCount = static_cast<int>(rows - fw.is.size());
  return fw;
}

// The background line through the points below the limit into r; false,
// with the error in r, when there are too few of them. bv gets their
// voltages.
bool FitBackground(const ForwardRows& fw, double fraction, ViImport& r, std::vector<double>& bv) {
  const double imax = fw.is.empty() ? 0.0 : *std::max_element(fw.is.begin(), fw.is.end());
  r.backgroundLimit = fraction * imax;
  std::vector<double> bi;
  for (std::size_t k = 0; k < fw.is.size(); ++k)
    if (fw.is[k] < r.backgroundLimit) bi.push_back(fw.is[k]), bv.push_back(fw.vs[k]);
  r.backgroundPoints = static_cast<int>(bi.size());
  // A line through a handful of points (a time column taken for the
  // current, a sweep that starts high) is no background.
  if (fraction > 0.0 && r.backgroundPoints < kMinBackgroundPoints) {
    r.error = fw.is.empty() ? ImportError::NothingKept : ImportError::FewBackgroundPoints;
    return false;
  }
  const LineFit bg = FitLine(bi.data(), bv.data(), bi.size());
  r.offset = bg.offset;
  r.slope = bg.slope;
  return true;
}

// The voltages less the background, and what the sign is judged on.
struct Corrected {
  std::vector<double> v;          // by forward row
  std::vector<double> residuals;  // of the background points
  double noise = 0.0;             // their standard deviation
  double sum = 0.0;               // over the upper range, or over all points when it is empty
};

Corrected CorrectBackground(const ForwardRows& fw, const ViImport& r) {
  Corrected c;
  c.v.resize(fw.is.size());
  for (std::size_t k = 0; k < fw.is.size(); ++k)
    c.v[k] = fw.vs[k] - (r.offset + r.slope * fw.is[k]);
  double above = 0.0, all = 0.0;
  bool anyAbove = false;
  for (std::size_t k = 0; k < fw.is.size(); ++k) {
    all += c.v[k];
    if (fw.is[k] < r.backgroundLimit) {
      c.residuals.push_back(c.v[k]);
    } else {
      above += c.v[k];
      anyAbove = true;
    }
  }
  c.noise = StdDev(c.residuals);
  c.sum = anyAbove ? above : all;
  return c;
}

// Positions of the points by falling current.
std::vector<std::size_t> ByFallingCurrent(const std::vector<double>& is) {
  std::vector<std::size_t> down(is.size());
  for (std::size_t k = 0; k < down.size(); ++k) down[k] = k;
  std::stable_sort(down.begin(), down.end(),
                   [&](std::size_t a, std::size_t b) { return is[a] > is[b]; });
  return down;
}

// The transition reaching into the fitted region tilts the line: its top
// point then stands out of the noise in the transition's direction.
bool BackgroundRises(const std::vector<double>& is, const Corrected& c,
                     const std::vector<double>& bv, double limit, double sign) {
  std::size_t top = is.size();
  for (std::size_t k = 0; k < is.size(); ++k)
    if (is[k] < limit && (top == is.size() || is[k] > is[top])) top = k;
  double scale = 0.0;  // rounding alone must not count as a rise
  for (double v : bv) scale = std::max(scale, std::fabs(v));
  return top < is.size() && c.residuals.size() >= 3 &&
         sign * c.v[top] > std::max(3.0 * c.noise, 1e-9 * scale);
}

// The points written: above the given floor, or the transition's run.
std::vector<char> KeepFlags(const ViImportSettings& st, const std::vector<std::size_t>& down,
                            ViImport& r) {
  const std::size_t count = r.e.size();
  std::vector<char> keep(count, 0);
  if (st.minField) {
    for (std::size_t k = 0; k < count; ++k)
      keep[k] = std::isfinite(r.e[k]) && r.e[k] > 0.0 && r.e[k] >= r.minField;
    return keep;
  }
  std::vector<std::size_t> run;
  run.resize(TransitionRun(r.j, r.e, down, r.minField, run));
  // The floor is three standard deviations of the noise.
  const std::size_t kept = PowerLawPart(r.j, r.e, run, r.minField / 3.0);
  r.preRiseLeftOut = static_cast<int>(run.size() - kept);
  for (std::size_t k = 0; k < kept; ++k) keep[run[k]] = 1;
  for (std::size_t k = 0; k < count; ++k)
    if (!keep[k] && std::isfinite(r.e[k]) && r.e[k] > 0.0 && r.e[k] >= r.minField)
      ++r.aboveFloorLeftOut;
  return keep;
}

}  // namespace

ViImport ConvertViToEj(const std::vector<double>& current, const std::vector<double>& voltage,
                       const ViImportSettings& st) {
  ViImport r;
  const std::size_t rows = std::min(current.size(), voltage.size());
  r.error = CheckViSettings(st, rows);
  if (r.error != ImportError::None) return r;

  const ForwardRows fw = ScaleRows(current, voltage, st, rows, r);
  const std::vector<double>& is = fw.is;
  std::vector<double> bv;
  if (!FitBackground(fw, st.backgroundFraction, r, bv)) return r;
  const Corrected corrected = CorrectBackground(fw, r);
  const std::vector<std::size_t> down = ByFallingCurrent(is);
  // Taps wired the other way round give a negative transition.
  const SignChoice choice = ChooseSign(is, corrected.v, down, corrected.noise);
  const double sign = choice.sign;
  r.flipped = sign < 0;
  r.signDoubtful = choice.doubtful;
  // The sum over the upper range is what a dipping background misleads.
  r.signDisagrees = corrected.sum != 0.0 && (corrected.sum < 0.0) != r.flipped;

  r.minField = st.minField ? *st.minField : 3.0 * corrected.noise / st.tapLength;
  r.backgroundRises = BackgroundRises(is, corrected, bv, r.backgroundLimit, sign);
  const double area = st.width * st.thickness;
  r.j.reserve(is.size());
  r.e.reserve(is.size());
  for (std::size_t k = 0; k < is.size(); ++k) {
    r.j.push_back(is[k] / area);
    r.e.push_back(sign * corrected.v[k] / st.tapLength);
  }
  const std::vector<char> keep = KeepFlags(st, down, r);
  r.kept.reserve(is.size());
  for (std::size_t k = 0; k < is.size(); ++k) {
    r.Add(keep[k] != 0);
    if (keep[k] && (r.cutCurrent == 0.0 || is[k] < r.cutCurrent)) r.cutCurrent = is[k];
  }
  if (r.keptCount == 0) r.error = ImportError::NothingKept;
  return r;
}

}  // namespace zx
