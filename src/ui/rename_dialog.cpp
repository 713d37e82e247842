#include "ui/rename_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/data_file_controls.h"
#include "ui/raw_data_question.h"
#include "ui/registry_lookup.h"
#include "ui/shell.h"

namespace zx {

RenameDialog::RenameDialog(Shell& main)
    : ModelessDialog(main, DialogKind::Rename, &main.widget(),
                     tr("データファイル名変更ダイアログ")) {
  PathDialogControls c =
      BuildPathDialog(this, {"changeButton", QT_TRANSLATE_NOOP("zx::DataFileControls", "変更")});
  path_ = c.edit;
  connect(c.browse, &QPushButton::clicked, this, &RenameDialog::Browse);
  connect(c.action, &QPushButton::clicked, this, &RenameDialog::ChangeClicked);
  connect(c.cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void RenameDialog::Target(int no) {
  const RegistryEntry* e = main_.project().DataFiles.Find(no);
  if (!e) return;
  uid_ = e->Uid;
  path_->setText(QString::fromStdString(e->Path));
}

void RenameDialog::Browse() {
  QString path = ChooseDataFile(this);
  if (!path.isEmpty()) path_->setText(path);
}

void RenameDialog::ChangeClicked() {
  if (path_->text().isEmpty()) {
    RefuseInput(tr("データファイルパス"), tr("エラー"));
    return;
  }
  if (!FindByUid(main_.project().DataFiles, uid_)) {
    // The entry was deleted meanwhile: there is nothing left to rename.
    reject();
    return;
  }
  const RegistryEntry* e = FindByUid(main_.project().DataFiles, uid_);
  if (QString::fromStdString(e->Path) != path_->text() &&
      !ConfirmDataFileRegistration(this, main_.viewState().View, path_->text()))
    return;
  const std::string refused = RenameDataFile(main_.document(), uid_, path_->text().toStdString());
  if (!refused.empty()) return Refuse(refused);
  accept();
}

}  // namespace zx
