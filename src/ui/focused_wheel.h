// Sliders that take the mouse wheel only while they have the keyboard
// focus: a wheel turned over the panel must not change a parameter (and
// discard a typed value) on its way to somewhere else.
#pragma once

class QWidget;

namespace zx {

void TakeWheelOnlyWhenFocused(QWidget* control);

}  // namespace zx
