// One import from a measured file to the bytes of its data file: the
// layout, the columns, the rows and the conversion. Nothing is written.
#pragma once

#include <optional>
#include <string>

#include "import/data_file.h"
#include "import/measured_table.h"

namespace zx {

struct ImportRequest {
  ImportKind kind = ImportKind::ViToEj;
  std::string source;
  // 0-based; none: the first two numeric columns of the table.
  std::optional<int> xColumn, yColumn;
  ViImportSettings vi;
  IcbImportSettings icb;
  // False: the unit a column's name or units line states is taken, else
  // the one of the settings.
  bool currentUnitGiven = true, voltageUnitGiven = true;
  // 0-based column of the sample temperature (K), averaged over the
  // written points; or the column of this name (the names line's, without
  // regard to case); or, with temperatureColumnByName, the one its name or
  // unit (K) points to, if any.
  std::optional<int> temperatureColumn;
  std::string temperatureColumnName;
  bool temperatureColumnByName = false;
};

// The E at the top of a sweep outside this range (V/m) is no transition of
// a conductor: the voltage unit is probably wrong.
inline constexpr double kMaxPlausibleField = 1.0, kMinPlausibleField = 1e-9;

struct ImportOutcome {
  ImportError error = ImportError::None;
  ImportSource source;
  ViImport vi;
  IcbImport icb;
  std::optional<TemperatureStats> temperature;
  ImportRequest used;  // the request with the columns and units taken
  std::string bytes;   // the data file, when there is no error
  // The temperature and field the header lines state.
  std::optional<double> headerTemperature, headerField;
  // V-I: the voltage unit was neither given nor found in the table (the
  // settings' one was taken); the highest and lowest E written (V/m) (a
  // lowest one above the criterion E_c leaves Jc unknown), and the unit
  // that would make it plausible when it is not.
  bool voltageUnitAssumed = false;
  double topField = 0.0, bottomField = 0.0;
  std::optional<VoltageUnit> likelyVoltageUnit;
};

// The voltage unit that brings E at the top of a sweep (V/m, converted
// with `used`) into the plausible range, nearest to 1e-4 V/m; none when E
// is plausible already or no unit helps.
std::optional<VoltageUnit> LikelyVoltageUnit(double topField, VoltageUnit used);

// The columns to read: the given ones checked against the table's fields,
// or those the names and units point to (else the first two numeric ones
// that are not times).
ImportError ChooseColumns(const TableLayout& layout, ImportKind kind, std::optional<int> x,
                          std::optional<int> y, int& xColumn, int& yColumn);
// The data file's points: comment lines aside, as many as a data file may hold.
int ImportedPointCount(const ImportOutcome& o);
// Converts rows already read from the request's source.
// rows.z holds the temperature column when the request names one.
ImportOutcome ConvertRows(const ImportRequest& request, const TableLayout& layout,
                          const ColumnPair& rows, int xColumn, int yColumn);
// Reads the source and converts it.
ImportOutcome RunImport(const ImportRequest& request);

}  // namespace zx
