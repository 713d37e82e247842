// Entry points of the modeless dialogs, for the main window and the panels.
#pragma once

#include <QString>

class QWidget;

namespace zx {

class Shell;

// Creates and shows the dialog of a command (registration of data files
// and conditions, axes, about, mode, other settings, parameter ranges,
// import) unless one of its kind is open. The caller has checked the
// command's other conditions.
void OpenCommandDialog(Shell& main, int commandId);
// Registers a dropped data file through a hidden registration dialog.
void RegisterDroppedDataFile(Shell& main, const QString& path);
// Double click in the lists panel: rename dialog / condition change dialog
// for the entry numbered `row`, re-targeting one that is open.
void OpenRenameDialog(Shell& main, int row);
void OpenCalcCondChangeDialog(Shell& main, int row);
// After entries were removed: close a rename or change dialog whose entry
// no longer exists.
void CloseDialogsOfRemovedEntries(Shell& main);
// The start button: the full calculation with its status dialog. Does
// nothing while one runs.
void StartFullCalculation(Shell& main);
// Stops a running full calculation and waits for its worker; for the main
// window before it goes away.
void StopFullCalculation(Shell& main);

}  // namespace zx
