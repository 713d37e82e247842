// The fields, checks and messages that the condition registration dialog
// (109) and the condition change dialog (121) share.
#pragma once

#include <optional>
#include <string>

class QComboBox;
class QDialog;
class QLineEdit;
class QPushButton;

namespace zx {

struct Project;

struct CalcCondIds {
  int numberLabel, number, tempLabel, temp, fieldLabel, field, folderLabel, folder, browse,
      nameLabel, name, action, cancel;
  const char* actionText;
};

// What a successful check yields.
struct CalcCondInput {
  int relatedDatFileNo = -1;
  double temp = 0.0;
  double magField = 0.0;  // 0 in Jc-B mode, where no field is asked for
  std::string outpFilePath;
};

class CalcCondFields {
 public:
  CalcCondFields(QDialog* dialog, const CalcCondIds& ids);

  // Offers the numbers 0 .. headNo and selects `selected` (none when it is
  // not among them). Disables the field edit in Jc-B mode.
  void Fill(int headNo, int selected, int calcMode);
  // Folder chooser starting at the settings file's folder.
  void BrowseOutputFolder(const Project& p);
  // The checks in their order; the first failure shows its message (owned
  // by the dialog) and gives nothing.
  std::optional<CalcCondInput> Check(const Project& p) const;

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
