#include "import/registration.h"

#include "model/document.h"
#include "model/output_path.h"
#include "model/text_file.h"

namespace zx {

namespace {

std::string ResultFolder(const Project& p) {
  std::string folder = SplitAtLastSlash(p.SettingsFilePath).folder;
  return folder.empty() ? p.ProgramFolder : folder;
}

// Never the data file's own name, even when it lies in that folder.
std::string ResultName(const std::string& dataPath) {
  std::string stem = SplitAtLastSlash(dataPath).name;
  const std::size_t dot = stem.rfind('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
  return stem + "_result";
}

}  // namespace

std::string ImportedConditionRefusal(const Project& p, const ImportedCondition& c) {
  if (!(c.temp > 0.0 && c.temp < kMaxTemp))
    return RefusalText(ZX_TR_NOOP("Core", "温度")) + "\n" +
           ZX_TR_NOOP("Core", "温度は 0 K より大きく 400 K 未満にしてください。");
  if (p.Settings.Mode == CalcMode::JcB) return {};
  if (c.magField == 0.0)
    return RefusalText(ZX_TR_NOOP("Core", "磁場")) + "\n" +
           ZX_TR_NOOP("Core",
                      "磁場 0 T では計算できません（モデルは B > 0 を必要とします）。"
                      "自己磁場の測定には小さな正の値を入力してください。");
  if (!(c.magField > 0.0 && c.magField < kMaxMagField))
    return RefusalText(ZX_TR_NOOP("Core", "磁場")) + "\n" +
           ZX_TR_NOOP("Core", "磁場は 0 T より大きく 100 T 未満にしてください。");
  return {};
}

bool AboveCriticalTemperature(const Project& p, double temp) { return temp >= p.Params.T_c; }

std::string RegisterImportedData(Document& d, const std::string& dataPath,
                                 const std::optional<ImportedCondition>& cond) {
  if (cond)
    if (std::string refused = ImportedConditionRefusal(d.project, *cond); !refused.empty())
      return refused;
  // Importing a file again replaces its data: the entry and its condition
  // stay one each.
  int fileNo = -1;
  for (const RegistryEntry& e : d.project.DataFiles.items)
    if (e.Path == dataPath) fileNo = e.No;
  if (fileNo < 0) {
    if (std::string refused = AddDataFile(d, dataPath); !refused.empty()) return refused;
    fileNo = d.project.DataFiles.HeadNo();
  }
  if (!cond) return {};
  CalcCondInput in;
  in.relatedDatFileNo = fileNo;
  in.temp = cond->temp;
  in.magField = cond->magField;
  in.folder = ResultFolder(d.project);
  in.name = ResultName(dataPath);
  const std::string result = JoinOutputPath(in.folder, in.name);
  for (const RegistryEntry& c : d.project.CalcConds.items)
    if (c.RelatedDatFileNo == fileNo && c.OutpFilePath == result)
      return ChangeCalcCond(d, c.Uid, in);
  return AddCalcCond(d, in);
}

bool OpenOrCreateProject(Document& d, const std::string& path, bool& created) {
  created = false;
  if (!FileExists(path)) {
    if (!CreateProjectFile(path)) return false;
    created = true;
  }
  return LoadDocument(d, path);
}

}  // namespace zx
