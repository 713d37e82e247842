// Commands chosen from the menu bar: what they change in the lists
// reaches the screen at once.
#include <QMenuBar>
#include <QPaintEvent>
#include <QTest>

#include "dialog_fixture.h"

namespace zx::test {
namespace {

// Collects what a widget is asked to paint.
class PaintRecorder : public QObject {
 public:
  QRegion painted;

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
    return false;
  }
};

class MenuCommandsTest : public DialogTest {
 protected:
  void ChooseFromMenuBar(int command) {
    for (QAction* m : window->menuBar()->actions())
      for (QAction* a : m->menu()->actions())
        if (a->data().toInt() == command) {
          // The menu opens, the item is chosen, the menu closes.
          m->menu()->popup(window->mapToGlobal(QPoint(0, 0)));
          a->trigger();
          m->menu()->hide();
          return;
        }
    ADD_FAILURE() << command;
  }
  // The screen area of a list's row, across the whole list.
  static QRect RowArea(QTableWidget* list, int row) {
    const QRect cell = list->visualRect(list->model()->index(row, 0));
    return QRect(0, cell.top(), list->viewport()->width(), cell.height());
  }
  // Runs the command and returns what the list repainted afterwards.
  QRegion RepaintedBy(QTableWidget* list, int command) {
    QTest::qWait(50);
    PaintRecorder recorder;
    list->viewport()->installEventFilter(&recorder);
    ChooseFromMenuBar(command);
    QTest::qWait(100);
    list->viewport()->removeEventFilter(&recorder);
    return recorder.painted;
  }
};

TEST_F(MenuCommandsTest, RowsRemovedFromTheMenuBarLeaveTheScreen) {
  MainWindow& w = StartWith(3, {{0, 20, 1, Folder() + "r0.dat"},
                                {1, 25, 1, Folder() + "r1.dat"},
                                {2, 30, 1, Folder() + "r2.dat"}});
  w.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
  QTableWidget* data = w.listsPanel()->dataList();
  QTableWidget* conds = w.listsPanel()->condList();

  const QRect lastData = RowArea(data, 2);
  Select(ListKind::DataFiles, {0});
  EXPECT_TRUE(RepaintedBy(data, kCmdDeleteDataFiles).contains(lastData));
  EXPECT_EQ(data->rowCount(), 2);

  const QRect lastCond = RowArea(conds, 2);
  Select(ListKind::CalcConds, {1});
  EXPECT_TRUE(RepaintedBy(conds, kCmdDeleteCalcConds).contains(lastCond));
  EXPECT_EQ(conds->rowCount(), 2);

  const QRect firstData = RowArea(data, 0);
  platform.answers = {MsgAnswer::No};  // the deletions are not saved
  EXPECT_TRUE(RepaintedBy(data, kCmdNew).contains(firstData));
  EXPECT_EQ(data->rowCount(), 0);
}

}  // namespace
}  // namespace zx::test
