// The fineness slider of the range dialogs, with the read-only edit that
// shows its level.
#pragma once

class QLineEdit;
class QSlider;
class QWidget;

namespace zx {

// Levels 1 .. maxLevel; `level` is brought into that range.
QSlider* MakeLevelSlider(QWidget* parent, int sliderId, int textId, int maxLevel, int level,
                         QLineEdit** text);

}  // namespace zx
