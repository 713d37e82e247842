// A project with two data files and three calculation conditions, written
// to a settings file of the test folder, for the panel tests.
#pragma once

#include <QApplication>
#include <QTimer>
#include <functional>

#include "model/settings_file.h"
#include "shell_fixture.h"

namespace zx::test {

class PanelTest : public ShellTest {
 protected:
  // The project file; `adjust` may change the project before it is written.
  QString WriteTwoFileProject(const std::function<void(Project&)>& adjust = {}) {
    Project p;
    p.ProgramFolder = Folder();
    AddDataFile(p, WriteData("d0.dat").toStdString());
    AddDataFile(p, WriteData("d1.dat").toStdString());
    AddCalcCond(p, 0, 4.25, 1.0, Folder() + "r0.dat");
    AddCalcCond(p, 1, 20.0, 2.5, Folder() + "r1.dat");
    AddCalcCond(p, 0, 30.0, 0.5, Folder() + "r2.dat");
    p.Params.IntStepNum = 60;  // keeps each preview pass quick
    if (adjust) adjust(p);
    const QString path = Path("two.zx2");
    EXPECT_TRUE(WriteSettings(p, path.toStdString()));
    return path;
  }

  MainWindow& StartWithTwoFiles(const std::function<void(Project&)>& adjust = {}) {
    MainWindow& w = Start();
    EXPECT_TRUE(w.LoadProject(WriteTwoFileProject(adjust)));
    EditProject(w.document()).Modified = false;
    w.PaintNow();
    return w;
  }

  // The top-left of the popup menu that `click` opens, in global coordinates.
  static QPoint PopupAfter(const std::function<void()>& click) {
    QPoint at(-1, -1);
    QTimer::singleShot(0, [&at] {
      if (QWidget* menu = QApplication::activePopupWidget()) {
        at = menu->pos();
        menu->close();
      }
    });
    click();
    return at;
  }

  // Qt moves a menu opened from a mouse press by a pixel or two; what
  // counts is the point the click was forwarded to.
  static void ExpectSamePopupPlace(QPoint fromClick, QPoint direct) {
    EXPECT_NE(direct, QPoint(-1, -1));
    EXPECT_EQ(fromClick.x(), direct.x());
    EXPECT_NEAR(fromClick.y(), direct.y(), 3);
  }
};

}  // namespace zx::test
