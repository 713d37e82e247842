#include "ui/axis_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/format.h"
#include "ui/shell.h"

namespace zx {

AxisDialog::AxisDialog(Shell& main)
    : ModelessDialog(main, DialogKind::Axis, &main.widget(), tr("軸設定ダイアログ")) {
  const SavedAxes& g = main.project().Axes;
  auto* layout = new QVBoxLayout(this);
  auto* axes = new QHBoxLayout;
  layout->addLayout(axes);
  x_ = BuildAxis(tr("X軸設定"), tr("X軸オートスケール"), QStringLiteral("x"), g.X.type,
                 g.X.autoScale);
  y_ = BuildAxis(tr("Y軸設定"), tr("Y軸オートスケール"), QStringLiteral("y"), g.Y.type,
                 g.Y.autoScale);
  axes->addWidget(x_.type->parentWidget());
  axes->addWidget(y_.type->parentWidget());
  ShowRange(x_, true);
  ShowRange(y_, false);

  layout->addLayout(OkCancelButtons([this] { OkClicked(); }));

  // A click (not a programmatic change) switches between automatic and
  // manual; switching to manual offers the current effective range.
  connect(x_.autoScale, &QCheckBox::clicked, this, [this](bool on) {
    x_.min->setEnabled(!on);
    x_.max->setEnabled(!on);
    if (!on) ShowRange(x_, true);
  });
  connect(y_.autoScale, &QCheckBox::clicked, this, [this](bool on) {
    y_.min->setEnabled(!on);
    y_.max->setEnabled(!on);
    if (!on) ShowRange(y_, false);
  });
}

AxisDialog::AxisControls AxisDialog::BuildAxis(const QString& title, const QString& autoText,
                                               const QString& prefix, AxisScale type,
                                               bool autoScale) {
  auto name = [&prefix](const char* control) -> QString { return prefix + QLatin1String(control); };
  auto* group = NameControl(new QGroupBox(title, this), name("AxisGroup"));
  auto* g = new QGridLayout(group);
  AxisControls c;
  c.type = NameControl(new QComboBox(group), name("ScaleCombo"));
  c.type->addItem(tr("線形"));
  c.type->addItem(tr("対数"));
  c.type->setCurrentIndex(type == AxisScale::Log ? 1 : 0);
  c.autoScale = NameControl(new QCheckBox(autoText, group), name("AutoScaleCheck"));
  c.autoScale->setChecked(autoScale);
  c.min = NameControl(new QLineEdit(group), name("MinEdit"));
  c.max = NameControl(new QLineEdit(group), name("MaxEdit"));
  c.min->setEnabled(!autoScale);
  c.max->setEnabled(!autoScale);
  g->addWidget(c.type, 0, 0, 1, 2);
  g->addWidget(c.autoScale, 1, 0, 1, 2);
  g->addWidget(NameControl(new QLabel(tr("最小値"), group), name("MinLabel")), 2, 0);
  g->addWidget(c.min, 2, 1);
  g->addWidget(NameControl(new QLabel(tr("最大値"), group), name("MaxLabel")), 3, 0);
  g->addWidget(c.max, 3, 1);
  return c;
}

void AxisDialog::ShowRange(const AxisControls& c, bool x) {
  // The range the graph shows now.
  const GraphView& g = main_.viewState().View;
  const AxisView& a = x ? g.X : g.Y;
  c.min->setText(QString::fromStdString(FormatSci(a.Low, 2)));
  c.max->setText(QString::fromStdString(FormatSci(a.High, 2)));
}

bool AxisDialog::ReadAxis(const AxisControls& c, bool x, AxisSettings& a) {
  if (c.type->currentIndex() == 0) a.type = AxisScale::Linear;
  if (c.type->currentIndex() == 1) a.type = AxisScale::Log;
  if (c.autoScale->isChecked()) {
    a.autoScale = true;
    return true;
  }
  const double lo = EditNumber(c.min->text());
  const double hi = EditNumber(c.max->text());
  const QString axis = x ? QStringLiteral("X") : QStringLiteral("Y");
  if (!(lo > 0.0) && a.type == AxisScale::Log) {
    RefuseInput(tr("%1軸最小値").arg(axis), tr("エラー"));
    return false;
  }
  if (!(hi > 0.0) && a.type == AxisScale::Log) {
    RefuseInput(tr("%1軸最大値").arg(axis), tr("エラー"));
    return false;
  }
  a.autoScale = false;
  a.min = lo;
  a.max = hi;
  return true;
}

void AxisDialog::OkClicked() {
  AxisSettings x = main_.project().Axes.X;
  AxisSettings y = main_.project().Axes.Y;
  // Field by field: a refused Y bound leaves the X settings applied.
  if (!ReadAxis(x_, true, x) || !ReadAxis(y_, false, y)) {
    SetAxisSettings(main_.document(), x, y, AxisApply::Refused);
    return;
  }
  accept();
  SetAxisSettings(main_.document(), x, y, AxisApply::Accepted);
}

}  // namespace zx
