// Helpers every dialog and panel uses: the menu font for controls, the
// placement of a freshly created dialog, and writing list-view rows.
#pragma once

#include <QStringList>

class QTableWidget;
class QWidget;

namespace zx {

// Gives the control the platform's menu font.
void ApplyMenuFont(QWidget* control);
// Centres a dialog over the main window (truncating toward zero), shows it
// and gives the keyboard focus to its first tab stop.
void CenterOnMainWindow(QWidget* dialog, QWidget* mainWindow);
// Focuses the first control of the dialog's tab order, as a dialog opens;
// the dialog itself when it has none.
void FocusFirstTabStop(QWidget* dialog);

void SetListCell(QTableWidget* list, int row, int column, const QString& text);
// Inserts a row at `row` (rows from there move down) and fills its columns.
void InsertListRow(QTableWidget* list, int row, const QStringList& texts);

}  // namespace zx
