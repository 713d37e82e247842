#include "ui/calc_cond_fields.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/output_path.h"
#include "model/project.h"
#include "ui/modeless_dialog.h"
#include "ui/platform.h"

namespace zx {

CalcCondFields::CalcCondFields(QDialog* dialog, const CalcCondAction& actionButton)
    : dialog_(dialog) {
  auto* grid = new QGridLayout(dialog);
  auto label = [&](const char* text, const char* name) {
    return NameControl(new QLabel(QCoreApplication::translate("zx::CalcCondFields", text), dialog),
                       name);
  };
  number = NameControl(new QComboBox(dialog), "dataNumberCombo");
  temp = NameControl(new QLineEdit(dialog), "tempEdit");
  field = NameControl(new QLineEdit(dialog), "fieldEdit");
  folder = NameControl(new QLineEdit(dialog), "folderEdit");
  folder->setReadOnly(true);
  folder->setMinimumWidth(260);
  browse = NameControl(
      new QPushButton(QCoreApplication::translate("zx::CalcCondFields", "参照"), dialog),
      "browseButton");
  browse->setAutoDefault(false);
  name = NameControl(new QLineEdit(dialog), "fileNameEdit");

  grid->addWidget(label(QT_TRANSLATE_NOOP("zx::CalcCondFields", "関連付けデータファイル番号"),
                        "dataNumberLabel"),
                  0, 0);
  grid->addWidget(number, 0, 1);
  grid->addWidget(label(QT_TRANSLATE_NOOP("zx::CalcCondFields", "温度(K)"), "tempLabel"), 1, 0);
  grid->addWidget(temp, 1, 1);
  grid->addWidget(label(QT_TRANSLATE_NOOP("zx::CalcCondFields", "磁場(T)"), "fieldLabel"), 2, 0);
  grid->addWidget(field, 2, 1);
  grid->addWidget(
      label(QT_TRANSLATE_NOOP("zx::CalcCondFields", "計算結果出力フォルダ"), "folderLabel"), 3, 0,
      1, 3);
  grid->addWidget(folder, 4, 0, 1, 2);
  grid->addWidget(browse, 4, 2);
  grid->addWidget(label(QT_TRANSLATE_NOOP("zx::CalcCondFields", "出力ファイル名"), "fileNameLabel"),
                  5, 0);
  grid->addWidget(name, 5, 1);

  action = NameControl(
      new QPushButton(QCoreApplication::translate("zx::CalcCondFields", actionButton.text), dialog),
      actionButton.name);
  action->setDefault(true);
  cancel = NameControl(
      new QPushButton(QCoreApplication::translate("zx::CalcCondFields", "ｷｬﾝｾﾙ"), dialog),
      "cancelButton");
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(action);
  buttons->addWidget(cancel);
  buttons->addStretch();
  grid->addLayout(buttons, 6, 0, 1, 3);
}

void CalcCondFields::Fill(int headNo, int selected, CalcMode mode) {
  number->clear();
  for (int n = 0; n <= headNo; ++n) number->addItem(QString::number(n));
  number->setCurrentIndex(selected >= 0 && selected <= headNo ? selected : -1);
  field->setEnabled(mode != CalcMode::JcB);
}

void CalcCondFields::BrowseOutputFolder(const Project& p) {
  const QString start = QString::fromStdString(SplitAtLastSlash(p.SettingsFilePath).folder);
  std::optional<QString> chosen = ThePlatform().BrowseFolder(
      dialog_, QCoreApplication::translate("zx::CalcCondFields", "計算結果出力フォルダの選択"),
      start);
  if (chosen && !chosen->isEmpty()) folder->setText(*chosen);
}

CalcCondInput CalcCondFields::Read(const Project& p) const {
  CalcCondInput in;
  in.relatedDatFileNo = number->currentIndex();
  in.temp = EditNumber(temp->text());
  if (p.Settings.Mode != CalcMode::JcB) in.magField = EditNumber(field->text());
  in.folder = folder->text().toStdString();
  in.name = name->text().toStdString();
  return in;
}

}  // namespace zx
