#include "ui/jc_condition_dialog.h"

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

namespace {

QString Sci(double v) { return QString::fromStdString(FormatSci(v, 2)); }

// A group box holding a start and an end edit.
QGroupBox* RangeGroup(QWidget* parent, const QString& title, int groupId, int startLabelId,
                      QLineEdit* start, int endLabelId, QLineEdit* end) {
  auto* group = NameControl(new QGroupBox(title, parent), groupId);
  auto* g = new QGridLayout(group);
  start->setParent(group);
  end->setParent(group);
  g->addWidget(NameControl(new QLabel(JcConditionDialog::tr("開始値"), group), startLabelId), 0, 0);
  g->addWidget(start, 0, 1);
  g->addWidget(NameControl(new QLabel(JcConditionDialog::tr("終了値"), group), endLabelId), 1, 0);
  g->addWidget(end, 1, 1);
  return group;
}

}  // namespace

JcConditionDialog::JcConditionDialog(Shell& main)
    : ModelessDialog(main, DialogKind::JcCondition, &main.widget(), 117, tr("Ec変更ダイアログ")) {
  const Project& p = main.project();
  const CalcSettings& s = p.Settings;
  auto* layout = new QGridLayout(this);
  jIni_ = NameControl(new QLineEdit(Sci(s.JIni)), 1100);
  jFin_ = NameControl(new QLineEdit(Sci(s.JFin)), 1101);
  bIni_ = NameControl(new QLineEdit(Sci(s.BIni)), 1103);
  bFin_ = NameControl(new QLineEdit(Sci(s.BFin)), 1104);
  layout->addWidget(RangeGroup(this, tr("J範囲"), 1097, 1098, jIni_, 1099, jFin_), 0, 0, 1, 3);
  layout->addWidget(RangeGroup(this, tr("B範囲"), 1102, 1105, bIni_, 1106, bFin_), 1, 0, 1, 3);

  auto* ecGroup = NameControl(new QGroupBox(tr("電界基準値(V/m)"), this), 1092);
  auto* eg = new QHBoxLayout(ecGroup);
  ec_ = NameControl(new QLineEdit(Sci(p.Params.E_c), ecGroup), 1093);
  eg->addWidget(ec_);
  layout->addWidget(ecGroup, 2, 0, 1, 3);

  level_ = MakeLevelSlider(this, 1096, 1095, 5, s.BStepLevel, &levelText_);
  layout->addWidget(NameControl(new QLabel(tr("計算の細かさ"), this), 1094), 3, 0);
  layout->addWidget(level_, 3, 1);
  layout->addWidget(levelText_, 3, 2);

  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 4, 0, 1, 3);
}

void JcConditionDialog::OkClicked() {
  JcConditions c;
  c.jIni = EditNumber(jIni_->text());
  c.jFin = EditNumber(jFin_->text());
  c.bIni = EditNumber(bIni_->text());
  c.bFin = EditNumber(bFin_->text());
  c.ec = EditNumber(ec_->text());
  c.bStepLevel = level_->value();
  const std::string refused = SetJcConditions(main_.document(), c);
  if (!refused.empty()) return Refuse(refused);
  accept();
}

}  // namespace zx
