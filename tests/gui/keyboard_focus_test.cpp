// The keyboard as the user meets it: where the focus is after start-up,
// re-activation and opening a dialog; Tab over the lists; Enter in the
// parameter panel; the wheel over sliders. Keys go to whatever has the
// focus, never to a widget chosen by the test.
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QSlider>
#include <QTest>
#include <QWheelEvent>

#include "app/graph_widget.h"
#include "dialog_fixture.h"

namespace zx::test {
namespace {

constexpr auto kCtrl = Qt::ControlModifier;
constexpr auto kCtrlShift = Qt::ControlModifier | Qt::ShiftModifier;

class KeyboardTest : public DialogTest {
 protected:
  // A key as the user types it: to the focus widget of the active window.
  static void Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(static_cast<QWidget*>(nullptr), key, mods);
  }
  static void Type(const QString& text) { QTest::keyClicks(static_cast<QWidget*>(nullptr), text); }
  static void ShowActive(QWidget& w) {
    w.show();
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QCoreApplication::processEvents();
  }
  bool AnyRowSelected(ListKind kind) { return window->listsPanel()->FirstSelectedRow(kind) >= 0; }
  QWidget* PanelControl(const char* name) { return window->parameterPanel()->Control(name); }
  bool WaitUntilIdle() {
    QElapsedTimer t;
    t.start();
    while (window->calculating() && t.elapsed() < 60000)
      QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    QCoreApplication::processEvents();
    Flush();
    return !window->calculating();
  }
};

TEST_F(KeyboardTest, AcceleratorsWorkRightAfterStartAndAfterReactivation) {
  MainWindow& w = StartWith(3);
  ShowActive(w);
  EXPECT_EQ(QApplication::focusWidget(), w.graph());
  Press(Qt::Key_S, kCtrlShift);  // the Save As chooser opens (and is cancelled)
  EXPECT_EQ(platform.fileTitles.size(), 1u);
  // Ctrl+A is the axis dialog, not "select every row" of a list.
  Press(Qt::Key_A, kCtrl);
  EXPECT_FALSE(AnyRowSelected(ListKind::DataFiles));
  ModelessDialog* axis = Dialog(DialogKind::Axis);
  ASSERT_NE(axis, nullptr);
  axis->reject();
  ShowActive(w);

  // The user clicks into a list, switches to another program and back.
  w.listsPanel()->dataList()->setFocus(Qt::MouseFocusReason);
  QWidget other;
  other.setGeometry(900, 100, 200, 100);
  ShowActive(other);
  ShowActive(w);
  Press(Qt::Key_S, kCtrlShift);
  EXPECT_EQ(platform.fileTitles.size(), 2u);
  Press(Qt::Key_A, kCtrl);
  EXPECT_FALSE(AnyRowSelected(ListKind::DataFiles));
  EXPECT_NE(Dialog(DialogKind::Axis), nullptr);
}

TEST_F(KeyboardTest, DialogsOpenWithTheirFirstControlFocused) {
  MainWindow& w = StartWith(2);
  ShowActive(w);
  Press(Qt::Key_R, kCtrlShift);
  ModelessDialog* cond = Dialog(DialogKind::CalcCond);
  ASSERT_NE(cond, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowActive(cond));
  EXPECT_EQ(QApplication::focusWidget(), Child(cond, "dataNumberCombo"));  // the data number
  Press(Qt::Key_Tab);
  Type("25");
  EXPECT_EQ(Text(cond, "tempEdit"), "25");  // the temperature
  cond->reject();

  ShowActive(w);
  Press(Qt::Key_P, kCtrl);
  ModelessDialog* range = Dialog(DialogKind::ParamRange);
  ASSERT_NE(range, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowActive(range));
  Type("2e8");  // replaces the whole text of Am's minimum
  EXPECT_EQ(Text(range, "amMinEdit"), "2e8");
}

TEST_F(KeyboardTest, TabLeavesAListWithoutSelectingRows) {
  MainWindow& w = StartWith(3, {{0, 20, 1, Folder() + "r0.dat"}, {1, 25, 1, Folder() + "r1.dat"}});
  ShowActive(w);
  QTableWidget* data = w.listsPanel()->dataList();
  data->setFocus(Qt::TabFocusReason);  // the user tabbed into it
  Press(Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), data);
  EXPECT_FALSE(AnyRowSelected(ListKind::DataFiles));

  QTableWidget* conds = w.listsPanel()->condList();
  conds->setFocus(Qt::TabFocusReason);
  Press(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_NE(QApplication::focusWidget(), conds);
  EXPECT_FALSE(AnyRowSelected(ListKind::CalcConds));
  // A delete that follows removes nothing the user never chose.
  w.Command(kCmdDeleteDataFiles);
  EXPECT_EQ(w.project().DataFiles.Count(), 3);
}

TEST_F(KeyboardTest, EnterInAPanelEditStartsTheCalculation) {
  MainWindow& w = StartWith(1, {{0, 20, 1, Folder() + "r0.dat"}});
  ShowActive(w);
  PanelControl("zetaEdit")->setFocus(Qt::MouseFocusReason);  // the user clicked ζ
  ASSERT_EQ(QApplication::focusWidget(), PanelControl("zetaEdit"));
  Press(Qt::Key_Return);
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_TRUE(QFileInfo::exists(Path("r0.dat")));  // the result file

  // The keypad's Enter too, and from a slider.
  ASSERT_TRUE(QFile::remove(Path("r0.dat")));
  ShowActive(w);
  PanelControl("amSlider")->setFocus(Qt::MouseFocusReason);
  Press(Qt::Key_Enter, Qt::KeypadModifier);
  ASSERT_TRUE(WaitUntilIdle());
  EXPECT_TRUE(QFileInfo::exists(Path("r0.dat")));
}

TEST_F(KeyboardTest, SlidersTakeTheWheelOnlyWithTheFocus) {
  MainWindow& w = StartWith(1);
  ShowActive(w);
  auto* slider = qobject_cast<QSlider*>(PanelControl("gammaSlider"));  // γ
  ASSERT_NE(slider, nullptr);
  auto* edit = qobject_cast<QLineEdit*>(PanelControl("gammaEdit"));
  const int position = slider->value();
  const QString text = edit->text();
  auto wheel = [slider] {
    const QPointF at(slider->width() / 2.0, slider->height() / 2.0);
    QWheelEvent e(at, slider->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &e);
  };
  wheel();
  EXPECT_EQ(slider->value(), position);
  EXPECT_EQ(edit->text(), text);
  EXPECT_FALSE(w.project().Modified);
  EXPECT_NE(QApplication::focusWidget(), slider);

  slider->setFocus(Qt::MouseFocusReason);
  wheel();
  EXPECT_NE(slider->value(), position);
  EXPECT_TRUE(w.project().Modified);
}

}  // namespace
}  // namespace zx::test
