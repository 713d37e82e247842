// The document: the only writer of the project it holds. Everyone else reads
// it through a const reference; the procedures below make every change the
// windows and the command line need (registries, mode, parameters, ranges,
// axis settings, files, the modified flag) and tell the observers what
// changed. What only the screen needs (series, effective ranges,
// coefficients) is each view's own (model/view_state.h).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "model/checked_write.h"
#include "model/project.h"
#include "model/settings_lines.h"
#include "model/tr_noop.h"
#include "model/validation.h"

namespace zx {

enum class ChangeKind {
  DataFileAdded,    // no: the new entry
  DataFileRenamed,  // no: the renamed entry
  DataFilesDeleted,
  CalcCondAdded,    // no: the new entry
  CalcCondChanged,  // no: the changed entry
  CalcCondsDeleted,
  ModeChanged,      // the registries were emptied when they held anything
  SettingsChanged,  // ranges, step levels, criterion
  ParamsChanged,    // model parameters or sample values, or their texts
  ProjectReplaced,  // new, load: everything may differ
  ProjectSaved,     // the settings file path may differ
  AxesChanged,      // the axis settings: only the graph follows
};

struct DocChange {
  ChangeKind kind;
  int no = -1;
};

using DocObserver = std::function<void(const DocChange&)>;

class Document {
 public:
  Document() = default;
  Document(const Document&) = delete;
  Document& operator=(const Document&) = delete;

  // Read-only: the procedures of this header are the writers.
  const Project& project = project_;
  // Counts the changes after which the graph's ranges must be fitted
  // again; a view compares it with the count it last followed.
  const std::uint64_t& refitRequests = refitRequests_;
  std::vector<DocObserver> observers;

 private:
  friend struct DocumentWriter;      // document.cpp
  friend struct DocumentTestAccess;  // the tests' fixtures
  Project project_;
  std::uint64_t refitRequests_ = 0;
  // What the project's file held when it was last read or written here.
  ReadStamp settingsRead_;
};

// Tells every observer, in the order they were added.
void Notify(Document& d, const DocChange& change);

// Data files. Adding and renaming refuse a path the settings file could not
// hold; the result is the message (empty on success).
std::string AddDataFile(Document& d, const std::string& path);
std::string RenameDataFile(Document& d, std::uint64_t uid, const std::string& path);
// Deletes the data files `nos` (numbers as they stand now). Files above
// move down; their conditions follow, and those of a deleted file are
// orphaned (-1). False when `nos` names none.
bool DeleteDataFiles(Document& d, std::vector<int> nos);

// Calculation conditions; the input is checked first (message on refusal).
std::string AddCalcCond(Document& d, const CalcCondInput& in);
std::string ChangeCalcCond(Document& d, std::uint64_t uid, const CalcCondInput& in);
// Deletes the conditions `nos`; the rest move down and take the curve
// files of their new numbers. False when `nos` names none.
bool DeleteCalcConds(Document& d, std::vector<int> nos);

// Switches the mode (CalcMode::EJ, CalcMode::JcB): both registries are emptied while
// there are data files, and the axes follow. Nothing happens when the mode
// is the current one.
void SetCalcMode(Document& d, CalcMode mode);

// Model parameters and sample values set by the user (a slider, the fit
// window's apply): the project is marked modified and the graph refits.
void SetModelParams(Document& d, const ModelParams& m);
// A value's text was edited: modified and refit as above, but the values
// are taken from the texts only at the next pass or save (SyncModelParams).
void MarkParamsEdited(Document& d);
// Takes the values the texts stand for before a pass or a save. Nothing the
// user sees changes, so nobody is told and the project is not marked.
void SyncModelParams(Document& d, const ModelParams& m);

// The range dialogs' settings, checked first (message on refusal).
std::string SetJRange(Document& d, double jIni, double jFin, int jStepLevel);
std::string SetJcConditions(Document& d, const JcConditions& c);
std::string SetParamRanges(Document& d, const ParamRanges& r);

enum class AxisId { X, Y };
// Whether the dialog's OK went through or one of its fields was refused.
enum class AxisApply { Accepted, Refused };
// The axis dialog's settings of both axes. Accepted: the project is marked
// modified and the graph refits. Refused: what the dialog read before the
// refused field is kept, and nothing else happens (the dialog stays open).
void SetAxisSettings(Document& d, const AxisSettings& x, const AxisSettings& y, AxisApply apply);

// Entry of the registries: one whose path the settings file could not hold
// is refused with the message naming the path (empty when it may enter).
std::string CheckPathEntry(const std::string& path);
inline constexpr char kBadPathPattern[] =
    ZX_TR_NOOP("Core", "パスに使用できない文字が含まれています : %1");

// Replaces the project by the settings file at `path`. False (project kept)
// when it cannot be read.
bool LoadDocument(Document& d, const std::string& path);
// Empties the registries and loads the defaults (written to, read from and
// removed at `scratchPath`). False when the defaults could not be written:
// the registries are empty then, and the observers are told so.
bool NewDocument(Document& d, const std::string& scratchPath);
// Makes `path` the project's file and writes the project there, whatever
// the file holds (the user chose it). False when the file could not be
// written (the path stays the project's file, so the next save tries it
// again). Check the path with CheckPathEntry first.
bool SaveDocumentAs(Document& d, const std::string& path);
// Writes the project to its file (which must be set). Nothing the windows
// show changes, so nobody is told. ChangedSinceRead, file untouched, when
// someone else changed the file after it was loaded or last saved here.
WriteResult SaveDocument(Document& d);
// The message for a save refused as ChangedSinceRead; %1 the file.
inline constexpr char kChangedSinceReadPattern[] = ZX_TR_NOOP(
    "Core", "%1 は読み込んだ後に他のプログラムが変更しました。変更を失わないよう上書きしません。");
// The changes were saved, or the user chose not to save them: the save
// question is not asked again until the next change.
void MarkUnmodified(Document& d);
// The folder of the program (ending with '/') and the project's file, as the
// program starts; nobody is told.
void SetDocumentPaths(Document& d, const std::string& programFolder,
                      const std::string& settingsPath);

// Project files that the command line reads and changes without holding a
// document. The settings file's own readers and writers belong to the model;
// everything else reaches a project file through these.
//
// Reads the project at `path` (the load sequence without windows); `read`,
// when given, stamps the bytes it was read from.
bool LoadProjectFile(Project& p, const std::string& path, ReadStamp* read = nullptr);
// Writes a new project with the default settings at `path`, in one step.
bool CreateProjectFile(const std::string& path);
// Replaces the values of `lines` in the project file (ReplaceSettingsLines),
// only while it holds what `read` stamps.
WriteResult WriteProjectLines(const std::string& path, const SettingsLines& lines,
                              const ReadStamp& read);
// Replaces the project file by `bytes` (the file as read with some values
// changed), only while it holds what `read` stamps and only when the bytes
// read as a settings file (Failed otherwise).
WriteResult ReplaceProjectFile(const std::string& path, const std::string& bytes,
                               const ReadStamp& read);

}  // namespace zx
