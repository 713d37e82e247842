#include "ui/param_range_dialog.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

#include "app/main_window.h"
#include "model/format.h"
#include "ui/parameter_panel.h"

namespace zx {

namespace {

struct ParamRow {
  const char* name;  // as the group box and the messages show it
  int groupId, minLabelId, maxLabelId, minId, maxId;
  double lowest, highest;  // allowed values of either bound
  bool lowestExcluded;
  double CalcSettings::*minField;
  double CalcSettings::*maxField;
};

constexpr double kInf = std::numeric_limits<double>::infinity();
const ParamRow kRows[5] = {
    {"Am", 1107, 1108, 1109, 1102, 1015, 0.0, kInf, true, &CalcSettings::MiniRe_Am,
     &CalcSettings::MaxRe_Am},
    {"σ^2", 1110, 1111, 1112, 1103, 1016, 0.0, 1.0, false, &CalcSettings::MiniSigma_2,
     &CalcSettings::MaxSigma_2},
    {"γ", 1113, 1114, 1115, 1104, 1017, 0.0, 1.0, false, &CalcSettings::MiniRe_Gamma,
     &CalcSettings::MaxRe_Gamma},
    {"m", 1116, 1117, 1118, 1105, 1018, 1.0, kInf, false, &CalcSettings::MiniRe_m,
     &CalcSettings::MaxRe_m},
    {"g^2", 1119, 1120, 1121, 1106, 1019, 1.0, kInf, false, &CalcSettings::MiniRe_g_2,
     &CalcSettings::MaxRe_g_2},
};

// An infinite bound (a huge typed number) would give the slider no scale.
bool Allowed(const ParamRow& row, double v) {
  const bool aboveLowest = row.lowestExcluded ? v > row.lowest : v >= row.lowest;
  return aboveLowest && v <= row.highest && v < kInf;
}

}  // namespace

ParamRangeDialog::ParamRangeDialog(MainWindow& main)
    : FlaggedDialog(main, main.flags().ParamRangeDialogOpen, &main, 120,
                    QStringLiteral("パラメータ設定可能範囲変更ダイアログ")) {
  const CalcSettings& s = main.project().Settings;
  auto* layout = new QGridLayout(this);
  for (int i = 0; i < 5; ++i) {
    const ParamRow& row = kRows[i];
    auto* group = NameControl(new QGroupBox(QString::fromUtf8(row.name), this), row.groupId);
    auto* g = new QGridLayout(group);
    min_[i] = NameControl(
        new QLineEdit(QString::fromStdString(FormatSci(s.*row.minField, 6)), group), row.minId);
    max_[i] = NameControl(
        new QLineEdit(QString::fromStdString(FormatSci(s.*row.maxField, 6)), group), row.maxId);
    g->addWidget(NameControl(new QLabel(QStringLiteral("最小値"), group), row.minLabelId), 0, 0);
    g->addWidget(min_[i], 0, 1);
    g->addWidget(NameControl(new QLabel(QStringLiteral("最大値"), group), row.maxLabelId), 1, 0);
    g->addWidget(max_[i], 1, 1);
    layout->addWidget(group, i / 2, i % 2);
  }
  layout->addLayout(OkCancelButtons([this] { OkClicked(); }), 2, 1, Qt::AlignBottom);
}

void ParamRangeDialog::OkClicked() {
  double lo[5], hi[5];
  for (int i = 0; i < 5; ++i) {
    const ParamRow& row = kRows[i];
    const QString name = QString::fromUtf8(row.name);
    lo[i] = EditNumber(min_[i]->text());
    hi[i] = EditNumber(max_[i]->text());
    if (!Allowed(row, lo[i])) return RefuseInput(name + QStringLiteral("の最小値"));
    // Equal bounds would leave the slider no scale to move on.
    if (!Allowed(row, hi[i]) || !(lo[i] < hi[i]))
      return RefuseInput(name + QStringLiteral("の最大値"));
  }
  CalcSettings& s = main_.project().Settings;
  for (int i = 0; i < 5; ++i) {
    s.*kRows[i].minField = lo[i];
    s.*kRows[i].maxField = hi[i];
  }
  // The sliders stand for positions in the ranges: without this the next
  // step would jump from the old place.
  if (ParameterPanel* panel = main_.parameterPanel()) panel->PlaceSliders();
  accept();
}

}  // namespace zx
