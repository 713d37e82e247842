#include "ui/calc_cond_change_dialog.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "model/format.h"
#include "ui/lists_panel.h"
#include "ui/output_path.h"
#include "ui/registry_lookup.h"

namespace zx {

CalcCondChangeDialog::CalcCondChangeDialog(MainWindow& main)
    : FlaggedDialog(main, main.flags().CalcCondChangeDialogOpen, &main, 121,
                    QStringLiteral("計算条件変更ダイアログ")) {
  fields_ = std::make_unique<CalcCondFields>(
      this,
      CalcCondIds{1122, 1123, 1124, 1126, 1125, 1127, 1128, 1129, 1130, 1131, 1132, 1, 2, "OK"});
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
  fields_->Fill(p.DataFiles.HeadNo(), e->RelatedDatFileNo, p.Settings.CalcMode);
  fields_->temp->setText(QString::fromStdString(FormatFixed(e->Temp, 6)));
  if (p.Settings.CalcMode != 1)
    fields_->field->setText(QString::fromStdString(FormatFixed(e->MagField, 6)));
  else
    fields_->field->clear();
  const SplitPath split = SplitAtLastSlash(e->OutpFilePath);
  fields_->folder->setText(QString::fromStdString(split.folder));
  fields_->name->setText(QString::fromStdString(split.name));
}

void CalcCondChangeDialog::OkClicked() {
  Project& p = main_.project();
  std::optional<CalcCondInput> in = fields_->Check(p);
  if (!in) return;
  RegistryEntry* e = FindByUid(p.CalcConds, uid_);
  if (!e) {
    // Deleted meanwhile: nothing left to change.
    reject();
    return;
  }
  p.Modified = true;
  // The curve keeps its colour and file; only the condition changes.
  e->RelatedDatFileNo = in->relatedDatFileNo;
  e->Mark = 0;
  e->Temp = in->temp;
  if (p.Settings.CalcMode != 1) e->MagField = in->magField;
  e->CorrCoef = 0.0;
  e->OutpFilePath = in->outpFilePath;
  if (ListsPanel* lists = main_.listsPanel()) lists->UpdateCondRow(*e, p.Settings.CalcMode);
  accept();
  main_.InvalidateGraph();
}

}  // namespace zx
