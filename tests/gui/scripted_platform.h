// A platform whose message boxes, file choosers and folder browser answer
// from a script, recording what the program showed.
#pragma once

#include <QString>
#include <deque>
#include <optional>
#include <vector>

#include "ui/platform.h"

namespace zx::test {

struct ShownMessage {
  QString text;
  QString caption;
  MsgButtons buttons;
  MsgIcon icon;
};

class ScriptedPlatform : public Platform {
 public:
  ScriptedPlatform() { SetPlatform(this); }
  ~ScriptedPlatform() override { SetPlatform(nullptr); }

  // Answers in order; a box without a scripted answer gets Ok / No / Cancel.
  std::deque<MsgAnswer> answers;
  // Chosen paths in order; an empty optional (or none left) cancels.
  std::deque<std::optional<QString>> files;
  std::deque<std::optional<QString>> folders;

  std::vector<ShownMessage> messages;
  std::vector<QString> fileTitles;
  std::vector<QString> fileFilters;
  std::vector<QString> folderStarts;

  MsgAnswer MessageBox(QWidget*, const QString& text, const QString& caption, MsgButtons buttons,
                       MsgIcon icon) override {
    messages.push_back({text, caption, buttons, icon});
    if (!answers.empty()) {
      MsgAnswer a = answers.front();
      answers.pop_front();
      return a;
    }
    switch (buttons) {
      case MsgButtons::Ok:
        return MsgAnswer::Ok;
      case MsgButtons::YesNo:
      case MsgButtons::YesNoDefaultNo:
        return MsgAnswer::No;
      case MsgButtons::YesNoCancel:
        return MsgAnswer::Cancel;
    }
    return MsgAnswer::Ok;
  }

  std::optional<QString> OpenFile(QWidget*, const QString& title, const QString& filter) override {
    return NextFile(title, filter);
  }
  // One scripted answer; several files are separated by newlines.
  std::optional<QStringList> OpenFiles(QWidget*, const QString& title,
                                       const QString& filter) override {
    std::optional<QString> f = NextFile(title, filter);
    if (!f) return std::nullopt;
    return f->split(QLatin1Char('\n'));
  }
  std::optional<QString> SaveFile(QWidget*, const QString& title, const QString& filter) override {
    return NextFile(title, filter);
  }
  std::optional<QString> BrowseFolder(QWidget*, const QString&, const QString& start) override {
    folderStarts.push_back(start);
    if (folders.empty()) return std::nullopt;
    std::optional<QString> f;
    f.swap(folders.front());
    folders.pop_front();
    return f;
  }

  QString LastMessage() const { return messages.empty() ? QString() : messages.back().text; }

 private:
  std::optional<QString> NextFile(const QString& title, const QString& filter) {
    fileTitles.push_back(title);
    fileFilters.push_back(filter);
    if (files.empty()) return std::nullopt;
    std::optional<QString> f;
    f.swap(files.front());
    files.pop_front();
    return f;
  }
};

}  // namespace zx::test
