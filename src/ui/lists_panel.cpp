#include "ui/lists_panel.h"

#include <QTableWidget>

#include "app/dialog_helpers.h"
#include "app/main_window.h"
#include "model/format.h"

namespace zx {

namespace {

QString FileName(const std::string& path) {
  std::size_t slash = path.rfind('/');
  return QString::fromStdString(slash == std::string::npos ? path : path.substr(slash + 1));
}

}  // namespace

// Minimal version; the full panel (colours, layout, double click, drops)
// replaces it.
ListsPanel::ListsPanel(MainWindow& main, QWidget* parent) : QWidget(parent), main_(main) {
  setGeometry(0, 358, 470, 178);
  dataList_ = new QTableWidget(0, 3, this);
  dataList_->setGeometry(0, 0, 470, 89);
  condList_ = new QTableWidget(0, 6, this);
  condList_->setGeometry(0, 89, 470, 89);
  FillListsPanel();
}

void ListsPanel::FillListsPanel() {
  const Project& p = main_.project();
  for (const RegistryEntry& e : p.DataFiles.items) InsertDataRow(e);
  for (const RegistryEntry& e : p.CalcConds.items) InsertCondRow(e, p.Settings.CalcMode);
}

void ListsPanel::DeleteRow(ListKind kind, int row) { list(kind)->removeRow(row); }

int ListsPanel::FirstSelectedRow(ListKind kind) const {
  QTableWidget* l = list(kind);
  for (int r = 0; r < l->rowCount(); ++r)
    for (int c = 0; c < l->columnCount(); ++c)
      if (l->item(r, c) && l->item(r, c)->isSelected()) return r;
  return -1;
}

QStringList ListsPanel::DataRowTexts(const RegistryEntry& e) {
  return {QString::number(e.No), QString::number(e.Mark), FileName(e.Path)};
}

QStringList ListsPanel::CondRowTexts(const RegistryEntry& e, int calcMode) {
  return {QString::number(e.RelatedDatFileNo), QString::number(e.Mark),
          QString::fromStdString(FormatFixed(e.Temp, 1)),
          calcMode == 1 ? QStringLiteral("?") : QString::fromStdString(FormatFixed(e.MagField, 1)),
          QString::fromStdString(FormatFixed(e.CorrCoef, 3)), FileName(e.OutpFilePath)};
}

void ListsPanel::InsertDataRow(const RegistryEntry& e) {
  InsertListRow(dataList_, e.No, DataRowTexts(e));
}

void ListsPanel::InsertCondRow(const RegistryEntry& e, int calcMode) {
  InsertListRow(condList_, e.No, CondRowTexts(e, calcMode));
}

void ListsPanel::UpdateDataRow(const RegistryEntry& e) {
  QStringList t = DataRowTexts(e);
  for (int c = 0; c < t.size(); ++c) SetListCell(dataList_, e.No, c, t[c]);
}

void ListsPanel::UpdateCondRow(const RegistryEntry& e, int calcMode) {
  QStringList t = CondRowTexts(e, calcMode);
  for (int c = 0; c < t.size(); ++c) SetListCell(condList_, e.No, c, t[c]);
}

void ListsPanel::SetCorrCoefText(int row, const QString& text) {
  SetListCell(condList_, row, 4, text);
}

}  // namespace zx
