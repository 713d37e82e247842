#include "ui/dialogs.h"

#include "app/main_window.h"

namespace zx {

// Placeholders until the dialogs exist.
void OpenCommandDialog(MainWindow&, int) {}
void RegisterDroppedDataFile(MainWindow&, const QString&) {}
void OpenRenameDialog(MainWindow&, int) {}
void OpenCalcCondChangeDialog(MainWindow&, int) {}
void CloseDialogsOfRemovedEntries(MainWindow&) {}
void StartFullCalculation(MainWindow&) {}

}  // namespace zx
