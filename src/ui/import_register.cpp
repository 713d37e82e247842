#include "ui/import_register.h"

#include "app/main_window.h"
#include "model/project.h"
#include "ui/lists_panel.h"
#include "ui/output_path.h"

namespace zx {

std::string ImportedResultPath(const Project& p, const std::string& dataPath) {
  std::string folder = SplitAtLastSlash(p.SettingsFilePath).folder;
  if (folder.empty()) folder = p.ProgramFolder;
  std::string stem = FileNameOf(dataPath);
  const std::size_t dot = stem.rfind('.');
  if (dot != std::string::npos && dot > 0) stem.resize(dot);
  // Never the data file itself, even when it lies in that folder.
  return JoinOutputPath(folder, stem + "_result");
}

void RegisterImportedData(MainWindow& main, const std::string& dataPath,
                          const std::optional<ImportedCondition>& cond) {
  Project& p = main.project();
  const RegistryEntry& data = AddDataFile(p, dataPath);
  const int dataNo = data.No;
  ListsPanel* lists = main.listsPanel();
  if (lists) lists->InsertDataRow(data);
  if (cond) {
    const RegistryEntry& c =
        AddCalcCond(p, dataNo, cond->temp, cond->magField, ImportedResultPath(p, dataPath));
    if (lists) lists->InsertCondRow(c, p.Settings.CalcMode);
  }
  main.InvalidateGraph();
}

}  // namespace zx
