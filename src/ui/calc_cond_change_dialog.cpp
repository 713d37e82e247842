#include "ui/calc_cond_change_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "model/format.h"
#include "model/output_path.h"
#include "ui/registry_lookup.h"
#include "ui/shell.h"

namespace zx {

CalcCondChangeDialog::CalcCondChangeDialog(Shell& main)
    : ModelessDialog(main, DialogKind::CalcCondChange, &main.widget(),
                     tr("計算条件変更ダイアログ")) {
  fields_ = std::make_unique<CalcCondFields>(
      this, CalcCondAction{"okButton", QT_TRANSLATE_NOOP("zx::CalcCondFields", "OK")});
  connect(fields_->browse, &QPushButton::clicked, this,
          [this] { fields_->BrowseOutputFolder(main_.project()); });
  connect(fields_->action, &QPushButton::clicked, this, &CalcCondChangeDialog::OkClicked);
  connect(fields_->cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalcCondChangeDialog::~CalcCondChangeDialog() = default;

void CalcCondChangeDialog::Target(int no) {
  const Project& p = main_.project();
  const RegistryEntry* e = p.CalcConds.Find(no);
  if (!e) return;
  uid_ = e->Uid;
  fields_->Fill(p.DataFiles.HeadNo(), e->RelatedDatFileNo, p.Settings.Mode);
  fields_->temp->setText(QString::fromStdString(FormatFixed(e->Temp, 6)));
  if (p.Settings.Mode != CalcMode::JcB)
    fields_->field->setText(QString::fromStdString(FormatFixed(e->MagField, 6)));
  else
    fields_->field->clear();
  const SplitPath split = SplitAtLastSlash(e->OutpFilePath);
  fields_->folder->setText(QString::fromStdString(split.folder));
  fields_->name->setText(QString::fromStdString(split.name));
}

void CalcCondChangeDialog::OkClicked() {
  const CalcCondInput in = fields_->Read(main_.project());
  if (const std::string refused = CheckCalcCond(main_.project(), in); !refused.empty())
    return Refuse(refused, tr("エラー"));
  if (!FindByUid(main_.project().CalcConds, uid_)) {
    // Deleted meanwhile: nothing left to change.
    reject();
    return;
  }
  const std::string refused = ChangeCalcCond(main_.document(), uid_, in);
  if (!refused.empty()) return Refuse(refused, tr("エラー"));
  accept();
}

}  // namespace zx
