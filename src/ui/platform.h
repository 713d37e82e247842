// The few services of the desktop that the program asks the user through:
// message boxes, the file chooser and the folder browser. Tests replace the
// Qt implementation with scripted answers.
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace zx {

// YesNoDefaultNo: a question whose safe answer is no; Enter answers it.
enum class MsgButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgIcon { None, Warning, Information, Question };
enum class MsgAnswer { Ok, Yes, No, Cancel };

class Platform {
 public:
  virtual ~Platform() = default;
  virtual MsgAnswer MessageBox(QWidget* owner, const QString& text, const QString& caption,
                               MsgButtons buttons, MsgIcon icon) = 0;
  // filter: Qt name filter, e.g. ".zx2ファイル(*.zx2)". Empty when cancelled.
  virtual std::optional<QString> OpenFile(QWidget* owner, const QString& title,
                                          const QString& filter) = 0;
  // Several files at once; by default one, from OpenFile.
  virtual std::optional<QStringList> OpenFiles(QWidget* owner, const QString& title,
                                               const QString& filter) {
    std::optional<QString> one = OpenFile(owner, title, filter);
    if (!one) return std::nullopt;
    return QStringList{*one};
  }
  // Asks before overwriting an existing file.
  virtual std::optional<QString> SaveFile(QWidget* owner, const QString& title,
                                          const QString& filter) = 0;
  virtual std::optional<QString> BrowseFolder(QWidget* owner, const QString& title,
                                              const QString& startFolder) = 0;
};

// The process-wide platform; the Qt one unless a test installed another.
Platform& ThePlatform();
void SetPlatform(Platform* platform);  // nullptr restores the Qt one

// Shorthands for the common boxes.
MsgAnswer ShowMessage(QWidget* owner, const QString& text, const QString& caption = {},
                      MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None);
inline void ShowWarning(QWidget* owner, const QString& text, const QString& caption = {}) {
  ShowMessage(owner, text, caption, MsgButtons::Ok, MsgIcon::Warning);
}

}  // namespace zx
