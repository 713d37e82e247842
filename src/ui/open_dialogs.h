// The modeless dialogs that are open: one of each kind at the most. A
// dialog counts from its creation until it ends (OK, cancel, close box,
// Escape); it is deleted later, and a deleted one never counts.
#pragma once

#include <QDialog>
#include <QPointer>
#include <array>
#include <cstddef>

namespace zx {

enum class DialogKind {
  DataFile,
  CalcCond,
  Axis,
  About,
  Mode,
  JRange,
  JcCondition,
  ParamRange,
  Status,
  Rename,
  CalcCondChange,
  Import,
  Fit,
  JcMap,
};
inline constexpr std::size_t kDialogKinds = 14;

class OpenDialogs {
 public:
  // The open dialog of the kind, or nullptr.
  QDialog* Find(DialogKind kind) const { return open_[Index(kind)]; }
  template <class D>
  D* Find(DialogKind kind) const {
    return static_cast<D*>(Find(kind));
  }
  bool IsOpen(DialogKind kind) const { return Find(kind) != nullptr; }

  void Opened(DialogKind kind, QDialog* dialog) { open_[Index(kind)] = dialog; }
  // Only the dialog that holds the place gives it up.
  void Ended(DialogKind kind, const QDialog* dialog) {
    if (open_[Index(kind)] == dialog) open_[Index(kind)] = nullptr;
  }

 private:
  static std::size_t Index(DialogKind kind) { return static_cast<std::size_t>(kind); }
  std::array<QPointer<QDialog>, kDialogKinds> open_;
};

}  // namespace zx
