#include "ui/data_file_dialog.h"

#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

#include "ui/data_file_controls.h"
#include "ui/platform.h"
#include "ui/raw_data_question.h"
#include "ui/shell.h"

namespace zx {

DataFileDialog::DataFileDialog(Shell& main)
    : ModelessDialog(main, DialogKind::DataFile, &main.widget(), tr("データファイル登録")) {
  PathDialogControls c =
      BuildPathDialog(this, {"registerButton", QT_TRANSLATE_NOOP("zx::DataFileControls", "登録")});
  path_ = c.edit;
  // A typed path counts as much as a chosen one.
  path_->setReadOnly(false);
  connect(c.browse, &QPushButton::clicked, this, &DataFileDialog::Browse);
  connect(c.action, &QPushButton::clicked, this, &DataFileDialog::RegisterClicked);
  connect(c.cancel, &QPushButton::clicked, this, &DataFileDialog::CancelClicked);
}

void DataFileDialog::Browse() {
  QString path = ChooseDataFile(this);
  if (path.isEmpty()) return;
  path_->setText(path);
  chosen_ = path;
}

void DataFileDialog::RegisterClicked() {
  if (path_->text().isEmpty()) {
    RefuseInput(tr("データファイルパス"), tr("エラー"));
    return;
  }
  // The chooser offers existing files only; a typed path must name one too.
  const QString path = path_->text();
  if (path != chosen_ && !QFileInfo(path).isFile()) {
    ShowWarning(this, tr("データファイルが見つかりません。\n%1").arg(path), tr("エラー"));
    return;
  }
  Register(path, false);
}

void DataFileDialog::RegisterDropped(const QString& path) {
  path_->setText(path);
  Register(path, true);
}

void DataFileDialog::CancelClicked() {
  path_->clear();
  reject();
}

void DataFileDialog::Register(const QString& path, bool dropped) {
  // A dropped file's dialog is never shown: the question belongs to the window.
  QWidget* owner = dropped ? &main_.widget() : this;
  if (!ConfirmDataFileRegistration(owner, main_.viewState().View, path)) {
    if (dropped) reject();
    return;
  }
  // Paths are kept whole: cutting a long one would register another file.
  const std::string refused = AddDataFile(main_.document(), path.toStdString());
  if (!refused.empty()) {
    Refuse(refused);
    // A dropped file's dialog is never shown: it ends either way.
    if (!isVisible()) reject();
    return;
  }
  accept();
}

}  // namespace zx
