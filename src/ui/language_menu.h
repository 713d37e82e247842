// The menu "言語 / Language" of ヘルプ: the choice of the windows' language
// for the next start.
#pragma once

class QMenu;
class QWidget;

namespace zx {

// Adds the submenu with its two checkable items to `parent`. Its caption
// and items name each language in its own script, so that a user who
// reads only one of them finds the way back.
QMenu* AddLanguageMenu(QMenu* parent, QWidget* owner);

}  // namespace zx
