// The full calculation: every condition's curve on the regular grid of the
// J range (E-J mode) or the B range (Jc-B mode), written to its result
// file. Works on a snapshot, so it can run on a worker thread while the
// project stays editable.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "model/project.h"

namespace zx {

// What the pass reads, taken when it starts (after the panel's entries were
// copied into the project).
struct FullCalcInput {
  ModelParams params;
  CalcSettings settings;
  std::vector<CalcCondEntry> conditions;  // index == No
  int dataSeriesCount = 0;
  int threads = 0;  // threads evaluating points; 0: every core
  // Files no result may replace.
  std::vector<std::string> dataFilePaths;
  std::string settingsFilePath;
};
FullCalcInput TakeFullCalcInput(const Project& p);

struct FullCalcProgress {
  int conditionsDone = 0;
  int conditionsTotal = 0;
  long long pointsDone = 0;
  long long pointsTotal = 0;
};

// Called on the thread that runs the pass (never on its helper threads);
// empty ones are skipped.
struct FullCalcHooks {
  // While points finish (after each point the calling thread evaluates, and
  // at least every few milliseconds while it waits) and after every
  // finished (or skipped) condition. pointsDone never decreases.
  std::function<void(const FullCalcProgress&)> progress;
  // A result file was written with `points` data lines.
  std::function<void(const CalcCondEntry& cond, int points)> fileWritten;
  // A result file could not be written: the message and the file's path.
  // The data file's remaining conditions are then skipped. A result path
  // that names a kept file is reported here too, but skips only itself.
  std::function<void(const std::string& message, const std::string& path)> writeFailed;
  // Checked before every condition and while waiting for one; when set
  // the pass stops without writing another file.
  const std::atomic<bool>* cancel = nullptr;
};

struct FullCalcOutcome {
  int filesWritten = 0;
  int filesFailed = 0;
  bool cancelled = false;
};

// Data files in rising number, their conditions highest No first. The
// points are evaluated on in.threads threads; the files are written in that
// order by the calling thread and do not depend on the thread count.
FullCalcOutcome RunFullCalculation(const FullCalcInput& in, const FullCalcHooks& hooks);

}  // namespace zx
