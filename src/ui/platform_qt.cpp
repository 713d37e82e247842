#include <QFileDialog>
#include <QMessageBox>

#include "ui/japanese_texts.h"
#include "ui/platform.h"

namespace zx {

namespace {

class QtPlatform final : public Platform {
 public:
  MsgAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                       MsgButtons buttons, MsgIcon icon) override {
    InstallJapaneseTexts();
    QMessageBox box(owner);
    box.setText(text);
    // An empty caption reads as an error-box title on many desktops.
    box.setWindowTitle(caption.isEmpty() ? QStringLiteral("ZENTRIX II") : caption);
    switch (icon) {
      case MsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
      case MsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
      case MsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
      case MsgIcon::None:
        break;
    }
    switch (buttons) {
      case MsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
      case MsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
      case MsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
      case MsgButtons::YesNoDefaultNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::No);
        break;
    }
    switch (box.exec()) {
      case QMessageBox::Yes:
        return MsgAnswer::Yes;
      case QMessageBox::No:
        return MsgAnswer::No;
      case QMessageBox::Cancel:
        return MsgAnswer::Cancel;
      default:
        return buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::Cancel;
    }
  }

  std::optional<QStringList> OpenFiles(QWidget* owner, const QString& title,
                                       const QString& filter) override {
    InstallJapaneseTexts();
    QStringList paths = QFileDialog::getOpenFileNames(owner, title, QString(), filter);
    if (paths.isEmpty()) return std::nullopt;
    return paths;
  }

  std::optional<QString> OpenFile(QWidget* owner, const QString& title,
                                  const QString& filter) override {
    InstallJapaneseTexts();
    QString path = QFileDialog::getOpenFileName(owner, title, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
  }

  std::optional<QString> SaveFile(QWidget* owner, const QString& title,
                                  const QString& filter) override {
    InstallJapaneseTexts();
    QString path = QFileDialog::getSaveFileName(owner, title, QString(), filter);
    if (path.isEmpty()) return std::nullopt;
    return path;
  }

  std::optional<QString> BrowseFolder(QWidget* owner, const QString& title,
                                      const QString& startFolder) override {
    InstallJapaneseTexts();
    QString path = QFileDialog::getExistingDirectory(owner, title, startFolder);
    if (path.isEmpty()) return std::nullopt;
    return path;
  }
};

Platform* g_platform = nullptr;

}  // namespace

Platform& ThePlatform() {
  static QtPlatform qt;
  return g_platform ? *g_platform : qt;
}

void SetPlatform(Platform* platform) { g_platform = platform; }

MsgAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption,
                      MsgButtons buttons, MsgIcon icon) {
  return ThePlatform().MessageBox(owner, text, caption, buttons, icon);
}

}  // namespace zx
