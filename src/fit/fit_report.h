// The text lines of a fit or quality report, tab-separated, one record per
// line: "param" lines (fits only), one "cond" line per condition, "total".
#pragma once

#include <string>
#include <vector>

#include "fit/fit_quality.h"
#include "fit/fit_types.h"

namespace zx {

// fit == nullptr: a quality report of the current parameters.
std::vector<std::string> FitReportLines(const FitOutcome* fit, const FitQuality& quality);

// "converged" or "stopped: <reason>".
std::string FitStopText(const FitOutcome& fit);

}  // namespace zx
