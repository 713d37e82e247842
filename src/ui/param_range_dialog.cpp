#include "ui/param_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/format.h"
#include "model/param_table.h"
#include "ui/shell.h"

namespace zx {

ParamRangeDialog::ParamRangeDialog(Shell& main)
    : ModelessDialog(main, DialogKind::ParamRange, &main.widget(),
                     tr("パラメータ設定可能範囲変更ダイアログ")) {
  const ParamRanges ranges = ParamRangesOf(main.project().Settings);
  auto* layout = new QGridLayout(this);
  for (const ParamRow& row : PinningRows()) {
    const int i = static_cast<int>(row.id);
    // The row's controls: amRangeGroup, amMinLabel, amMinEdit, ...
    auto name = [&row](const char* control) -> QString {
      return QLatin1String(row.controlName) + QLatin1String(control);
    };
    auto* group =
        NameControl(new QGroupBox(QString::fromUtf8(row.symbol), this), name("RangeGroup"));
    auto* g = new QGridLayout(group);
    min_[i] = NameControl(new QLineEdit(QString::fromStdString(FormatSci(ranges.lo[i], 6)), group),
                          name("MinEdit"));
    max_[i] = NameControl(new QLineEdit(QString::fromStdString(FormatSci(ranges.hi[i], 6)), group),
                          name("MaxEdit"));
    g->addWidget(NameControl(new QLabel(tr("最小値"), group), name("MinLabel")), 0, 0);
    g->addWidget(min_[i], 0, 1);
    g->addWidget(NameControl(new QLabel(tr("最大値"), group), name("MaxLabel")), 1, 0);
    g->addWidget(max_[i], 1, 1);
    layout->addWidget(group, i / 2, i % 2);
  }
  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 2, 1, Qt::AlignBottom);
}

void ParamRangeDialog::OkClicked() {
  ParamRanges r;
  for (int i = 0; i < kPinningParamCount; ++i) {
    r.lo[i] = EditNumber(min_[i]->text());
    r.hi[i] = EditNumber(max_[i]->text());
  }
  const std::string refused = SetParamRanges(main_.document(), r);
  if (!refused.empty()) return Refuse(refused);
  accept();
}

}  // namespace zx
