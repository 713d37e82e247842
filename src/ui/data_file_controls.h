// What the data-file registration and rename dialogs share: the file
// chooser and the row of path edit and buttons.
#pragma once

#include <QString>

class QDialog;
class QLineEdit;
class QPushButton;
class QWidget;

namespace zx {

// The file chooser of both dialogs; empty when cancelled.
QString ChooseDataFile(QWidget* owner);

// The action button: registers or renames.
struct PathDialogAction {
  const char* name;
  const char* text;
};
struct PathDialogControls {
  QLineEdit* edit;
  QPushButton* browse;
  QPushButton* action;
  QPushButton* cancel;
};
// Label, read-only path edit and browse button, then the action and cancel
// buttons (the action button is the default one).
PathDialogControls BuildPathDialog(QDialog* dialog, const PathDialogAction& action);

}  // namespace zx
