#include "ui/calc_cond_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "ui/shell.h"

namespace zx {

CalcCondDialog::CalcCondDialog(Shell& main)
    : ModelessDialog(main, DialogKind::CalcCond, &main.widget(), tr("計算条件登録")) {
  fields_ = std::make_unique<CalcCondFields>(
      this, CalcCondAction{"registerButton", QT_TRANSLATE_NOOP("zx::CalcCondFields", "登録")});
  const Project& p = main.project();
  // The newest data file is the likeliest partner of a new condition.
  fields_->Fill(p.DataFiles.HeadNo(), p.DataFiles.HeadNo(), p.Settings.Mode);
  fields_->folder->setText(QString::fromStdString(p.ProgramFolder));
  connect(fields_->browse, &QPushButton::clicked, this,
          [this] { fields_->BrowseOutputFolder(main_.project()); });
  connect(fields_->action, &QPushButton::clicked, this, &CalcCondDialog::RegisterClicked);
  connect(fields_->cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalcCondDialog::~CalcCondDialog() = default;

void CalcCondDialog::RegisterClicked() {
  const std::string refused = AddCalcCond(main_.document(), fields_->Read(main_.project()));
  if (!refused.empty()) return Refuse(refused, tr("エラー"));
  accept();
}

}  // namespace zx
