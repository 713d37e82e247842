#include "model/document.h"

#include <algorithm>
#include <cstdio>

#include "model/output_path.h"
#include "model/result_path.h"
#include "model/settings_file.h"
#include "model/settings_save.h"
#include "model/text_codec.h"

namespace zx {

struct DocumentWriter {
  static Project& Of(Document& d) { return d.project_; }
  static void AskRefit(Document& d) { ++d.refitRequests_; }
  static ReadStamp& SettingsRead(Document& d) { return d.settingsRead_; }
};

namespace {

Project& Edit(Document& d) { return DocumentWriter::Of(d); }
void AskRefit(Document& d) { DocumentWriter::AskRefit(d); }
ReadStamp& SettingsRead(Document& d) { return DocumentWriter::SettingsRead(d); }

RegistryEntry* FindUid(Registry& registry, std::uint64_t uid) {
  for (RegistryEntry& e : registry.items)
    if (e.Uid == uid) return &e;
  return nullptr;
}

// The numbers of `nos` that name an entry, each once, rising.
std::vector<int> ExistingNumbers(std::vector<int> nos, int count) {
  std::sort(nos.begin(), nos.end());
  nos.erase(std::unique(nos.begin(), nos.end()), nos.end());
  std::erase_if(nos, [count](int no) { return no < 0 || no >= count; });
  return nos;
}

// The condition's result path, or the message refusing the input.
std::string CheckedCondition(const Project& p, const CalcCondInput& in, std::string& outpPath) {
  if (std::string message = CheckCalcCond(p, in); !message.empty()) return message;
  outpPath = JoinOutputPath(in.folder, in.name);
  if (std::string message = CheckPathEntry(outpPath); !message.empty()) return message;
  // The full calculation would write its curve over the measurement or the project.
  return ResultPathClashText(CheckResultPath(p, outpPath));
}

}  // namespace

void Notify(Document& d, const DocChange& change) {
  // An observer may add another; the ones present at the start are told.
  const std::size_t n = d.observers.size();
  for (std::size_t i = 0; i < n; ++i) d.observers[i](change);
}

std::string CheckPathEntry(const std::string& path) {
  if (CanWriteCp932(path)) return {};
  return FillPattern(kBadPathPattern, path);
}

std::string AddDataFile(Document& d, const std::string& path) {
  if (std::string message = CheckPathEntry(path); !message.empty()) return message;
  const RegistryEntry& e = AddDataFile(Edit(d), path);
  AskRefit(d);
  Notify(d, {ChangeKind::DataFileAdded, e.No});
  return {};
}

std::string RenameDataFile(Document& d, std::uint64_t uid, const std::string& path) {
  if (std::string message = CheckPathEntry(path); !message.empty()) return message;
  Project& p = Edit(d);
  RegistryEntry* e = FindUid(p.DataFiles, uid);
  if (!e) return {};  // deleted meanwhile: nothing left to rename
  e->Path = path;
  p.Modified = true;
  AskRefit(d);
  Notify(d, {ChangeKind::DataFileRenamed, e->No});
  return {};
}

bool DeleteDataFiles(Document& d, std::vector<int> nos) {
  Project& p = Edit(d);
  nos = ExistingNumbers(std::move(nos), p.DataFiles.Count());
  if (nos.empty()) return false;
  // From the top down, so that the numbers still to delete stay valid.
  for (auto it = nos.rbegin(); it != nos.rend(); ++it) {
    const int k = *it;
    RemoveEntry(p.DataFiles, k);
    for (RegistryEntry& c : p.CalcConds.items) {
      if (c.RelatedDatFileNo < k) continue;
      c.RelatedDatFileNo = c.RelatedDatFileNo > k ? c.RelatedDatFileNo - 1 : -1;
    }
  }
  p.Modified = true;
  AskRefit(d);
  Notify(d, {ChangeKind::DataFilesDeleted});
  return true;
}

std::string AddCalcCond(Document& d, const CalcCondInput& in) {
  Project& p = Edit(d);
  std::string outpPath;
  if (std::string message = CheckedCondition(p, in, outpPath); !message.empty()) return message;
  const double field = p.Settings.Mode != CalcMode::JcB ? in.magField : 0.0;
  const RegistryEntry& e = AddCalcCond(p, in.relatedDatFileNo, in.temp, field, outpPath);
  AskRefit(d);
  Notify(d, {ChangeKind::CalcCondAdded, e.No});
  return {};
}

std::string ChangeCalcCond(Document& d, std::uint64_t uid, const CalcCondInput& in) {
  Project& p = Edit(d);
  std::string outpPath;
  if (std::string message = CheckedCondition(p, in, outpPath); !message.empty()) return message;
  RegistryEntry* e = FindUid(p.CalcConds, uid);
  if (!e) return {};  // deleted meanwhile: nothing left to change
  p.Modified = true;
  e->RelatedDatFileNo = in.relatedDatFileNo;
  e->Mark = 0;
  e->Temp = in.temp;
  if (p.Settings.Mode != CalcMode::JcB) e->MagField = in.magField;
  e->OutpFilePath = outpPath;
  // The curve takes the colour of its (new) data file; file and number stay.
  Notify(d, {ChangeKind::CalcCondChanged, e->No});
  return {};
}

bool DeleteCalcConds(Document& d, std::vector<int> nos) {
  Project& p = Edit(d);
  nos = ExistingNumbers(std::move(nos), p.CalcConds.Count());
  if (nos.empty()) return false;
  bool renumbered = false;
  for (auto it = nos.rbegin(); it != nos.rend(); ++it) {
    renumbered = renumbered || *it != p.CalcConds.HeadNo();
    RemoveEntry(p.CalcConds, *it);
  }
  if (renumbered) {
    RenumberCurvePaths(p);
    AskRefit(d);
  }
  p.Modified = true;
  Notify(d, {ChangeKind::CalcCondsDeleted});
  return true;
}

void SetCalcMode(Document& d, CalcMode mode) {
  Project& p = Edit(d);
  if (mode == p.Settings.Mode) return;
  // Conditions left without data files (orphans) stay, as they always have.
  if (!p.DataFiles.Empty()) {
    ClearRegistries(p);
    AskRefit(d);
  }
  p.Settings.Mode = mode;
  ApplyModeAxes(p.Axes, mode);
  p.Modified = true;
  Notify(d, {ChangeKind::ModeChanged});
}

void SetModelParams(Document& d, const ModelParams& m) {
  Edit(d).Params = m;
  MarkParamsEdited(d);
}

void MarkParamsEdited(Document& d) {
  Edit(d).Modified = true;
  AskRefit(d);
  Notify(d, {ChangeKind::ParamsChanged});
}

void SyncModelParams(Document& d, const ModelParams& m) { Edit(d).Params = m; }

std::string SetJRange(Document& d, double jIni, double jFin, int jStepLevel) {
  if (std::string message = CheckJRange(jIni, jFin, jStepLevel); !message.empty()) return message;
  CalcSettings& s = Edit(d).Settings;
  s.JIni = jIni;
  s.JFin = jFin;
  s.JStepLevel = jStepLevel;
  Edit(d).Modified = true;
  Notify(d, {ChangeKind::SettingsChanged});
  return {};
}

std::string SetJcConditions(Document& d, const JcConditions& c) {
  if (std::string message = CheckJcConditions(c); !message.empty()) return message;
  Project& p = Edit(d);
  p.Settings.JIni = c.jIni;
  p.Settings.JFin = c.jFin;
  p.Settings.BIni = c.bIni;
  p.Settings.BFin = c.bFin;
  p.Params.E_c = c.ec;
  p.Settings.BStepLevel = c.bStepLevel;
  ApplyBStepLevel(p.Params, c.bStepLevel);
  p.Modified = true;
  Notify(d, {ChangeKind::SettingsChanged});
  return {};
}

std::string SetParamRanges(Document& d, const ParamRanges& r) {
  if (std::string message = CheckParamRanges(r); !message.empty()) return message;
  ApplyParamRanges(Edit(d).Settings, r);
  Edit(d).Modified = true;
  Notify(d, {ChangeKind::SettingsChanged});
  return {};
}

bool LoadDocument(Document& d, const std::string& path) {
  ReadStamp read;
  if (!LoadSettingsFileStamped(Edit(d), path, read)) return false;
  SettingsRead(d) = read;
  Edit(d).SettingsFilePath = path;
  Notify(d, {ChangeKind::ProjectReplaced});
  return true;
}

bool NewDocument(Document& d, const std::string& scratchPath) {
  Project& p = Edit(d);
  const bool hadData = !p.DataFiles.Empty();
  ClearRegistries(p);
  if (hadData) AskRefit(d);
  if (!WriteDefaultSettings(scratchPath)) {
    // The registries are gone whatever follows: the windows must show it.
    Notify(d, {ChangeKind::DataFilesDeleted});
    Notify(d, {ChangeKind::CalcCondsDeleted});
    return false;
  }
  LoadSettingsFile(p, scratchPath);
  std::remove(scratchPath.c_str());
  p.SettingsFilePath.clear();
  SettingsRead(d) = {};
  Notify(d, {ChangeKind::ProjectReplaced});
  return true;
}

bool SaveDocumentAs(Document& d, const std::string& path) {
  // A failed write still makes the path the project's file: the next Save
  // tries it again.
  Edit(d).SettingsFilePath = path;
  SettingsRead(d) = {};
  const bool ok = SaveSettingsIfUnchanged(d.project, path, SettingsRead(d)) == WriteResult::Written;
  Notify(d, {ChangeKind::ProjectSaved});
  return ok;
}

WriteResult SaveDocument(Document& d) {
  return SaveSettingsIfUnchanged(d.project, d.project.SettingsFilePath, SettingsRead(d));
}

void MarkUnmodified(Document& d) { Edit(d).Modified = false; }

void SetDocumentPaths(Document& d, const std::string& programFolder,
                      const std::string& settingsPath) {
  Edit(d).ProgramFolder = programFolder;
  if (settingsPath != d.project.SettingsFilePath) SettingsRead(d) = {};
  Edit(d).SettingsFilePath = settingsPath;
}

void SetAxisSettings(Document& d, const AxisSettings& x, const AxisSettings& y, AxisApply apply) {
  SavedAxes& a = Edit(d).Axes;
  a.X = x;
  a.Y = y;
  if (apply == AxisApply::Refused) return;
  AskRefit(d);
  Edit(d).Modified = true;
  Notify(d, {ChangeKind::AxesChanged});
}

bool LoadProjectFile(Project& p, const std::string& path, ReadStamp* read) {
  return read ? LoadSettingsFileStamped(p, path, *read) : LoadSettingsFile(p, path);
}

bool CreateProjectFile(const std::string& path) { return WriteDefaultSettings(path); }

WriteResult WriteProjectLines(const std::string& path, const SettingsLines& lines,
                              const ReadStamp& read) {
  return WriteSettingsLines(path, lines, read);
}

WriteResult ReplaceProjectFile(const std::string& path, const std::string& bytes,
                               const ReadStamp& read) {
  if (!ReadsAsSettingsFile(bytes)) return WriteResult::Failed;
  return WriteFileIfUnchanged(path, bytes, read);
}

}  // namespace zx
