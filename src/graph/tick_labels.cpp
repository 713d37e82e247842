// Which tick labels of an axis are drawn when they do not all fit.
#include <cmath>

#include "graph/axes.h"

namespace zx {

LabelSpan::Rank RankOfTick(double v, bool first, bool last) {
  if (first || last) return LabelSpan::Rank::End;
  if (v > 0) {
    const double e = std::round(std::log10(v));
    if (std::fabs(v - std::pow(10.0, e)) <= 1e-9 * v) return LabelSpan::Rank::Decade;
  }
  return LabelSpan::Rank::Other;
}

std::vector<bool> ThinLabels(const std::vector<LabelSpan>& spans, int gap) {
  std::vector<bool> keep(spans.size(), false);
  std::vector<const LabelSpan*> kept;
  const auto fits = [&](const LabelSpan& s) {
    for (const LabelSpan* k : kept)
      if (s.from < k->to + gap && k->from < s.to + gap) return false;
    return true;
  };
  for (LabelSpan::Rank rank :
       {LabelSpan::Rank::End, LabelSpan::Rank::Decade, LabelSpan::Rank::Other}) {
    for (std::size_t i = 0; i < spans.size(); ++i) {
      if (spans[i].rank != rank || !fits(spans[i])) continue;
      keep[i] = true;
      kept.push_back(&spans[i]);
    }
  }
  return keep;
}

std::vector<bool> EvenLabels(const std::vector<double>& values, double step,
                             const std::vector<LabelSpan>& spans, int gap) {
  const std::size_t n = std::min(values.size(), spans.size());
  // Counting ticks from zero needs a step and counts that stay whole numbers.
  for (std::size_t i = 0; i < n; ++i)
    if (!(step > 0) || !(std::fabs(values[i] / step) < 1e15)) return ThinLabels(spans, gap);
  // Strides 1, 2, 5, 10, 20, 50, ... counted from zero.
  constexpr long long kDigits[] = {1, 2, 5};
  long long decade = 1;
  for (std::size_t k = 0;; ++k) {
    if (k > 0 && k % 3 == 0) decade *= 10;
    const long long stride = kDigits[k % 3] * decade;
    if (stride > static_cast<long long>(n) + 1) break;
    std::vector<bool> keep(spans.size(), false);
    const LabelSpan* last = nullptr;
    bool fits = true;
    for (std::size_t i = 0; i < n && fits; ++i) {
      if (std::llround(values[i] / step) % stride != 0) continue;
      // Along the axis, so the previous label is the only neighbour.
      fits = !last || !(spans[i].from < last->to + gap && last->from < spans[i].to + gap);
      keep[i] = true;
      last = &spans[i];
    }
    if (fits) return keep;
  }
  return ThinLabels(spans, gap);
}

}  // namespace zx
