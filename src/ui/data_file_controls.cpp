#include "ui/data_file_controls.h"

#include <QCoreApplication>
#include <QDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/modeless_dialog.h"
#include "ui/platform.h"

namespace zx {

QString ChooseDataFile(QWidget* owner) {
  std::optional<QString> path = ThePlatform().OpenFile(
      owner, QCoreApplication::translate("zx::DataFileControls", "データファイルを選択"),
      QCoreApplication::translate(
          "zx::DataFileControls",
          "テキストファイル(*.txt), データファイル(*.dat) (*.txt *.TXT *.dat *.DAT)"));
  return path ? *path : QString();
}

PathDialogControls BuildPathDialog(QDialog* dialog, const PathDialogAction& action) {
  auto* grid = new QGridLayout(dialog);
  grid->addWidget(NameControl(new QLabel(QCoreApplication::translate("zx::DataFileControls",
                                                                     "データファイルパス"),
                                         dialog),
                              "pathLabel"),
                  0, 0, 1, 2);
  PathDialogControls c{};
  c.edit = new QLineEdit(dialog);
  c.edit->setReadOnly(true);
  c.edit->setMinimumWidth(320);
  NameControl(c.edit, "pathEdit");
  c.browse = new QPushButton(QCoreApplication::translate("zx::DataFileControls", "参照"), dialog);
  c.browse->setAutoDefault(false);
  NameControl(c.browse, "browseButton");
  grid->addWidget(c.edit, 1, 0);
  grid->addWidget(c.browse, 1, 1);

  c.action =
      new QPushButton(QCoreApplication::translate("zx::DataFileControls", action.text), dialog);
  c.action->setDefault(true);
  NameControl(c.action, action.name);
  c.cancel = new QPushButton(QCoreApplication::translate("zx::DataFileControls", "ｷｬﾝｾﾙ"), dialog);
  c.cancel->setAutoDefault(false);
  NameControl(c.cancel, "cancelButton");
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(c.action);
  buttons->addWidget(c.cancel);
  buttons->addStretch();
  grid->addLayout(buttons, 2, 0, 1, 2);
  return c;
}

}  // namespace zx
