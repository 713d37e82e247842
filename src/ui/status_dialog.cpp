#include "ui/status_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/shell.h"

namespace zx {

StatusDialog::StatusDialog(Shell& main, QWidget* owner)
    : ModelessDialog(main, DialogKind::Status, owner, tr("計算状況ダイアログ")) {
  auto* layout = new QVBoxLayout(this);
  auto* note = new QLabel(tr("ただいま計算中です。"), this);
  note->setObjectName(QStringLiteral("note"));
  ApplyMenuFont(note);
  layout->addWidget(note);
  bar_ = NameControl(new QProgressBar(this), "progressBar");
  bar_->setRange(0, 1000);
  bar_->setValue(0);
  bar_->setMinimumWidth(260);
  layout->addWidget(bar_);
  auto* cancel = NameControl(new QPushButton(tr("ｷｬﾝｾﾙ"), this), "cancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(this, &QDialog::rejected, this, &StatusDialog::CancelRequested);
}

void StatusDialog::SetProgress(int permille) { bar_->setValue(permille); }

void StatusDialog::Finish() { accept(); }

}  // namespace zx
