#include "import/raw_data_check.h"

#include <vector>

#include "import/measured_table.h"
#include "model/project.h"
#include "model/series_file.h"
#include "model/text_file.h"

namespace zx {

RawDataCheck CheckDataFileLooksRaw(const GraphView& g, const std::string& path) {
  RawDataCheck r;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return r;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.find_first_not_of(" \t\r\v\f") == std::string::npos) continue;
    if (g.CommentChars.find(line[0]) != std::string::npos) continue;
    ++r.contentLines;
  }
  SeriesEntry s;
  s.Path = path;
  std::vector<double> x;
  if (!ReadSeriesFile(g, s, &x, nullptr)) return r;
  r.readable = true;
  r.points = static_cast<int>(x.size());
  for (std::size_t k = 1; k < x.size(); ++k)
    if (x[k] > x[k - 1]) ++r.increasingSteps;
  const int steps = r.points > 0 ? r.points - 1 : 0;
  r.fewPoints = 2 * r.points < r.contentLines;
  r.notIncreasing = steps > 0 && 2 * r.increasingSteps <= steps;
  const TableLayout layout = ScanMeasuredTable(path, 0);
  r.numericColumns = static_cast<int>(layout.numericColumns.size());
  r.manyColumns = r.numericColumns >= 3;
  if (!layout.names.empty()) {
    std::string first;
    for (char c : layout.names.front())
      first += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    for (const char* t : {"t", "t_s", "time", "datetime", "date", "timestamp"})
      if (first == t) r.timeFirst = true;
  }
  return r;
}

}  // namespace zx
