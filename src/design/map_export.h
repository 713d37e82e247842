// Design data as files: the map as CSV, as a spreadsheet interpolation
// file for FEM tools, and as JSON; an operating point as lines and as JSON.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "design/design_point.h"

namespace zx {

enum class MapFormat { Csv, Comsol, Json };

// "csv", "comsol", "json"; nullopt for anything else.
std::optional<MapFormat> MapFormatOf(const std::string& name);

// Where the model has no value: CSV leaves the fields empty, the COMSOL
// file writes NaN, JSON null. Bands without a covariance are likewise empty.
std::string MapText(const DesignMap& map, const DesignBasis& basis, MapFormat format);

// An operating point: the map's point plus what a conductor carries.
struct OperatingPoint {
  DesignPoint point;
  double eC = NAN;
  double width = NAN, thickness = NAN;            // m
  double ic = NAN, icLower = NAN, icUpper = NAN;  // A, Jc x width x thickness
  double iTenth = NAN;                            // A: the current at which E reaches eC / 10
  double current = NAN;                           // the current asked about, A (NaN: none)
  double eAtCurrent = NAN;                        // V/m
};

OperatingPoint EvaluateOperatingPoint(const DesignBasis& basis, double T, double B, double eC,
                                      double current);

// Tab-separated lines: point, jc, n, ic, i_tenth, [e], [warn].
std::vector<std::string> OperatingPointLines(const OperatingPoint& op, const DesignBasis& basis);
std::string OperatingPointJson(const OperatingPoint& op, const DesignBasis& basis);

// "T 20..30 K, B 1..1 T, E 1e-06..0.01 V/m" for a warning line.
std::string RangeText(const DataRange& range);

}  // namespace zx
