#include "ui/dialog_helpers.h"

#include <QApplication>
#include <QLineEdit>
#include <QTableWidget>

namespace zx {

void ApplyMenuFont(QWidget* control) {
  if (control) control->setFont(QApplication::font("QMenu"));
}

void CenterOnMainWindow(QWidget* dialog, QWidget* mainWindow) {
  QRect m = mainWindow->frameGeometry();
  QSize d = dialog->frameGeometry().size();
  if (!dialog->isVisible()) d = dialog->sizeHint().expandedTo(dialog->size());
  int x = static_cast<int>(m.left() + m.width() / 2.0 - d.width() / 2.0);
  int y = static_cast<int>(m.top() + m.height() / 2.0 - d.height() / 2.0);
  dialog->move(x, y);
  dialog->show();
  dialog->raise();
  dialog->activateWindow();
  FocusFirstTabStop(dialog);
}

void FocusFirstTabStop(QWidget* dialog) {
  for (QWidget* w = dialog->nextInFocusChain(); w && w != dialog; w = w->nextInFocusChain()) {
    if (dialog->isAncestorOf(w) && w->isVisibleTo(dialog) && w->isEnabled() &&
        (w->focusPolicy() & Qt::TabFocus)) {
      w->setFocus(Qt::TabFocusReason);
      // Typing replaces the first edit's text, as in any dialog.
      if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
      return;
    }
  }
  dialog->setFocus();
}

void SetListCell(QTableWidget* list, int row, int column, const QString& text) {
  if (!list || row < 0 || row >= list->rowCount() || column < 0 || column >= list->columnCount())
    return;
  QTableWidgetItem* item = list->item(row, column);
  if (!item) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled);
    list->setItem(row, column, item);
  }
  item->setText(text);
}

void InsertListRow(QTableWidget* list, int row, const QStringList& texts) {
  if (!list) return;
  if (row < 0) row = 0;
  if (row > list->rowCount()) row = list->rowCount();
  list->insertRow(row);
  for (int c = 0; c < texts.size() && c < list->columnCount(); ++c)
    SetListCell(list, row, c, texts[c]);
}

}  // namespace zx
