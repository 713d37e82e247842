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

}  // namespace zx
