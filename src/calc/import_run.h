// One import from a measured file to the bytes of its data file: the
// layout, the columns, the rows and the conversion. Nothing is written.
#pragma once

#include <optional>
#include <string>

#include "calc/import_file.h"
#include "model/measured_table.h"

namespace zx {

struct ImportRequest {
  ImportKind kind = ImportKind::ViToEj;
  std::string source;
  // 0-based; none: the first two numeric columns of the table.
  std::optional<int> xColumn, yColumn;
  ViImportSettings vi;
  IcbImportSettings icb;
};

struct ImportOutcome {
  ImportError error = ImportError::None;
  ImportSource source;
  ViImport vi;
  IcbImport icb;
  std::string bytes;  // the data file, when there is no error
};

// The columns to read: the given ones checked against the table's fields,
// or the first two numeric ones.
ImportError ChooseColumns(const TableLayout& layout, std::optional<int> x, std::optional<int> y,
                          int& xColumn, int& yColumn);
// Converts rows already read from the request's source.
ImportOutcome ConvertRows(const ImportRequest& request, const TableLayout& layout,
                          const ColumnPair& rows, int xColumn, int yColumn);
// Reads the source and converts it.
ImportOutcome RunImport(const ImportRequest& request);

}  // namespace zx
