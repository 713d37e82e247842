#include "ui/param_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/main_window.h"
#include "model/format.h"
#include "model/param_ranges.h"

namespace zx {

namespace {

// Control ids of each parameter's group box, labels and edits.
struct RowIds {
  int groupId, minLabelId, maxLabelId, minId, maxId;
};
const RowIds kRows[5] = {{1107, 1108, 1109, 1102, 1015},
                         {1110, 1111, 1112, 1103, 1016},
                         {1113, 1114, 1115, 1104, 1017},
                         {1116, 1117, 1118, 1105, 1018},
                         {1119, 1120, 1121, 1106, 1019}};

}  // namespace

ParamRangeDialog::ParamRangeDialog(MainWindow& main)
    : FlaggedDialog(main, main.flags().ParamRangeDialogOpen, &main, 120,
                    QStringLiteral("パラメータ設定可能範囲変更ダイアログ")) {
  const CalcSettings& s = main.project().Settings;
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < 5; ++i) {
    const RowIds& row = kRows[i];
    const ParamRangeRule& rule = ParamRangeRules()[static_cast<std::size_t>(i)];
    auto* group = NameControl(new QGroupBox(QString::fromUtf8(rule.name), this), row.groupId);
    auto* g = new QGridLayout(group);
    min_[i] = NameControl(
        new QLineEdit(QString::fromStdString(FormatSci(s.*rule.minField, 6)), group), row.minId);
    max_[i] = NameControl(
        new QLineEdit(QString::fromStdString(FormatSci(s.*rule.maxField, 6)), group), row.maxId);
    g->addWidget(NameControl(new QLabel(QStringLiteral("最小値"), group), row.minLabelId), 0, 0);
    g->addWidget(min_[i], 0, 1);
    g->addWidget(NameControl(new QLabel(QStringLiteral("最大値"), group), row.maxLabelId), 1, 0);
    g->addWidget(max_[i], 1, 1);
    layout->addWidget(group, i / 2, i % 2);
  }
  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 2, 1, Qt::AlignBottom);
}

void ParamRangeDialog::OkClicked() {
  std::array<double, 5> lo, hi;
  for (std::size_t i = 0; i < 5; ++i) {
    lo[i] = EditNumber(min_[i]->text());
    hi[i] = EditNumber(max_[i]->text());
  }
  if (const auto refusal = CheckParamRanges(lo, hi))
    return RefuseInput(QString::fromStdString(RangeRefusalField(*refusal)));
  StoreParamRanges(main_.project().Settings, lo, hi);
  accept();
}

}  // namespace zx
