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

// A group box holding a start and an end edit; its controls are named after
// `prefix` ("j": jRangeGroup, jStartLabel, jEndLabel).
QGroupBox* RangeGroup(QWidget* parent, const QString& title, const QString& prefix,
                      QLineEdit* start, QLineEdit* end) {
  auto* group = NameControl(new QGroupBox(title, parent), prefix + QStringLiteral("RangeGroup"));
  auto* g = new QGridLayout(group);
  start->setParent(group);
  end->setParent(group);
  g->addWidget(NameControl(new QLabel(JcConditionDialog::tr("開始値"), group),
                           prefix + QStringLiteral("StartLabel")),
               0, 0);
  g->addWidget(start, 0, 1);
  g->addWidget(NameControl(new QLabel(JcConditionDialog::tr("終了値"), group),
                           prefix + QStringLiteral("EndLabel")),
               1, 0);
  g->addWidget(end, 1, 1);
  return group;
}

}  // namespace

JcConditionDialog::JcConditionDialog(Shell& main)
    : ModelessDialog(main, DialogKind::JcCondition, &main.widget(), tr("Ec変更ダイアログ")) {
  const Project& p = main.project();
  const CalcSettings& s = p.Settings;
  auto* layout = new QGridLayout(this);
  jIni_ = NameControl(new QLineEdit(Sci(s.JIni)), "jStartEdit");
  jFin_ = NameControl(new QLineEdit(Sci(s.JFin)), "jEndEdit");
  bIni_ = NameControl(new QLineEdit(Sci(s.BIni)), "bStartEdit");
  bFin_ = NameControl(new QLineEdit(Sci(s.BFin)), "bEndEdit");
  layout->addWidget(RangeGroup(this, tr("J範囲"), QStringLiteral("j"), jIni_, jFin_), 0, 0, 1, 3);
  layout->addWidget(RangeGroup(this, tr("B範囲"), QStringLiteral("b"), bIni_, bFin_), 1, 0, 1, 3);

  auto* ecGroup = NameControl(new QGroupBox(tr("電界基準値(V/m)"), this), "ecGroup");
  auto* eg = new QHBoxLayout(ecGroup);
  ec_ = NameControl(new QLineEdit(Sci(p.Params.E_c), ecGroup), "ecEdit");
  eg->addWidget(ec_);
  layout->addWidget(ecGroup, 2, 0, 1, 3);

  level_ = MakeLevelSlider(this, 5, s.BStepLevel, &levelText_);
  layout->addWidget(NameControl(new QLabel(tr("計算の細かさ"), this), "levelLabel"), 3, 0);
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
