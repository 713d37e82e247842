// The data file an import writes: comment lines that record where the
// points came from and how they were converted, then one "x y" line per
// kept point (CP932, CR LF, "%le" numbers).
#pragma once

#include <string>

#include "calc/import_icb.h"
#include "calc/import_vi.h"

namespace zx {

enum class ImportKind { ViToEj, IcbToJcb };

struct ImportSource {
  std::string path;  // the measured file
  int xColumn = 0, yColumn = 1;
  std::string xName, yName;  // UTF-8; empty when the table has no names
  int skippedLines = 0;
  bool truncated = false;  // the row cap stopped the reading
};

std::string ViImportFileBytes(const ImportSource& src, const ViImportSettings& st,
                              const ViImport& r);
std::string IcbImportFileBytes(const ImportSource& src, const IcbImportSettings& st,
                               const IcbImport& r);

// Next to the source: its name without extension + "_EJ.dat" / "_JcB.dat".
std::string DefaultImportOutputPath(const std::string& source, ImportKind kind);

}  // namespace zx
