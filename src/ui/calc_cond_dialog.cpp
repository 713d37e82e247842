#include "ui/calc_cond_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "ui/lists_panel.h"

namespace zx {

CalcCondDialog::CalcCondDialog(MainWindow& main)
    : FlaggedDialog(main, main.flags().CalcCondDialogOpen, &main, 109,
                    QStringLiteral("計算条件登録")) {
  fields_ = std::make_unique<CalcCondFields>(
      this, CalcCondIds{1050, 1018, 1016, 1014, 1017, 1015, 1051, 1019, 1020, 1054, 1021, 1052,
                        1053, "登録"});
  const Project& p = main.project();
  // The newest data file is the likeliest partner of a new condition.
  fields_->Fill(p.DataFiles.HeadNo(), p.DataFiles.HeadNo(), p.Settings.CalcMode);
  fields_->folder->setText(QString::fromStdString(p.ProgramFolder));
  connect(fields_->browse, &QPushButton::clicked, this,
          [this] { fields_->BrowseOutputFolder(main_.project()); });
  connect(fields_->action, &QPushButton::clicked, this, &CalcCondDialog::RegisterClicked);
  connect(fields_->cancel, &QPushButton::clicked, this, &QDialog::reject);
}

CalcCondDialog::~CalcCondDialog() = default;

void CalcCondDialog::RegisterClicked() {
  Project& p = main_.project();
  std::optional<CalcCondInput> in = fields_->Check(p);
  if (!in) return;
  const RegistryEntry& e =
      AddCalcCond(p, in->relatedDatFileNo, in->temp, in->magField, in->outpFilePath);
  if (ListsPanel* lists = main_.listsPanel()) lists->InsertCondRow(e, p.Settings.CalcMode);
  accept();
  main_.InvalidateGraph();
}

}  // namespace zx
