// Numbers in the design files' JSON: NaN and infinities are written as null
// and read back as NaN; a range is a pair [low, high].
#pragma once

#include <cmath>
#include <nlohmann/json.hpp>

namespace zx {

using Json = nlohmann::ordered_json;

inline Json Num(double v) { return std::isfinite(v) ? Json(v) : Json(nullptr); }
inline double NumOf(const Json& j) { return j.is_number() ? j.get<double>() : NAN; }
inline Json Span(double lo, double hi) { return Json::array({Num(lo), Num(hi)}); }

}  // namespace zx
