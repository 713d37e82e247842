#include "ui/about_box.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/program_version.h"
#include "ui/shell.h"

namespace zx {

AboutBox::AboutBox(Shell& main)
    : ModelessDialog(main, DialogKind::About, &main.widget(), tr("ZentrixⅡ")) {
  auto* layout = new QHBoxLayout(this);
  auto* icon = new QLabel(this);
  icon->setObjectName(QStringLiteral("iconLabel"));
  icon->setPixmap(QIcon(QStringLiteral(":/zentrix2.svg")).pixmap(48, 48));
  layout->addWidget(icon);
  auto* texts = new QVBoxLayout;
  texts->addWidget(NameControl(new QLabel(QString::fromLatin1(kProgramName), this), "nameLabel"));
  texts->addWidget(
      NameControl(new QLabel(tr("バージョン %1").arg(QString::fromLatin1(kProgramVersion)), this),
                  "versionLabel"));
  layout->addLayout(texts);
  layout->addStretch();
  auto* ok = NameControl(new QPushButton(QStringLiteral("OK"), this), "okButton");
  ok->setDefault(true);
  auto* column = new QVBoxLayout;
  column->addStretch();
  column->addWidget(ok);
  layout->addLayout(column);
  setMinimumWidth(300);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace zx
