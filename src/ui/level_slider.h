// The fineness slider of the range dialogs, with the read-only edit that
// shows its level.
#pragma once

class QLineEdit;
class QSlider;
class QWidget;

namespace zx {

// Levels 1 .. maxLevel; `level` is brought into that range. The slider is
// "levelSlider", the edit "levelEdit".
QSlider* MakeLevelSlider(QWidget* parent, int maxLevel, int level, QLineEdit** text);

}  // namespace zx
