// Measured V-I rows to an E-J curve: units, geometry, a linear background
// fitted at low current, the sign of the transition and a noise floor.
#pragma once

#include <optional>
#include <vector>

#include "import/error.h"
#include "import/kept_points.h"
#include "import/units.h"

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
  // Noise floor in V/m, given: every point above it is written. None: the
  // floor is 3 standard deviations of the corrected points of the background
  // region, and only the transition is written (see ViImport::cutCurrent).
  std::optional<double> minField;
};

// The fewest points a background line is fitted to.
inline constexpr int kMinBackgroundPoints = 5;

struct ViImport : KeptPoints {
  ImportError error = ImportError::None;
  // Every row in A and V, in file order.
  std::vector<double> current, voltage;
  // The rows with I > 0 and finite values in file order: J, corrected E,
  // whether the point is written, and its row.
  std::vector<double> j, e;
  std::vector<std::size_t> rows;
  // Background V = offset + slope * I (V, V/A) over backgroundPoints points
  // with I below backgroundLimit (A).
  double offset = 0.0, slope = 0.0;
  double backgroundLimit = 0.0;
  int backgroundPoints = 0;
  bool flipped = false;  // the corrected voltage was negative and was turned
  // The points at the highest currents barely leave the noise, so the sign
  // is a guess; or the sum over the upper range points the other way.
  bool signDoubtful = false;
  bool signDisagrees = false;
  // The fitted region's highest point lies well above the line: the
  // transition probably starts inside it (a smaller fraction helps).
  bool backgroundRises = false;
  double minField = 0.0;
  // The default cut: the lowest current (A) of the written run, and the
  // points above the floor it leaves out (a foot, a plateau, spikes).
  double cutCurrent = 0.0;
  int aboveFloorLeftOut = 0;
  // Of those, the slow nearly linear rise below the power law.
  int preRiseLeftOut = 0;
  // Rows whose values are not finite numbers once converted.
  int nonFinite = 0;
  // droppedCount: rows with I <= 0, non-finite rows and points not written.
};

// current and voltage in the settings' units, row by row.
ViImport ConvertViToEj(const std::vector<double>& current, const std::vector<double>& voltage,
                       const ViImportSettings& settings);

}  // namespace zx
