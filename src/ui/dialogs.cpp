#include "ui/dialogs.h"

#include "ui/about_box.h"
#include "ui/axis_dialog.h"
#include "ui/calc_cond_change_dialog.h"
#include "ui/calc_cond_dialog.h"
#include "ui/data_file_dialog.h"
#include "ui/dialog_helpers.h"
#include "ui/full_calculation.h"
#include "ui/import_dialog.h"
#include "ui/j_range_dialog.h"
#include "ui/jc_condition_dialog.h"
#include "ui/mode_dialog.h"
#include "ui/param_range_dialog.h"
#include "ui/registry_lookup.h"
#include "ui/rename_dialog.h"
#include "ui/shell.h"

namespace zx {

namespace {

template <class D>
void Open(Shell& main, DialogKind kind) {
  if (main.dialogs().IsOpen(kind)) return;
  CenterOnMainWindow(new D(main), &main.widget());
}

}  // namespace

void OpenCommandDialog(Shell& main, int commandId) {
  switch (commandId) {
    case kCmdRegisterDataFile:
      Open<DataFileDialog>(main, DialogKind::DataFile);
      break;
    case kCmdRegisterCalcCond:
      Open<CalcCondDialog>(main, DialogKind::CalcCond);
      break;
    case kCmdAxisSettings:
      Open<AxisDialog>(main, DialogKind::Axis);
      break;
    case kCmdAbout:
      Open<AboutBox>(main, DialogKind::About);
      break;
    case kCmdModeChange:
      Open<ModeDialog>(main, DialogKind::Mode);
      break;
    case kCmdOtherSettings:
      if (main.project().Settings.Mode == CalcMode::EJ)
        Open<JRangeDialog>(main, DialogKind::JRange);
      if (main.project().Settings.Mode == CalcMode::JcB)
        Open<JcConditionDialog>(main, DialogKind::JcCondition);
      break;
    case kCmdParamRange:
      Open<ParamRangeDialog>(main, DialogKind::ParamRange);
      break;
    case kCmdImportMeasured:
      Open<ImportDialog>(main, DialogKind::Import);
      break;
    default:
      break;
  }
}

void RegisterDroppedDataFile(Shell& main, const QString& path) {
  if (main.dialogs().IsOpen(DialogKind::DataFile)) return;
  // Never shown: it registers and ends at once.
  auto* dialog = new DataFileDialog(main);
  dialog->RegisterDropped(path);
}

void OpenRenameDialog(Shell& main, int row) {
  if (!main.project().DataFiles.Find(row)) return;
  auto* dialog = main.dialogs().Find<RenameDialog>(DialogKind::Rename);
  if (!dialog) {
    dialog = new RenameDialog(main);
    dialog->Target(row);
    CenterOnMainWindow(dialog, &main.widget());
    return;
  }
  dialog->Target(row);
}

void OpenCalcCondChangeDialog(Shell& main, int row) {
  if (!main.project().CalcConds.Find(row)) return;
  auto* dialog = main.dialogs().Find<CalcCondChangeDialog>(DialogKind::CalcCondChange);
  if (!dialog) {
    dialog = new CalcCondChangeDialog(main);
    dialog->Target(row);
    CenterOnMainWindow(dialog, &main.widget());
    return;
  }
  dialog->Target(row);
}

void CloseDialogsOfRemovedEntries(Shell& main) {
  const Project& p = main.project();
  if (auto* d = main.dialogs().Find<RenameDialog>(DialogKind::Rename))
    if (!FindByUid(p.DataFiles, d->TargetUid())) d->reject();
  if (auto* d = main.dialogs().Find<CalcCondChangeDialog>(DialogKind::CalcCondChange))
    if (!FindByUid(p.CalcConds, d->TargetUid())) d->reject();
}

void StartFullCalculation(Shell& main) {
  if (main.calculating()) return;
  new FullCalculation(main);
}

void StopFullCalculation(Shell& main) {
  for (FullCalculation* c :
       main.widget().findChildren<FullCalculation*>(QString(), Qt::FindDirectChildrenOnly))
    if (!c->Finished()) c->Abort();
}

}  // namespace zx
