// The data file an import writes: comment lines that record where the
// points came from and how they were converted, then one "x y" line per
// kept point (CP932, CR LF, "%le" numbers).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "import/icb_to_jcb.h"
#include "import/vi_to_ej.h"

namespace zx {

enum class ImportKind { ViToEj, IcbToJcb };

// The temperature column over the written points.
struct TemperatureStats {
  int column = -1;
  int points = 0;       // written points with a number in the column
  double mean = 0.0;    // K
  double spread = 0.0;  // standard deviation, K
};
// A spread above this is worth a warning: the points were not taken at one
// temperature.
inline constexpr double kTemperatureSpreadWarning = 0.5;

struct ImportSource {
  std::string path;  // the measured file
  int xColumn = 0, yColumn = 1;
  std::string xName, yName;  // UTF-8; empty when the table has no names
  std::int64_t skippedLines = 0;
  bool truncated = false;  // the row cap stopped the reading
  // The temperature column, when one was chosen, and what it gave.
  int temperatureColumn = -1;
  std::string temperatureName;
  std::optional<TemperatureStats> temperature;
};

std::string ViImportFileBytes(const ImportSource& src, const ViImportSettings& st,
                              const ViImport& r);
std::string IcbImportFileBytes(const ImportSource& src, const IcbImportSettings& st,
                               const IcbImport& r);

// Next to the source: its name without extension + "_EJ.dat" / "_JcB.dat".
std::string DefaultImportOutputPath(const std::string& source, ImportKind kind);

}  // namespace zx
