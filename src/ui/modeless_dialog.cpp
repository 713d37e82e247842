#include "ui/modeless_dialog.h"

#include <QFontMetrics>
#include <QPushButton>

#include "model/format.h"
#include "ui/core_text.h"
#include "ui/dialog_helpers.h"
#include "ui/language.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

namespace {

// Room of the title bar beside the title: icon, buttons and margins.
constexpr int kTitleBarControls = 130;

}  // namespace

QString DialogObjectName(DialogKind kind) {
  switch (kind) {
    case DialogKind::DataFile:
      return QStringLiteral("dataFileDialog");
    case DialogKind::CalcCond:
      return QStringLiteral("calcCondDialog");
    case DialogKind::Axis:
      return QStringLiteral("axisDialog");
    case DialogKind::About:
      return QStringLiteral("aboutBox");
    case DialogKind::Mode:
      return QStringLiteral("modeDialog");
    case DialogKind::JRange:
      return QStringLiteral("jRangeDialog");
    case DialogKind::JcCondition:
      return QStringLiteral("jcConditionDialog");
    case DialogKind::ParamRange:
      return QStringLiteral("paramRangeDialog");
    case DialogKind::Status:
      return QStringLiteral("statusDialog");
    case DialogKind::Rename:
      return QStringLiteral("renameDialog");
    case DialogKind::CalcCondChange:
      return QStringLiteral("calcCondChangeDialog");
    case DialogKind::Import:
      return QStringLiteral("importDialog");
    case DialogKind::Fit:
      return QStringLiteral("fitDialog");
    case DialogKind::JcMap:
      return QStringLiteral("jcMapDialog");
  }
  return {};
}

void SetUpOwnWindow(QDialog* window, DialogKind kind, const QString& title) {
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->setObjectName(DialogObjectName(kind));
  window->setWindowTitle(title);
  window->setModal(false);
  window->setSizeGripEnabled(true);
  // A window of its own: the main window can come in front of it.
  window->setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
}

bool RaiseOpenWindow(Shell& main, DialogKind kind) {
  QDialog* open = main.dialogs().Find(kind);
  if (open) ShowInFront(open);
  return open != nullptr;
}

void TrackOwnWindow(Shell& main, DialogKind kind, QDialog* window) {
  main.dialogs().Opened(kind, window);
  QObject::connect(window, &QDialog::finished, window,
                   [&main, kind, window] { main.dialogs().Ended(kind, window); });
}

void ShowInFront(QDialog* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

ModelessDialog::ModelessDialog(Shell& main, DialogKind kind, QWidget* owner, const QString& title)
    : QDialog(owner), main_(main), kind_(kind) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(DialogObjectName(kind));
  setWindowTitle(title);
  // English titles are longer than the Japanese ones: the dialog grows so
  // that its title bar shows the title whole. Japanese keeps the sizes its
  // layouts give.
  if (CurrentLanguage() == Language::English) {
    // The window manager's font is not ours: a bold sans serif of the
    // same size stands for it.
    const QFont bold(QStringLiteral("Sans Serif"), font().pointSize(), QFont::Bold);
    setMinimumWidth(QFontMetrics(bold).horizontalAdvance(title) + kTitleBarControls);
  }
  setModal(false);
  main_.dialogs().Opened(kind_, this);
}

void ModelessDialog::done(int result) {
  if (!ended_) {
    ended_ = true;
    main_.dialogs().Ended(kind_, this);
  }
  QDialog::done(result);
}

void ModelessDialog::RefuseInput(const QString& field, const QString& caption) {
  ShowWarning(this, tr("不正な値の入力 : %1").arg(field), caption);
}

void ModelessDialog::Refuse(const std::string& message, const QString& caption) {
  ShowWarning(this, CoreText(message), caption);
}

double EditNumber(const QString& text) {
  // The edits of the dialogs hold at most 255 characters.
  return ParseLeadingDouble(text.left(255).toStdString());
}

QHBoxLayout* ModelessDialog::OkCancelButtons(std::function<void()> onOk) {
  auto* ok = NameControl(new QPushButton(QStringLiteral("OK"), this), QStringLiteral("okButton"));
  ok->setDefault(true);
  auto* cancel = NameControl(new QPushButton(tr("ｷｬﾝｾﾙ"), this), QStringLiteral("cancelButton"));
  cancel->setAutoDefault(false);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  connect(ok, &QPushButton::clicked, this, std::move(onOk));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  return buttons;
}

}  // namespace zx
