// The fields that the condition registration dialog and the condition
// change dialog share.
#pragma once

#include "model/validation.h"

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;

namespace zx {

struct Project;

// The action button: registers or changes the condition.
struct CalcCondAction {
  const char* name;
  const char* text;
};

class CalcCondFields {
 public:
  CalcCondFields(QDialog* dialog, const CalcCondAction& action);

  // Offers the numbers 0 .. headNo and selects `selected` (none when it is
  // not among them). Disables the field edit in Jc-B mode.
  void Fill(int headNo, int selected, CalcMode mode);
  // Folder chooser starting at the settings file's folder.
  void BrowseOutputFolder(const Project& p);
  // The fields as typed (the field edit is not read in Jc-B mode).
  CalcCondInput Read(const Project& p) const;

  QComboBox* number = nullptr;
  QLineEdit* temp = nullptr;
  QLineEdit* field = nullptr;
  QLineEdit* folder = nullptr;
  QLineEdit* name = nullptr;
  QPushButton* browse = nullptr;
  QPushButton* action = nullptr;
  QPushButton* cancel = nullptr;

 private:
  QDialog* dialog_;
};

}  // namespace zx
