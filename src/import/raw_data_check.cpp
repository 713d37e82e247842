#include "import/raw_data_check.h"

#include <vector>

#include "import/measured_table.h"
#include "model/project.h"
#include "model/series_file.h"
#include "model/text_file.h"

namespace zx {

namespace {

// Lines that are neither blank nor comments.
int ContentLines(const std::string& bytes, const std::string& commentChars) {
  int n = 0;
  for (const std::string& line : SplitLines(bytes)) {
    if (line.find_first_not_of(" \t\r\v\f") == std::string::npos) continue;
    if (commentChars.find(line[0]) != std::string::npos) continue;
    ++n;
  }
  return n;
}

// Whether a column so named holds times (case aside).
bool NamesTime(const std::string& name) {
  std::string lower;
  for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  for (const char* t : {"t", "t_s", "time", "datetime", "date", "timestamp"})
    if (lower == t) return true;
  return false;
}

// How the x values of the series step, and whether they are too few for
// the file's lines.
void JudgeSeries(const std::vector<double>& x, RawDataCheck& r) {
  r.points = static_cast<int>(x.size());
  for (std::size_t k = 1; k < x.size(); ++k)
    if (x[k] > x[k - 1]) ++r.increasingSteps;
  const int steps = r.points > 0 ? r.points - 1 : 0;
  r.fewPoints = 2 * r.points < r.contentLines;
  r.notIncreasing = steps > 0 && 2 * r.increasingSteps <= steps;
}

}  // namespace

RawDataCheck CheckDataFileLooksRaw(const GraphView& g, const std::string& path) {
  RawDataCheck r;
  std::string bytes;
  if (!ReadWholeFile(path, bytes)) return r;
  r.contentLines = ContentLines(bytes, g.CommentChars);
  SeriesEntry s;
  s.Path = path;
  std::vector<double> x;
  if (!ReadSeriesFile(g, s, &x, nullptr)) return r;
  r.readable = true;
  JudgeSeries(x, r);
  const TableLayout layout = ScanMeasuredTable(path, 0);
  r.numericColumns = static_cast<int>(layout.numericColumns.size());
  r.manyColumns = r.numericColumns >= 3;
  r.timeFirst = !layout.names.empty() && NamesTime(layout.names.front());
  return r;
}

}  // namespace zx
