#include "ui/mode_dialog.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

ModeDialog::ModeDialog(Shell& main)
    : ModelessDialog(main, DialogKind::Mode, &main.widget(), tr("計算モード変更")) {
  auto* layout = new QVBoxLayout(this);
  auto* group = NameControl(new QGroupBox(tr("計算モード"), this), "modeGroup");
  auto* g = new QVBoxLayout(group);
  ej_ = NameControl(new QRadioButton(tr("E-J計算"), group), "ejRadio");
  jcb_ = NameControl(new QRadioButton(tr("Jc-B計算"), group), "jcbRadio");
  g->addWidget(ej_);
  g->addWidget(jcb_);
  layout->addWidget(group);
  const CalcMode mode = main.project().Settings.Mode;
  if (mode == CalcMode::EJ) ej_->setChecked(true);
  if (mode == CalcMode::JcB) jcb_->setChecked(true);

  layout->addLayout(OkCancelButtons([this] { OkClicked(); }));
}

void ModeDialog::OkClicked() {
  const Project& p = main_.project();
  const CalcMode old = p.Settings.Mode;
  CalcMode mode = old;
  if (ej_->isChecked()) mode = CalcMode::EJ;
  if (jcb_->isChecked()) mode = CalcMode::JcB;
  if (mode == old) {
    accept();
    return;
  }
  if (!p.DataFiles.Empty()) {
    const MsgAnswer answer =
        ShowMessage(this,
                    tr("計算モードを変更します。現在登録されているデータファイル、\n"
                       "計算条件をクリアします。よろしいですか？"),
                    tr("計算モード変更の確認"), MsgButtons::YesNo);
    if (answer != MsgAnswer::Yes) {
      reject();
      return;
    }
  }
  // The mode is stored at the next save; switching alone changes no file.
  SetCalcMode(main_.document(), mode);
  accept();
}

}  // namespace zx
