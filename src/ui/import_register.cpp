#include "ui/import_register.h"

#include "model/document.h"
#include "model/output_path.h"

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

std::string ImportedResultPath(const Project& p, const std::string& dataPath) {
  return JoinOutputPath(ResultFolder(p), ResultName(dataPath));
}

std::string RegisterImportedData(Document& d, const std::string& dataPath,
                                 const std::optional<ImportedCondition>& cond) {
  if (std::string refused = AddDataFile(d, dataPath); !refused.empty()) return refused;
  if (!cond) return {};
  CalcCondInput in;
  in.relatedDatFileNo = d.project.DataFiles.HeadNo();
  in.temp = cond->temp;
  in.magField = cond->magField;
  in.folder = ResultFolder(d.project);
  in.name = ResultName(dataPath);
  return AddCalcCond(d, in);
}

}  // namespace zx
