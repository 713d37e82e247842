// Driving the modeless dialogs of a main window: finding an open dialog by
// its kind, its controls by object name, and letting closed ones go.
#pragma once

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDialog>
#include <QLineEdit>

#include "model/settings_file.h"
#include "shell_fixture.h"
#include "ui/dialogs.h"
#include "ui/modeless_dialog.h"

namespace zx::test {

class DialogTest : public ShellTest {
 protected:
  // The open (not yet ended) dialog of a kind, or nullptr.
  ModelessDialog* Dialog(DialogKind kind) {
    for (auto* d : window->findChildren<ModelessDialog*>(DialogObjectName(kind)))
      if (!d->Ended()) return d;
    return nullptr;
  }
  int DialogCount(DialogKind kind) {
    Flush();
    return static_cast<int>(window->findChildren<ModelessDialog*>(DialogObjectName(kind)).size());
  }

  // The control of the dialog with the object name ("tempEdit"), or nullptr.
  template <class W = QWidget>
  static W* Child(QWidget* dialog, const char* name) {
    return dialog ? dialog->findChild<W*>(QLatin1String(name)) : nullptr;
  }
  static void SetText(QWidget* dialog, const char* name, const QString& text) {
    QLineEdit* e = Child<QLineEdit>(dialog, name);
    ASSERT_NE(e, nullptr) << name;
    e->setText(text);
  }
  static QString Text(QWidget* dialog, const char* name) {
    QLineEdit* e = Child<QLineEdit>(dialog, name);
    return e ? e->text() : QStringLiteral("<none>");
  }
  static void Click(QWidget* dialog, const char* name) {
    QAbstractButton* b = Child<QAbstractButton>(dialog, name);
    ASSERT_NE(b, nullptr) << name;
    b->click();
  }

  // Deletes dialogs that have ended.
  static void Flush() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

  // A main window over a project with `dataFiles` data files and the given
  // conditions (related number, temperature, field, result path).
  struct Cond {
    int related;
    double temp, field;
    std::string out;
  };
  MainWindow& StartWith(int dataFiles, const std::vector<Cond>& conds = {},
                        const std::function<void(Project&)>& adjust = {}) {
    Project p;
    p.ProgramFolder = Folder();
    for (int i = 0; i < dataFiles; ++i)
      AddDataFile(p, WriteData(QStringLiteral("d%1.dat").arg(i)).toStdString());
    for (const Cond& c : conds) AddCalcCond(p, c.related, c.temp, c.field, c.out);
    p.Params.IntStepNum = 60;
    if (adjust) adjust(p);
    const QString path = Path(QStringLiteral("project.zx2"));
    EXPECT_TRUE(WriteSettings(p, path.toStdString()));
    MainWindow& w = Start();
    EXPECT_TRUE(w.LoadProject(path));
    EditProject(w.document()).Modified = false;
    w.PaintNow();
    platform.messages.clear();
    return w;
  }

  QString LastMessage() const { return platform.LastMessage(); }
  int MessageCount() const { return static_cast<int>(platform.messages.size()); }
};

}  // namespace zx::test
