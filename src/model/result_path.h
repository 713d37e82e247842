// A result file must never replace what the project reads: its data files
// and its settings file.
#pragma once

#include <string>
#include <vector>

#include "model/project.h"
#include "model/tr_noop.h"

namespace zx {

enum class ResultPathClash { None, DataFile, SettingsFile };

inline constexpr char kResultIsDataFileText[] =
    ZX_TR_NOOP("Core", "計算結果出力ファイルにデータファイルは指定できません。");
inline constexpr char kResultIsSettingsFileText[] =
    ZX_TR_NOOP("Core", "計算結果出力ファイルに設定ファイルは指定できません。");

// True when both paths name the same file: the same file on disk (links
// followed, hard links included) or, for files not there yet, the same
// path once "." and ".." are resolved.
bool SameFile(const std::string& a, const std::string& b);

ResultPathClash CheckResultPath(const std::vector<std::string>& dataFiles,
                                const std::string& settingsFile, const std::string& resultPath);
ResultPathClash CheckResultPath(const Project& p, const std::string& resultPath);
// The message of a clash; empty for None.
const char* ResultPathClashText(ResultPathClash clash);

}  // namespace zx
