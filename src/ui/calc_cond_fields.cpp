#include "ui/calc_cond_fields.h"

#include <QComboBox>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "app/platform.h"
#include "model/project.h"
#include "model/result_path.h"
#include "ui/flagged_dialog.h"
#include "ui/output_path.h"

namespace zx {

namespace {

void Refuse(QDialog* dialog, const char* field) {
  ShowWarning(dialog, QStringLiteral("不正な値の入力 : ") + QString::fromUtf8(field),
              QStringLiteral("エラー"));
}

}  // namespace

CalcCondFields::CalcCondFields(QDialog* dialog, const CalcCondIds& ids) : dialog_(dialog) {
  auto* grid = new QGridLayout(dialog);
  auto label = [&](const char* text, int id) {
    return NameControl(new QLabel(QString::fromUtf8(text), dialog), id);
  };
  number = NameControl(new QComboBox(dialog), ids.number);
  temp = NameControl(new QLineEdit(dialog), ids.temp);
  field = NameControl(new QLineEdit(dialog), ids.field);
  folder = NameControl(new QLineEdit(dialog), ids.folder);
  folder->setReadOnly(true);
  folder->setMinimumWidth(260);
  browse = NameControl(new QPushButton(QStringLiteral("参照"), dialog), ids.browse);
  browse->setAutoDefault(false);
  name = NameControl(new QLineEdit(dialog), ids.name);

  grid->addWidget(label("関連付けデータファイル番号", ids.numberLabel), 0, 0);
  grid->addWidget(number, 0, 1);
  grid->addWidget(label("温度(K)", ids.tempLabel), 1, 0);
  grid->addWidget(temp, 1, 1);
  grid->addWidget(label("磁場(T)", ids.fieldLabel), 2, 0);
  grid->addWidget(field, 2, 1);
  grid->addWidget(label("計算結果出力フォルダ", ids.folderLabel), 3, 0, 1, 3);
  grid->addWidget(folder, 4, 0, 1, 2);
  grid->addWidget(browse, 4, 2);
  grid->addWidget(label("出力ファイル名", ids.nameLabel), 5, 0);
  grid->addWidget(name, 5, 1);

  action = NameControl(new QPushButton(QString::fromUtf8(ids.actionText), dialog), ids.action);
  action->setDefault(true);
  cancel = NameControl(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), dialog), ids.cancel);
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(action);
  buttons->addWidget(cancel);
  buttons->addStretch();
  grid->addLayout(buttons, 6, 0, 1, 3);
}

void CalcCondFields::Fill(int headNo, int selected, int calcMode) {
  number->clear();
  for (int n = 0; n <= headNo; ++n) number->addItem(QString::number(n));
  number->setCurrentIndex(selected >= 0 && selected <= headNo ? selected : -1);
  field->setEnabled(calcMode != 1);
}

void CalcCondFields::BrowseOutputFolder(const Project& p) {
  const QString start = QString::fromStdString(SplitAtLastSlash(p.SettingsFilePath).folder);
  std::optional<QString> chosen =
      ThePlatform().BrowseFolder(dialog_, QStringLiteral("計算結果出力フォルダの選択"), start);
  if (chosen && !chosen->isEmpty()) folder->setText(*chosen);
}

std::optional<CalcCondInput> CalcCondFields::Check(const Project& p) const {
  CalcCondInput in;
  const int headNo = p.DataFiles.HeadNo();
  in.relatedDatFileNo = number->currentIndex();
  // A condition must belong to a data file while there are any: a missing
  // selection would store -1, which no data file carries.
  if (in.relatedDatFileNo > headNo || (in.relatedDatFileNo < 0 && headNo >= 0)) {
    Refuse(dialog_, "関連付けデータファイル番号");
    return std::nullopt;
  }
  in.temp = EditNumber(temp->text());
  if (!(in.temp > 0.0 && in.temp < 400.0)) {
    Refuse(dialog_, "温度");
    return std::nullopt;
  }
  if (p.Settings.CalcMode != 1) {
    in.magField = EditNumber(field->text());
    if (!(in.magField > 0.0 && in.magField < 100.0)) {
      Refuse(dialog_, "磁場");
      return std::nullopt;
    }
  }
  if (folder->text().isEmpty()) {
    Refuse(dialog_, "計算結果出力フォルダ");
    return std::nullopt;
  }
  if (name->text().isEmpty()) {
    Refuse(dialog_, "出力ファイル名");
    return std::nullopt;
  }
  in.outpFilePath = JoinOutputPath(folder->text().toStdString(), name->text().toStdString());
  // The full calculation would write its curve over the measurement or the project.
  if (const ResultPathClash clash = CheckResultPath(p, in.outpFilePath);
      clash != ResultPathClash::None) {
    ShowWarning(dialog_, QString::fromUtf8(ResultPathClashText(clash)), QStringLiteral("エラー"));
    return std::nullopt;
  }
  return in;
}

}  // namespace zx
