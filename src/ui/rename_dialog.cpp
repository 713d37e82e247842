#include "ui/rename_dialog.h"

#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "ui/data_file_controls.h"
#include "ui/lists_panel.h"
#include "ui/registry_lookup.h"

namespace zx {

RenameDialog::RenameDialog(MainWindow& main)
    : FlaggedDialog(main, main.flags().RenameDialogOpen, &main, 122,
                    QStringLiteral("データファイル名変更ダイアログ")) {
  PathDialogControls c = BuildPathDialog(this, {1133, 1137, 1134, 1135, 1136, "変更"});
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
    RefuseInput(QStringLiteral("データファイルパス"), QStringLiteral("エラー"));
    return;
  }
  Project& p = main_.project();
  RegistryEntry* e = FindByUid(p.DataFiles, uid_);
  if (!e) {
    // The entry was deleted meanwhile: there is nothing left to rename.
    reject();
    return;
  }
  p.Modified = true;
  e->Path = path_->text().toStdString();
  if (ListsPanel* lists = main_.listsPanel()) lists->UpdateDataRow(*e);
  if (SeriesEntry* s = p.DataSeries.Find(e->No)) s->Path = e->Path;
  accept();
  RequestRefit(p.View);
  main_.InvalidateGraph();
}

}  // namespace zx
