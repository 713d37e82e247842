#include "ui/lists_panel.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QMimeData>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QTimer>
#include <QToolTip>
#include <QUrl>

#include "model/format.h"
#include "ui/dialog_helpers.h"
#include "ui/dialogs.h"
#include "ui/shell.h"

namespace zx {

namespace {

constexpr int kPanelY = 358;
constexpr int kPanelWidth = 470;
constexpr int kPanelHeight = 178;
constexpr int kListHeight = kPanelHeight / 2;
// Offsets that turn a point of a list into one of the main window.
constexpr int kDataListOffsetY = kPanelY;
constexpr int kCondListOffsetY = kPanelY + kListHeight;

QString FileName(const std::string& path) {
  // Paths may come from files written on either kind of system.
  const std::size_t cut = path.find_last_of("/\\");
  return QString::fromStdString(cut == std::string::npos ? path : path.substr(cut + 1));
}

QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

// White text on the series colour; the colour is asked for at paint time,
// so the rows always follow the project. Selected rows keep the usual
// selection colours so that the selection stays visible.
class SeriesColorDelegate : public QStyledItemDelegate {
 public:
  SeriesColorDelegate(const ListsPanel& panel, ListKind kind, QObject* parent)
      : QStyledItemDelegate(parent), panel_(panel), kind_(kind) {}

  // The columns have fixed widths; a text cut short there (a long file
  // name, a coefficient with all its decimals) shows whole as a tooltip.
  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override {
    if (event->type() != QEvent::ToolTip)
      return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = index.data(Qt::DisplayRole).toString();
    const int margins = 2 * (view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    if (option.fontMetrics.horizontalAdvance(text) + margins > option.rect.width()) {
      QToolTip::showText(event->globalPos(), text, view);
      return true;
    }
    QToolTip::hideText();
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (option->state & QStyle::State_Selected) return;
    const QColor color = panel_.RowColor(kind_, index.row());
    if (!color.isValid()) return;
    option->backgroundBrush = color;
    option->palette.setColor(QPalette::Text, Qt::white);
  }

 private:
  const ListsPanel& panel_;
  ListKind kind_;
};

}  // namespace

ListsPanel::ListsPanel(Shell& main, QWidget* parent) : QWidget(parent), main_(main) {
  setGeometry(0, kPanelY, kPanelWidth, kPanelHeight);
  setAcceptDrops(true);
  dataList_ = MakeList(ListKind::DataFiles, QStringLiteral("dataFileList"),
                       {tr("データ番号"), tr("マーク"), tr("データファイル名")}, {75, 50, 339}, 0);
  condList_ = MakeList(ListKind::CalcConds, QStringLiteral("calcCondList"),
                       {tr("関連付けデータ番号"), tr("マーク"), tr("温度(K)"), tr("磁場(T)"),
                        tr("相関係数"), tr("出力ファイル名")},
                       {120, 50, 55, 55, 60, 124}, kListHeight);
  FillListsPanel();
}

QTableWidget* ListsPanel::MakeList(ListKind kind, const QString& name, const QStringList& titles,
                                   std::initializer_list<int> widths, int y) {
  auto* list = new QTableWidget(0, static_cast<int>(titles.size()), this);
  list->setObjectName(name);
  list->setGeometry(0, y, kPanelWidth, kListHeight);
  list->setHorizontalHeaderLabels(titles);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // One tab stop: Tab leaves the list instead of walking (and selecting)
  // its rows.
  list->setTabKeyNavigation(false);
  list->setShowGrid(true);
  list->setWordWrap(false);
  // Numbers that just fill their narrow column keep every digit (clipped
  // at the edge) instead of losing the last ones to an ellipsis.
  list->setTextElideMode(Qt::ElideNone);
  list->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  list->verticalHeader()->hide();
  QHeaderView* header = list->horizontalHeader();
  header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  header->setHighlightSections(false);
  header->setSectionsClickable(false);
  header->setStretchLastSection(false);
  int column = 0;
  for (int w : widths) list->setColumnWidth(column++, w);
  ApplyMenuFont(list);
  // Compact rows like a list view's.
  list->verticalHeader()->setDefaultSectionSize(list->fontMetrics().height() + 4);
  list->setItemDelegate(new SeriesColorDelegate(*this, kind, list));
  // The viewport gets the mouse; the panel takes double clicks and right
  // clicks from it. File drops fall through to the panel.
  list->viewport()->installEventFilter(this);
  list->viewport()->setAcceptDrops(false);
  list->setAcceptDrops(false);
  return list;
}

QColor ListsPanel::RowColor(ListKind kind, int row) const {
  const Project& p = main_.project();
  if (kind == ListKind::DataFiles) {
    if (row < 0) return {};
    return ToQColor(DataPalette[PaletteIndex(row)]);
  }
  const RegistryEntry* e = p.CalcConds.Find(row);
  if (!e) return {};
  return ToQColor(CurvePalette[PaletteIndex(e->RelatedDatFileNo)]);
}

void ListsPanel::FillListsPanel() {
  const Project& p = main_.project();
  for (const RegistryEntry& e : p.DataFiles.items) InsertDataRow(e);
  for (const RegistryEntry& e : p.CalcConds.items) InsertCondRow(e, p.Settings.Mode);
}

void ListsPanel::RefillLists() {
  dataList_->setRowCount(0);
  condList_->setRowCount(0);
  FillListsPanel();
  // Run from the menu bar, a change alone left vanished rows on the screen
  // under X until the next full repaint.
  dataList_->viewport()->update();
  condList_->viewport()->update();
}

void ListsPanel::DeleteRow(ListKind kind, int row) {
  list(kind)->removeRow(row);
  list(kind)->viewport()->update();
}

std::vector<int> ListsPanel::SelectedRows(ListKind kind) const {
  QTableWidget* l = list(kind);
  QItemSelectionModel* selection = l->selectionModel();
  std::vector<int> rows;
  for (int r = 0; r < l->rowCount(); ++r)
    if (selection->isRowSelected(r, QModelIndex())) rows.push_back(r);
  return rows;
}

int ListsPanel::FirstSelectedRow(ListKind kind) const {
  QTableWidget* l = list(kind);
  QItemSelectionModel* selection = l->selectionModel();
  for (int r = 0; r < l->rowCount(); ++r)
    if (selection->isRowSelected(r, QModelIndex())) return r;
  return -1;
}

QStringList ListsPanel::DataRowTexts(const RegistryEntry& e) {
  return {QString::number(e.No), QString::number(e.Mark), FileName(e.Path)};
}

QStringList ListsPanel::CondRowTexts(const RegistryEntry& e, CalcMode mode, double corrCoef) {
  return {QString::number(e.RelatedDatFileNo),
          QString::number(e.Mark),
          QString::fromStdString(FormatFixed(e.Temp, 1)),
          mode == CalcMode::JcB ? QStringLiteral("?")
                                : QString::fromStdString(FormatFixed(e.MagField, 1)),
          QString::fromStdString(FormatFixed(corrCoef, 3)),
          FileName(e.OutpFilePath)};
}

void ListsPanel::InsertDataRow(const RegistryEntry& e) {
  InsertListRow(dataList_, e.No, DataRowTexts(e));
}

void ListsPanel::InsertCondRow(const RegistryEntry& e, CalcMode mode) {
  InsertListRow(condList_, e.No, CondRowTexts(e, mode, CorrCoefOf(main_.viewState(), e)));
}

void ListsPanel::UpdateDataRow(const RegistryEntry& e) {
  const QStringList t = DataRowTexts(e);
  for (int c = 0; c < t.size(); ++c) SetListCell(dataList_, e.No, c, t[c]);
}

void ListsPanel::UpdateCondRow(const RegistryEntry& e, CalcMode mode) {
  const QStringList t = CondRowTexts(e, mode, CorrCoefOf(main_.viewState(), e));
  for (int c = 0; c < t.size(); ++c) SetListCell(condList_, e.No, c, t[c]);
  // The related data file may have changed, and with it the colour.
  condList_->viewport()->update();
}

void ListsPanel::SetCorrCoefText(int row, const QString& text) {
  SetListCell(condList_, row, 4, text);
}

void ListsPanel::OnDoubleClick(ListKind kind) {
  const int row = FirstSelectedRow(kind);
  if (row < 0) return;
  if (kind == ListKind::DataFiles)
    OpenRenameDialog(main_, row);
  else
    OpenCalcCondChangeDialog(main_, row);
}

bool ListsPanel::eventFilter(QObject* watched, QEvent* event) {
  const bool data = watched == dataList_->viewport();
  const bool cond = watched == condList_->viewport();
  if (!data && !cond) return QWidget::eventFilter(watched, event);
  QTableWidget* l = data ? dataList_ : condList_;
  const ListKind kind = data ? ListKind::DataFiles : ListKind::CalcConds;
  if (event->type() == QEvent::MouseButtonDblClick &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    OnDoubleClick(kind);
    return true;
  }
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    // In the list's own coordinates (header included), then moved by the
    // list's place in the main window.
    const QPoint inList =
        l->viewport()->mapTo(l, static_cast<QMouseEvent*>(event)->position().toPoint());
    main_.ShowPopupMenu(inList + QPoint(0, data ? kDataListOffsetY : kCondListOffsetY));
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void ListsPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    main_.ShowPopupMenu(event->position().toPoint() + QPoint(0, kPanelY));
    return;
  }
  QWidget::mousePressEvent(event);
}

void ListsPanel::dragEnterEvent(QDragEnterEvent* event) { AcceptFileDrag(event); }

void ListsPanel::dropEvent(QDropEvent* event) { main_.DropFiles(event); }

}  // namespace zx
