// The text lines of a fit or quality report, tab-separated, one record per
// line: "param" lines, then "corr", "minimum", "order" (fits only) and
// "warn" lines, one "cond" line per condition, "total". The merit (the
// figure the fit minimises) ends the "minimum" and "total" lines.
#pragma once

#include <string>
#include <vector>

#include "fit/fit_quality.h"
#include "fit/fit_types.h"

namespace zx {

// fit == nullptr: a quality report; its param lines show `current` (the
// values the quality was evaluated at) with nan errors, when given.
std::vector<std::string> FitReportLines(const FitOutcome* fit, const FitQuality& quality,
                                        const FitValues* current = nullptr);

// "converged" or "stopped: <reason>", on one line.
std::string FitStopText(const FitOutcome& fit);

// The detail of a "warn" line: names or condition numbers with counts.
std::string FitWarningDetail(const FitWarning& w);

// Text with every control character (line breaks, tabs) replaced by a
// blank, so that it stays inside one record.
std::string OneLine(const std::string& text);

}  // namespace zx
