// The lists panel under the graph: the data-file list and the
// calculation-condition list, coloured like their series (the legend).
#pragma once

#include <QColor>
#include <QStringList>
#include <QWidget>
#include <vector>

#include "model/project.h"

class QTableWidget;

namespace zx {

class Shell;

class ListsPanel : public QWidget {
  Q_OBJECT

 public:
  ListsPanel(Shell& main, QWidget* parent);

  QTableWidget* dataList() const { return dataList_; }  // "dataFileList"
  QTableWidget* condList() const { return condList_; }  // "calcCondList"
  QTableWidget* list(ListKind kind) const {
    return kind == ListKind::DataFiles ? dataList_ : condList_;
  }

  // Appends one row per registry entry, in number order.
  void FillListsPanel();
  // Both lists anew from the registries.
  void RefillLists();
  void DeleteRow(ListKind kind, int row);
  // -1 when no row is selected.
  int FirstSelectedRow(ListKind kind) const;
  std::vector<int> SelectedRows(ListKind kind) const;

  // Row texts: number, mark, file name / related number, mark, temperature,
  // field ("?" in Jc-B mode), correlation, output file name.
  static QStringList DataRowTexts(const RegistryEntry& e);
  static QStringList CondRowTexts(const RegistryEntry& e, CalcMode mode, double corrCoef);
  void InsertDataRow(const RegistryEntry& e);
  void InsertCondRow(const RegistryEntry& e, CalcMode mode);
  void UpdateDataRow(const RegistryEntry& e);
  void UpdateCondRow(const RegistryEntry& e, CalcMode mode);
  // Column 4 of a condition row (the preview pass's coefficient).
  void SetCorrCoefText(int row, const QString& text);

  // Background of a row as the project stands now: the colour of its
  // series in the graph. Invalid when the row has no entry.
  QColor RowColor(ListKind kind, int row) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  QTableWidget* MakeList(ListKind kind, const QString& name, const QStringList& titles,
                         std::initializer_list<int> widths, int y);
  void OnDoubleClick(ListKind kind);

  Shell& main_;
  QTableWidget* dataList_ = nullptr;
  QTableWidget* condList_ = nullptr;
};

}  // namespace zx
