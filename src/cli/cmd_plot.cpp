// zentrix2-calc --plot: the graph of a project as an image file.
#include <QByteArray>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

#include "calc/preview_pass.h"
#include "cli/commands.h"
#include "cli/english.h"
#include "graph/axes.h"
#include "graph/series_draw.h"
#include "model/project.h"
#include "model/document.h"
#include "model/view_state.h"
#include "qtcanvas/qt_canvas.h"

namespace zx::cli {

int CmdPlot(const std::string& image, const std::string& project, const Options& opt) {
  // Fonts need a GUI application; no display is needed for an image.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static char appName[] = "zentrix2-calc";
  static char* appArgv[] = {appName, nullptr};
  static int appArgc = 1;
  QGuiApplication app(appArgc, appArgv);
  QGuiApplication::setFont(ProgramFont());  // the window's font

  Project p;
  if (!LoadProjectFile(p, project)) {
    std::fprintf(stderr, "zentrix2-calc: cannot read the project %s\n", project.c_str());
    return 1;
  }
  ViewState v = MakeViewState(p);
  ResetGraphView(v.View, p.Settings.Mode);
  v.View.RescalePending = true;

  // The curve files of the preview live in a private folder, so that the
  // paint (which deletes each one after drawing it) touches no other files.
  QTemporaryDir scratch;
  if (!scratch.isValid()) {
    std::fputs("zentrix2-calc: cannot create a temporary folder\n", stderr);
    return 1;
  }
  const std::string folder = scratch.path().toStdString() + "/";
  for (SeriesEntry& s : v.CurveSeries.items) s.Path = CurveFilePath(folder, s.No);

  PreviewHooks preview;
  preview.warning = [](const std::string& message, const std::string& path) {
    std::fprintf(stderr, "%s %s\n", Localized(message).c_str(), path.c_str());
  };
  PaintHooks hooks;
  hooks.runPreview = PreviewRunner(preview);
  hooks.warn = [](const std::string& message) {
    std::fprintf(stderr, "%s\n", Localized(message).c_str());
  };
  const ImageExportResult result = ExportGraphImage(p, v, image, opt.scale, hooks);
  if (result.paint.outOfMemory) {
    std::fprintf(stderr, "%s\n", Localized(kOutOfMemoryMessage).c_str());
    return 1;
  }
  if (!result.written) {
    std::fprintf(stderr, "zentrix2-calc: cannot write the image %s\n", image.c_str());
    return 1;
  }
  return 0;
}

}  // namespace zx::cli
