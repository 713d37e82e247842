#include "ui/j_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "model/format.h"
#include "ui/level_slider.h"
#include "ui/shell.h"

namespace zx {

JRangeDialog::JRangeDialog(Shell& main)
    : ModelessDialog(main, DialogKind::JRange, &main.widget(), tr("計算J範囲の設定")) {
  const CalcSettings& s = main.project().Settings;
  auto* layout = new QGridLayout(this);
  auto* group = NameControl(new QGroupBox(tr("J範囲"), this), "jRangeGroup");
  auto* g = new QGridLayout(group);
  jIni_ =
      NameControl(new QLineEdit(QString::fromStdString(FormatSci(s.JIni, 2)), group), "jStartEdit");
  jFin_ =
      NameControl(new QLineEdit(QString::fromStdString(FormatSci(s.JFin, 2)), group), "jEndEdit");
  g->addWidget(NameControl(new QLabel(tr("開始値"), group), "jStartLabel"), 0, 0);
  g->addWidget(jIni_, 0, 1);
  g->addWidget(NameControl(new QLabel(tr("終了値"), group), "jEndLabel"), 1, 0);
  g->addWidget(jFin_, 1, 1);
  layout->addWidget(group, 0, 0, 1, 3);

  // The grid table defines points per decade for levels 1 to 10 only.
  level_ = MakeLevelSlider(this, 10, s.JStepLevel, &levelText_);
  layout->addWidget(NameControl(new QLabel(tr("計算の細かさ"), this), "levelLabel"), 1, 0);
  layout->addWidget(level_, 1, 1);
  layout->addWidget(levelText_, 1, 2);

  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 2, 0, 1, 3);
}

void JRangeDialog::OkClicked() {
  const double jIni = EditNumber(jIni_->text());
  const double jFin = EditNumber(jFin_->text());
  const std::string refused = SetJRange(main_.document(), jIni, jFin, level_->value());
  if (!refused.empty()) return Refuse(refused);
  accept();
}

}  // namespace zx
