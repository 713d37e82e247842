// Base of the modeless dialogs: its place among the open dialogs while it
// is open, deletion on close, the input-error box and the OK/cancel row.
#pragma once

#include <QDialog>
#include <QHBoxLayout>
#include <QString>
#include <functional>

#include "ui/dialog_helpers.h"
#include "ui/open_dialogs.h"

namespace zx {

class Shell;

class ModelessDialog : public QDialog {
  Q_OBJECT

 public:
  // Counts as the open dialog of its kind now; done() ends that on every
  // way the dialog ends (OK, cancel, close box, Escape).
  ModelessDialog(Shell& main, DialogKind kind, QWidget* owner, const QString& title);

  // True once the dialog has ended; it is deleted later.
  bool Ended() const { return ended_; }

  void done(int result) override;

 protected:
  // "不正な値の入力 : " + field, with a warning icon, owned by the dialog.
  void RefuseInput(const QString& field, const QString& caption = {});
  // A message of the document, with a warning icon, owned by the dialog.
  void Refuse(const std::string& message, const QString& caption = {});
  // The right-aligned "OK" (okButton, default) and "ｷｬﾝｾﾙ" (cancelButton)
  // buttons; OK runs onOk, cancel rejects the dialog.
  QHBoxLayout* OkCancelButtons(std::function<void()> onOk);

  Shell& main_;

 private:
  DialogKind kind_;
  bool ended_ = false;
};

// The object name of the dialog of a kind: "calcCondDialog" and so on.
QString DialogObjectName(DialogKind kind);

// Names a modeless window of that kind (the fit, the map) and makes it a
// window of its own, with a size grip and minimise and maximise buttons,
// deleted on close.
void SetUpOwnWindow(QDialog* window, DialogKind kind, const QString& title);

// Brings the open window of that kind to the front; false when none is open.
bool RaiseOpenWindow(Shell& main, DialogKind kind);
// Keeps a new window of its own on the shell's list of open windows until
// it finishes.
void TrackOwnWindow(Shell& main, DialogKind kind, QDialog* window);
// Shows a window placed beside the main window in front.
void ShowInFront(QDialog* window);

// Names the control and gives it the menu font.
template <class W>
W* NameControl(W* widget, const QString& name) {
  widget->setObjectName(name);
  ApplyMenuFont(widget);
  return widget;
}

// The text of an edit box as a number, read like the C library's atof (a
// text without a leading number reads as 0).
double EditNumber(const QString& text);

}  // namespace zx
