#include "ui/param_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/format.h"
#include "ui/shell.h"

namespace zx {

namespace {

// Ids of a row's group box, labels and edits.
struct RowIds {
  int group, minLabel, maxLabel, min, max;
};
const RowIds kRowIds[5] = {{1107, 1108, 1109, 1102, 1015},
                           {1110, 1111, 1112, 1103, 1016},
                           {1113, 1114, 1115, 1104, 1017},
                           {1116, 1117, 1118, 1105, 1018},
                           {1119, 1120, 1121, 1106, 1019}};

}  // namespace

ParamRangeDialog::ParamRangeDialog(Shell& main)
    : ModelessDialog(main, DialogKind::ParamRange, &main.widget(), 120,
                     tr("パラメータ設定可能範囲変更ダイアログ")) {
  const ParamRanges ranges = ParamRangesOf(main.project().Settings);
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < 5; ++i) {
    const RowIds& row = kRowIds[i];
    auto* group = NameControl(new QGroupBox(QString::fromUtf8(ParamRangeName(i)), this), row.group);
    auto* g = new QGridLayout(group);
    min_[i] = NameControl(new QLineEdit(QString::fromStdString(FormatSci(ranges.lo[i], 6)), group),
                          row.min);
    max_[i] = NameControl(new QLineEdit(QString::fromStdString(FormatSci(ranges.hi[i], 6)), group),
                          row.max);
    g->addWidget(NameControl(new QLabel(tr("最小値"), group), row.minLabel), 0, 0);
    g->addWidget(min_[i], 0, 1);
    g->addWidget(NameControl(new QLabel(tr("最大値"), group), row.maxLabel), 1, 0);
    g->addWidget(max_[i], 1, 1);
    layout->addWidget(group, i / 2, i % 2);
  }
  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 2, 1, Qt::AlignBottom);
}

void ParamRangeDialog::OkClicked() {
  ParamRanges r;
  for (int i = 0; i < 5; ++i) {
    r.lo[i] = EditNumber(min_[i]->text());
    r.hi[i] = EditNumber(max_[i]->text());
  }
  const std::string refused = SetParamRanges(main_.document(), r);
  if (!refused.empty()) return Refuse(refused);
  accept();
}

}  // namespace zx
