// Measured V-I rows to an E-J curve: units, geometry, a linear background
// fitted at low current, the sign of the transition and a noise floor.
#pragma once

#include <optional>
#include <vector>

#include "calc/import_error.h"
#include "calc/import_points.h"
#include "calc/import_units.h"

namespace zx {

struct ViImportSettings {
  double tapLength = 0.0;  // m, between the voltage taps
  double width = 0.0;      // m
  double thickness = 0.0;  // m
  CurrentUnit currentUnit = CurrentUnit::A;
  VoltageUnit voltageUnit = VoltageUnit::V;
  // The background is fitted over the points below this part of the
  // largest current; 0 fits none.
  double backgroundFraction = 0.5;
  // Noise floor in V/m; none: 3 standard deviations of the corrected points
  // of the background region.
  std::optional<double> minField;
};

struct ViImport : KeptPoints {
  ImportError error = ImportError::None;
  // Every row in A and V, in file order.
  std::vector<double> current, voltage;
  // The rows with I > 0 in file order: J, corrected E and whether the point
  // is written.
  std::vector<double> j, e;
  // Background V = offset + slope * I (V, V/A) over backgroundPoints points
  // with I below backgroundLimit (A).
  double offset = 0.0, slope = 0.0;
  double backgroundLimit = 0.0;
  int backgroundPoints = 0;
  bool flipped = false;  // the corrected voltage was negative and was turned
  // The fitted region's highest point lies well above the line: the
  // transition probably starts inside it (a smaller fraction helps).
  bool backgroundRises = false;
  double minField = 0.0;
  // droppedCount: rows with I <= 0 and points below the floor.
};

// current and voltage in the settings' units, row by row.
ViImport ConvertViToEj(const std::vector<double>& current, const std::vector<double>& voltage,
                       const ViImportSettings& settings);

}  // namespace zx
