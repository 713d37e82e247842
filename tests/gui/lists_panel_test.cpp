#include "ui/lists_panel.h"

#include <QApplication>
#include <QHeaderView>
#include <QMimeData>
#include <QTest>
#include <QToolTip>
#include <QUrl>

#include "model/format.h"
#include "panel_project.h"
#include "ui/calc_cond_change_dialog.h"
#include "ui/rename_dialog.h"

namespace zx::test {
namespace {

QColor Color(Rgb c) { return QColor(c.r, c.g, c.b); }

class ListsPanelTest : public PanelTest {
 protected:
  ListsPanel& Panel() { return *window->listsPanel(); }

  // The colour painted at the right end of a cell, where no text reaches.
  static QColor Painted(QTableWidget* list, int row, int column) {
    const QImage image = list->viewport()->grab().toImage();
    const int x = list->columnViewportPosition(column) + list->columnWidth(column) - 4;
    const int y = list->rowViewportPosition(row) + list->rowHeight(row) / 2;
    return image.pixelColor(x, y);
  }

  // The press of the first click selects, as with a real double click.
  static void DoubleClick(QTableWidget* list, QPoint at) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
  }

  static QPoint CellCenter(QTableWidget* list, int row, int column) {
    return {list->columnViewportPosition(column) + 10,
            list->rowViewportPosition(row) + list->rowHeight(row) / 2};
  }
};

TEST_F(ListsPanelTest, ListsHaveTheirColumnsAndBehaviour) {
  Start();
  EXPECT_EQ(Panel().geometry(), QRect(0, 358, 470, 178));
  struct Column {
    const char* title;
    int width;
  };
  const std::vector<Column> data = {{"データ番号", 75}, {"マーク", 50}, {"データファイル名", 339}};
  const std::vector<Column> conds = {{"関連付けデータ番号", 120},
                                     {"マーク", 50},
                                     {"温度(K)", 55},
                                     {"磁場(T)", 55},
                                     {"相関係数", 60},
                                     {"出力ファイル名", 124}};
  for (auto [list, columns, name] : {std::tuple(Panel().dataList(), data, "dataFileList"),
                                     std::tuple(Panel().condList(), conds, "calcCondList")}) {
    EXPECT_EQ(list->objectName(), name);
    ASSERT_EQ(list->columnCount(), static_cast<int>(columns.size()));
    for (int c = 0; c < list->columnCount(); ++c) {
      EXPECT_EQ(list->horizontalHeaderItem(c)->text(), columns[c].title);
      EXPECT_EQ(list->columnWidth(c), columns[c].width);
    }
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->selectionMode(), QAbstractItemView::ExtendedSelection);
    EXPECT_EQ(list->editTriggers(), QAbstractItemView::NoEditTriggers);
    EXPECT_TRUE(list->showGrid());
    EXPECT_FALSE(list->verticalHeader()->isVisible() && list->isVisible());
    EXPECT_TRUE(Panel().rect().contains(list->geometry()));
    // Drops fall through the list to the panel.
    EXPECT_FALSE(list->viewport()->acceptDrops());
  }
  EXPECT_TRUE(Panel().acceptDrops());
  EXPECT_EQ(Panel().condList()->y(), 89);
}

TEST_F(ListsPanelTest, TwoDataFilesAndThreeConditionsInTheirSeriesColours) {
  MainWindow& w = StartWithTwoFiles();
  QTableWidget* data = Panel().dataList();
  QTableWidget* conds = Panel().condList();
  ASSERT_EQ(data->rowCount(), 2);
  ASSERT_EQ(conds->rowCount(), 3);
  EXPECT_EQ(Cell(data, 0, 0), "0");
  EXPECT_EQ(Cell(data, 1, 0), "1");
  EXPECT_EQ(Cell(data, 1, 1), "0");
  EXPECT_EQ(Cell(data, 1, 2), "d1.dat");
  EXPECT_EQ(Cell(conds, 0, 0), "0");
  EXPECT_EQ(Cell(conds, 1, 0), "1");
  EXPECT_EQ(Cell(conds, 2, 0), "0");
  EXPECT_EQ(Cell(conds, 0, 2), "4.2");
  EXPECT_EQ(Cell(conds, 1, 3), "2.5");
  EXPECT_EQ(Cell(conds, 2, 5), "r2.dat");
  // The preview pass wrote the coefficient into the row.
  const double r = CorrCoefOf(w.viewState(), w.project().CalcConds.items[0]);
  EXPECT_EQ(Cell(conds, 0, 4), QString::fromStdString(FormatFixed(r, 6)));

  data->clearSelection();
  conds->clearSelection();
  const QColor red(255, 0, 0), blue(0, 0, 255);
  EXPECT_EQ(Panel().RowColor(ListKind::DataFiles, 0), red);
  EXPECT_EQ(Panel().RowColor(ListKind::DataFiles, 1), blue);
  EXPECT_EQ(Painted(data, 0, 2), red);
  EXPECT_EQ(Painted(data, 1, 2), blue);
  const int related[] = {0, 1, 0};
  for (int row = 0; row < 3; ++row) {
    EXPECT_EQ(Painted(conds, row, 1), Color(CurvePalette[related[row]])) << row;
    EXPECT_EQ(Color(w.viewState().CurveSeries.items[row].LineColor),
              Color(CurvePalette[related[row]]));
  }
  // White text on the colour.
  const QImage image = data->viewport()->grab().toImage();
  bool white = false;  // glyph pixels are near white on any palette colour
  const int y = data->rowViewportPosition(0) + data->rowHeight(0) / 2;
  for (int x = data->columnViewportPosition(2); x < data->columnViewportPosition(2) + 60; ++x)
    for (int dy = -3; dy <= 3; ++dy) {
      const QColor c = image.pixelColor(x, y + dy);
      white = white || (c.red() > 220 && c.green() > 220 && c.blue() > 220);
    }
  EXPECT_TRUE(white);
}

TEST_F(ListsPanelTest, JcBModeShowsNoFieldAndOrphansAreGrey) {
  MainWindow& w = StartWithTwoFiles([](Project& p) { p.Settings.Mode = zx::CalcMode::JcB; });
  QTableWidget* conds = Panel().condList();
  for (int row = 0; row < 3; ++row) EXPECT_EQ(Cell(conds, row, 3), "?") << row;

  // Deleting data file 1 leaves condition 1 without a data file.
  Select(ListKind::DataFiles, {1});
  w.Command(kCmdDeleteDataFiles);
  conds->clearSelection();
  EXPECT_EQ(Cell(conds, 1, 0), "-1");
  EXPECT_EQ(Panel().RowColor(ListKind::CalcConds, 1), Color(CurvePalette[5]));
  EXPECT_EQ(Painted(conds, 1, 1), Color(CurvePalette[5]));
  EXPECT_EQ(Painted(conds, 0, 1), Color(CurvePalette[0]));
}

TEST_F(ListsPanelTest, RowsFollowInsertUpdateAndFirstSelection) {
  MainWindow& w = StartWithTwoFiles();
  Project& p = EditProject(w.document());
  EXPECT_EQ(Panel().FirstSelectedRow(ListKind::CalcConds), -1);
  Select(ListKind::CalcConds, {2, 1});
  EXPECT_EQ(Panel().FirstSelectedRow(ListKind::CalcConds), 1);

  // A change of the related data file recolours the row.
  p.CalcConds.items[2].RelatedDatFileNo = 1;
  p.CalcConds.items[2].Temp = 77.35;
  Panel().UpdateCondRow(p.CalcConds.items[2], CalcMode::EJ);
  Panel().condList()->clearSelection();
  EXPECT_EQ(Cell(Panel().condList(), 2, 0), "1");
  EXPECT_EQ(Cell(Panel().condList(), 2, 2), "77.3");
  EXPECT_EQ(Painted(Panel().condList(), 2, 1), Color(CurvePalette[1]));

  AddDataFile(p, WriteData("d2.dat").toStdString());
  Panel().InsertDataRow(p.DataFiles.items.back());
  ASSERT_EQ(Panel().dataList()->rowCount(), 3);
  EXPECT_EQ(Cell(Panel().dataList(), 2, 2), "d2.dat");
  EXPECT_EQ(Painted(Panel().dataList(), 2, 2), Color(DataPalette[2]));

  Panel().SetCorrCoefText(0, "0.5");
  EXPECT_EQ(Cell(Panel().condList(), 0, 4), "0.5");
  Panel().DeleteRow(ListKind::DataFiles, 0);
  EXPECT_EQ(Panel().dataList()->rowCount(), 2);
}

TEST_F(ListsPanelTest, TextsCutByTheirColumnShowWholeAsTooltip) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  QTableWidget* conds = Panel().condList();
  auto tipAt = [conds](int row, int column) {
    const QPoint at = CellCenter(conds, row, column);
    QHelpEvent help(QEvent::ToolTip, at, conds->viewport()->mapToGlobal(at));
    QApplication::sendEvent(conds->viewport(), &help);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  Panel().SetCorrCoefText(0, "0.999123");
  Panel().SetCorrCoefText(1, "0.5");
  const int needed = conds->fontMetrics().horizontalAdvance("0.999123") + 6;
  EXPECT_EQ(tipAt(1, 4), "");
  EXPECT_EQ(tipAt(0, 4), needed > conds->columnWidth(4) ? "0.999123" : "");
}

TEST_F(ListsPanelTest, DoubleClickOpensTheDialogOfTheFirstSelectedRow) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  QTableWidget* data = Panel().dataList();
  // Below the rows: nothing selected, nothing opens.
  DoubleClick(data, {20, data->viewport()->height() - 3});
  EXPECT_TRUE(w.findChildren<RenameDialog*>().isEmpty());

  DoubleClick(data, CellCenter(data, 1, 2));
  auto renames = w.findChildren<RenameDialog*>();
  ASSERT_EQ(renames.size(), 1);
  EXPECT_EQ(renames[0]->TargetUid(), w.project().DataFiles.items[1].Uid);
  // A second double click re-targets the open dialog.
  DoubleClick(data, CellCenter(data, 0, 2));
  renames = w.findChildren<RenameDialog*>();
  ASSERT_EQ(renames.size(), 1);
  EXPECT_EQ(renames[0]->TargetUid(), w.project().DataFiles.items[0].Uid);

  QTableWidget* conds = Panel().condList();
  DoubleClick(conds, CellCenter(conds, 2, 1));
  EXPECT_EQ(w.findChildren<CalcCondChangeDialog*>().size(), 1);
}

TEST_F(ListsPanelTest, RightClicksOpenThePopupAtTheWindowPoint) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  w.move(0, -300);  // room for the menu below every click point
  for (QTableWidget* list : {Panel().dataList(), Panel().condList()}) {
    const QPoint inViewport(30, 5);
    const QPoint at =
        PopupAfter([&] { QTest::mouseClick(list->viewport(), Qt::RightButton, {}, inViewport); });
    // The list's own point (its header included) moved by 358 or 447.
    const QPoint inList = list->viewport()->mapTo(list, inViewport);
    const int offset = list == Panel().dataList() ? 358 : 447;
    ExpectSamePopupPlace(at, PopupAfter([&] { w.ShowPopupMenu(inList + QPoint(0, offset)); }));
    EXPECT_TRUE(list->selectionModel()->selectedRows().isEmpty());
  }
}

TEST_F(ListsPanelTest, DropsOnThePanelFollowTheMainWindowsRules) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  const QString other = WriteTwoFileProject([](Project& p) { p.Params.Re_m = 4.5; });
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(other), QUrl::fromLocalFile(Path("x.DAT"))});
  QDragEnterEvent enter(QPoint(5, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Panel(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 100), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Panel(), &drop);
  QApplication::processEvents();
  EXPECT_EQ(w.project().Params.Re_m, 4.5);  // loaded first
  ASSERT_EQ(platform.messages.size(), 1u);  // then the upper-case ending refused
  EXPECT_EQ(platform.messages[0].caption, "警告");
  EXPECT_EQ(Panel().dataList()->rowCount(), 2);
}

}  // namespace
}  // namespace zx::test
