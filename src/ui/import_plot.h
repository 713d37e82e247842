// The two graphs of the import dialog: the measured rows with the fitted
// background, and the converted curve with kept and left-out points.
#pragma once

#include <QImage>

#include "calc/import_run.h"
#include "graph/graph_view.h"

namespace zx {

constexpr int kImportPlotWidth = 360;
constexpr int kImportPlotHeight = 250;

// Colours of the converted graph.
inline constexpr Rgb kKeptColor{255, 0, 0};
inline constexpr Rgb kLeftOutColor{170, 170, 170};

// The rows in the units of the settings; the background line when the
// conversion got as far as fitting it.
QImage DrawMeasuredPlot(const ImportRequest& rq, const ColumnPair& rows, const ImportOutcome& o);
QImage DrawConvertedPlot(ImportKind kind, const ImportOutcome& o);

}  // namespace zx
