// The commands of zentrix2-calc. Each returns the process exit code:
// 0 success, 1 a file could not be read or written, 2 wrong usage, 3 nothing
// to fit (--fit, --quality) or nothing left to write (imports).
#pragma once

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "fit/fit_types.h"
#include "import/run.h"
#include "model/settings_set.h"

namespace zx::cli {

struct Options {
  int threads = 0;             // 0: all cores
  double scale = 1.0;          // image export: device pixels per graph pixel
  FitOptions fit;              // --fit: fixed parameters, loss, weighting, starts, orders
  bool write = false;          // --fit: store converged values in the project
  std::string curves;          // --fit --curves: the model curves with their bands
  bool json = false;           // --json: the report as JSON
  double criterion = NAN;      // --criterion in V/m; NaN: the project's E_c
  std::string format = "csv";  // --map --format
  std::string out;             // --map --out; empty: stdout
};

// --map T=LO:HI:STEP B=LO:HI:STEP: the axes of the grid.
struct MapAxes {
  double tLo = NAN, tHi = NAN, tStep = NAN;
  double bLo = NAN, bHi = NAN, bStep = NAN;
};
// --at T=...,B=...[,I=...]: the operating point; current NaN when not given.
struct AtPoint {
  double temp = NAN, field = NAN, current = NAN;
};

// --import-vi / --import-icb with their options.
struct ImportLine {
  ImportRequest request;
  std::vector<std::string> sources;        // the measured files
  std::vector<KeyAssignment> assignments;  // --set, for the project
  std::string out, project;
  std::optional<double> temperature, field;

  // Whether --temperature-column was given.
  bool ColumnAsked() const {
    return request.temperatureColumn || !request.temperatureColumnName.empty();
  }
};

int CmdNew(const std::string& project);
int CmdCalc(const std::string& project, const Options& opt);
int CmdPreview(const std::string& project, const Options& opt);
int CmdFit(const std::string& project, const Options& opt);
int CmdQuality(const std::string& project, const Options& opt);
int CmdMap(const std::string& project, const MapAxes& axes, const Options& opt);
int CmdAt(const std::string& project, const AtPoint& at, const Options& opt);
int CmdPlot(const std::string& image, const std::string& project, const Options& opt);
// --set KEY=VALUE ...: the values, checked, written into the project.
int CmdSet(const std::string& project, const std::vector<std::string>& assignments);
int CmdImport(ImportLine line);

}  // namespace zx::cli
