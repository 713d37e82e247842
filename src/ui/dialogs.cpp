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

// The dialog of this kind that is open (not ended), if any.
template <class D>
D* OpenDialog(Shell& main) {
  for (D* d : main.widget().findChildren<D*>(QString(), Qt::FindDirectChildrenOnly))
    if (!d->Ended()) return d;
  return nullptr;
}

template <class D>
void Open(Shell& main, bool openFlag) {
  if (openFlag) return;
  CenterOnMainWindow(new D(main), &main.widget());
}

}  // namespace

void OpenCommandDialog(Shell& main, int commandId) {
  OpenFlags& f = main.flags();
  switch (commandId) {
    case kCmdRegisterDataFile:
      Open<DataFileDialog>(main, main.project().DataFileDialogOpen);
      break;
    case kCmdRegisterCalcCond:
      Open<CalcCondDialog>(main, f.CalcCondDialogOpen);
      break;
    case kCmdAxisSettings:
      Open<AxisDialog>(main, f.AxisDialogOpen);
      break;
    case kCmdAbout:
      Open<AboutBox>(main, f.AboutBoxOpen);
      break;
    case kCmdModeChange:
      Open<ModeDialog>(main, f.ModeDialogOpen);
      break;
    case kCmdOtherSettings:
      if (main.project().Settings.Mode == CalcMode::EJ)
        Open<JRangeDialog>(main, f.JRangeDialogOpen);
      if (main.project().Settings.Mode == CalcMode::JcB)
        Open<JcConditionDialog>(main, f.JcConditionDialogOpen);
      break;
    case kCmdParamRange:
      Open<ParamRangeDialog>(main, f.ParamRangeDialogOpen);
      break;
    case kCmdImportMeasured:
      Open<ImportDialog>(main, f.ImportDialogOpen);
      break;
    default:
      break;
  }
}

void RegisterDroppedDataFile(Shell& main, const QString& path) {
  if (main.project().DataFileDialogOpen) return;
  // Never shown: it registers and ends at once.
  auto* dialog = new DataFileDialog(main);
  dialog->RegisterDropped(path);
}

void OpenRenameDialog(Shell& main, int row) {
  if (!main.project().DataFiles.Find(row)) return;
  RenameDialog* dialog = OpenDialog<RenameDialog>(main);
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
  CalcCondChangeDialog* dialog = OpenDialog<CalcCondChangeDialog>(main);
  if (!dialog) {
    dialog = new CalcCondChangeDialog(main);
    dialog->Target(row);
    CenterOnMainWindow(dialog, &main.widget());
    return;
  }
  dialog->Target(row);
}

void CloseDialogsOfRemovedEntries(Shell& main) {
  Project& p = main.project();
  if (RenameDialog* d = OpenDialog<RenameDialog>(main))
    if (!FindByUid(p.DataFiles, d->TargetUid())) d->reject();
  if (CalcCondChangeDialog* d = OpenDialog<CalcCondChangeDialog>(main))
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
