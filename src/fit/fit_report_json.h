// The lines of a fit or quality report (fit_report.h) as one JSON object,
// so that a notebook reads them without parsing text: "param", "corr",
// "minimum", "order", "warn", "cond" arrays and a "total" object, each
// record with the fields of its line named.
#pragma once

#include <string>
#include <vector>

namespace zx {

std::string FitReportJson(const std::vector<std::string>& lines);

}  // namespace zx
