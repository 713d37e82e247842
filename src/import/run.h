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
  // written points.
  std::optional<int> temperatureColumn;
};

struct ImportOutcome {
  ImportError error = ImportError::None;
  ImportSource source;
  ViImport vi;
  IcbImport icb;
  std::optional<TemperatureStats> temperature;
  ImportRequest used;  // the request with the columns and units taken
  std::string bytes;   // the data file, when there is no error
};

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
