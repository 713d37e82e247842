#include "calc/import_run.h"

namespace zx {

ImportError ChooseColumns(const TableLayout& layout, std::optional<int> x, std::optional<int> y,
                          int& xColumn, int& yColumn) {
  if (!layout.opened) return ImportError::Unreadable;
  if (layout.fieldCount == 0) return ImportError::NoRows;
  const std::vector<int>& numeric = layout.numericColumns;
  if (!x && numeric.size() < 1) return ImportError::NoRows;
  xColumn = x ? *x : numeric[0];
  if (xColumn < 0 || xColumn >= layout.fieldCount) return ImportError::XColumn;
  if (!y) {
    // The first numeric column other than x.
    yColumn = -1;
    for (int c : numeric)
      if (c != xColumn) {
        yColumn = c;
        break;
      }
    if (yColumn < 0) return ImportError::NoRows;
  } else {
    yColumn = *y;
  }
  if (yColumn < 0 || yColumn >= layout.fieldCount) return ImportError::YColumn;
  return ImportError::None;
}

ImportOutcome ConvertRows(const ImportRequest& request, const TableLayout& layout,
                          const ColumnPair& rows, int xColumn, int yColumn) {
  ImportOutcome out;
  ImportSource& src = out.source;
  src.path = request.source;
  src.xColumn = xColumn;
  src.yColumn = yColumn;
  if (xColumn >= 0 && xColumn < static_cast<int>(layout.names.size()))
    src.xName = layout.names[static_cast<std::size_t>(xColumn)];
  if (yColumn >= 0 && yColumn < static_cast<int>(layout.names.size()))
    src.yName = layout.names[static_cast<std::size_t>(yColumn)];
  src.skippedLines = rows.skippedLines;
  src.truncated = rows.truncated;
  if (!rows.opened) {
    out.error = ImportError::Unreadable;
    return out;
  }
  if (request.kind == ImportKind::ViToEj) {
    out.vi = ConvertViToEj(rows.x, rows.y, request.vi);
    out.error = out.vi.error;
    if (out.error == ImportError::None) out.bytes = ViImportFileBytes(src, request.vi, out.vi);
  } else {
    out.icb = ConvertIcbToJcb(rows.x, rows.y, request.icb);
    out.error = out.icb.error;
    if (out.error == ImportError::None) out.bytes = IcbImportFileBytes(src, request.icb, out.icb);
  }
  return out;
}

ImportOutcome RunImport(const ImportRequest& request) {
  const TableLayout layout = ScanMeasuredTable(request.source, 0);
  int xc = -1, yc = -1;
  const ImportError chosen = ChooseColumns(layout, request.xColumn, request.yColumn, xc, yc);
  if (chosen != ImportError::None) {
    ImportOutcome out;
    out.error = chosen;
    out.source.path = request.source;
    return out;
  }
  const ColumnPair rows = ReadMeasuredColumns(request.source, xc, yc, layout.format);
  return ConvertRows(request, layout, rows, xc, yc);
}

}  // namespace zx
