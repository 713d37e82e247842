// Result files: a commented header with the evaluation point and the
// fitting parameters, then one "abscissa value" line per point. The same
// format serves the temporary curve files, so both read back as series.
#pragma once

#include <span>
#include <string>

#include "model/project.h"
#include "model/tr_noop.h"

namespace zx {

// Shown when a result or curve file cannot be written.
inline constexpr char kResultFileFailedText[] =
    ZX_TR_NOOP("Core", "計算結果出力ファイルを作成できません。");

// The evaluation point the header names.
struct ResultHeader {
  double temp = 0.0;
  double field = 0.0;
};

// The file's bytes (CR LF line ends): the header with the point and the
// fitting parameters of p, then the points.
std::string ResultFileBytes(const ModelParams& p, const ResultHeader& h, std::span<const double> xs,
                            std::span<const double> values);

enum class ResultWrite {
  Replace,  // result files: written aside and renamed, never left half-written
  Scratch,  // temporary curve files: rewritten on every repaint, no flush to disk
};

// False when the file cannot be written; a scratch file is then removed.
bool WriteResultFile(const std::string& path, const ModelParams& p, const ResultHeader& h,
                     std::span<const double> xs, std::span<const double> values,
                     ResultWrite how = ResultWrite::Replace);

}  // namespace zx
