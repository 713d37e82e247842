// Registration of a measured data file: chosen with the file
// chooser, or handed over by a drop to a hidden instance that registers it
// at once.
#pragma once

#include <QString>

#include "ui/modeless_dialog.h"

class QLineEdit;

namespace zx {

class DataFileDialog : public ModelessDialog {
  Q_OBJECT

 public:
  explicit DataFileDialog(Shell& main);

  // The drop path: shows the path and registers it without the empty check.
  void RegisterDropped(const QString& path);

  QLineEdit* pathEdit() const { return path_; }
  void Browse();
  void RegisterClicked();
  void CancelClicked();

 private:
  // A file that looks raw is registered only when the user confirms.
  void Register(const QString& path, bool dropped);

  QLineEdit* path_ = nullptr;
  QString chosen_;  // the path the chooser gave last
};

}  // namespace zx
