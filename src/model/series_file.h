// Reading series files: measured data files and computed-curve files.
#pragma once

#include <cstddef>
#include <vector>

#include "model/graph_view.h"
#include "model/project.h"
#include "model/tr_noop.h"

namespace zx {

// Limits of one series file: a longer line or more points than this is no
// measurement the graph can show, and reading on would only exhaust memory.
inline constexpr std::size_t kMaxSeriesLineBytes = 65536;
inline constexpr std::size_t kMaxSeriesPoints = 1000000;
inline constexpr std::size_t kMaxSeriesLines = 4 * kMaxSeriesPoints;
inline constexpr char kSeriesTooLargeText[] =
    ZX_TR_NOOP("Core", "データファイルが大きすぎます（100万点、1行65536バイトまで）。");

enum class SeriesRead { Ok, Unreadable, TooLarge };

// Reads the file once: counts the accepted points, stores their extents and
// the points themselves (s.Points) and merges the extents into the graph's
// range. Anything but Ok leaves the series unchanged.
SeriesRead ScanSeries(GraphView& g, SeriesEntry& s);
// The same, true for Ok.
bool ScanSeriesFile(GraphView& g, SeriesEntry& s);
// Lines of numbers that gave no point, by why (lines without numbers, such
// as headers, are not counted).
struct LeftOutLines {
  int notPositive = 0;  // a value <= 0 on a logarithmic axis
  int notFinite = 0;    // nan, inf or a number beyond the double range
};

// Accepted points in file order; either array may be null. Uses the points
// of the last scan when there are any and `leftOut` is not asked for.
bool ReadSeriesFile(const GraphView& g, const SeriesEntry& s, std::vector<double>* x,
                    std::vector<double>* y, LeftOutLines* leftOut = nullptr);
// Forgets the points of the last scan of every series of the list.
void DropScannedPoints(SeriesList& list);

}  // namespace zx
