// The two graphs of the import dialog: the measured rows with the fitted
// background, and the converted curve with kept and left-out points.
#pragma once

#include <QImage>

#include "import/run.h"
#include "model/graph_view.h"

namespace zx {

constexpr int kImportPlotWidth = 360;
constexpr int kImportPlotHeight = 260;

// Colours of the converted graph.
inline constexpr Rgb kKeptColor{255, 0, 0};
inline constexpr Rgb kLeftOutColor{170, 170, 170};

// The rows in the units of the settings, with the background line of V-I
// rows (which needs no geometry, so it shows before that is typed).
QImage DrawMeasuredPlot(const ImportRequest& rq, const ColumnPair& rows);
QImage DrawConvertedPlot(ImportKind kind, const ImportOutcome& o);

}  // namespace zx
