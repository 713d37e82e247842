#include "ui/parameter_panel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QSlider>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <cmath>
#include <map>

#include "calc/preview_pass.h"
#include "model/text_file.h"
#include "panel_project.h"

namespace zx::test {
namespace {

const char* const kSliders[] = {"amSlider", "sigma2Slider", "gammaSlider", "mSlider", "g2Slider"};

class ParameterPanelTest : public PanelTest {
 protected:
  ParameterPanel& Panel() { return *window->parameterPanel(); }
  template <class W>
  W* Get(const char* name) {
    auto* w = qobject_cast<W*>(Panel().Control(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  QLineEdit* Edit(const char* name) { return Get<QLineEdit>(name); }
  QSlider* Slider(const char* name) { return Get<QSlider>(name); }

  // Replaces the edit's text the way the user does.
  void Type(const char* name, const QString& text) {
    QLineEdit* e = Edit(name);
    e->setFocus();
    e->selectAll();
    QTest::keyClick(e, Qt::Key_Delete);
    QTest::keyClicks(e, text);
  }
};

TEST_F(ParameterPanelTest, ControlsCarryTheirTextsAndFitThePanel) {
  MainWindow& w = Start();
  ParameterPanel& panel = Panel();
  EXPECT_EQ(panel.geometry(), QRect(470, 0, 330, 536));
  const std::vector<std::pair<const char*, QString>> texts = {
      {"pinGroup", "ピンパラメータ"},
      {"amLabel", "Am"},
      {"sigma2Label", "σ^2"},
      {"gammaLabel", "γ"},
      {"mLabel", "m"},
      {"g2Label", "g^2"},
      {"propertyGroup", "サンプル特性"},
      {"tcLabel", "Tc"},
      {"rhonLabel", "ρn"},
      {"bc20Label", "Bc2(0)"},
      {"zetaLabel", "ζ"},
      {"sizeGroup", "サンプルサイズ"},
      {"sampleNameLabel", "サンプル名"},
      {"lengthLabel", "長さ"},
      {"widthLabel", "幅"},
      {"thicknessLabel", "厚さ"},
      {"otherGroup", "その他の計算パラメータ"},
      {"tempOrderLabel", "スケール則内の規格化温度の次数"},
      {"fieldOrderLabel", "スケール則内の規格化磁場の次数"},
      {"intStepLabel", "積分時の刻み幅"},
      {"startButton", "計算開始"},
      {"finishButton", "終了"},
  };
  for (const auto& [name, text] : texts) {
    QWidget* c = panel.Control(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_EQ(c->objectName(), QLatin1String(name));
    QString shown;
    int needed = 0;
    if (auto* l = qobject_cast<QLabel*>(c)) {
      shown = l->text();
      needed = l->sizeHint().width();
    } else if (auto* g = qobject_cast<QGroupBox*>(c)) {
      shown = g->title();
      needed = g->fontMetrics().horizontalAdvance(shown) + 16;
    } else if (auto* b = qobject_cast<QPushButton*>(c)) {
      shown = b->text();
      needed = b->sizeHint().width();
    }
    EXPECT_EQ(shown, text) << name;
    EXPECT_LE(needed, c->width()) << "clipped: " << name;
    EXPECT_LE(c->fontMetrics().height() + 2, c->height()) << name;
  }
  for (const char* name : PanelControlNames) {
    QWidget* c = panel.Control(name);
    ASSERT_NE(c, nullptr) << name;
    EXPECT_TRUE(panel.rect().contains(c->geometry())) << name;
    EXPECT_EQ(c->parentWidget(), &panel) << name;
  }
  for (const char* name : {"tempOrderCombo", "fieldOrderCombo"}) {
    QComboBox* combo = Get<QComboBox>(name);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "1");
    EXPECT_EQ(combo->itemText(1), "2");
    EXPECT_FALSE(combo->isEditable());
  }
  for (const char* name : kSliders) {
    EXPECT_EQ(Slider(name)->minimum(), 0);
    EXPECT_EQ(Slider(name)->maximum(), 100);
    EXPECT_TRUE(panel.rect().contains(Slider(name)->geometry()));
  }
  EXPECT_TRUE(Get<QPushButton>("startButton")->isDefault());
  (void)w;
}

TEST_F(ParameterPanelTest, TooltipsAreTheSameInBothModes) {
  const std::map<QString, std::vector<const char*>> tips = {
      {"ピン力の強さ", {"amLabel", "amSlider", "amEdit"}},
      {"ピン力の分布", {"sigma2Label", "sigma2Slider", "sigma2Edit"}},
      {"ピン力の磁場依存性", {"gammaLabel", "gammaSlider", "gammaEdit"}},
      {"ピン力の温度依存性", {"mLabel", "mSlider", "mEdit"}},
      {"磁束バンドルサイズ", {"g2Label", "g2Slider", "g2Edit"}},
      {"臨界温度", {"tcLabel", "tcEdit"}},
      {"常伝導抵抗率", {"rhonLabel", "rhonEdit"}},
      {"上部臨界磁場", {"bc20Label", "bc20Edit"}},
      {"ピン形状定数", {"zetaLabel", "zetaEdit"}},
      {"サンプル名", {"sampleNameLabel", "sampleNameEdit"}},
      {"サンプル長手方向長さ", {"lengthLabel", "lengthEdit"}},
      {"サンプル幅", {"widthLabel", "widthEdit"}},
      {"サンプル厚", {"thicknessLabel", "thicknessEdit"}},
      {"スケール則内の規格化温度の次数", {"tempOrderLabel", "tempOrderCombo"}},
      {"スケール則内の規格化磁場の次数", {"fieldOrderLabel", "fieldOrderCombo"}},
      {"積分時刻み幅", {"intStepLabel", "intStepEdit"}},
  };
  for (int mode : {0, 1}) {
    MainWindow& w =
        StartWithTwoFiles([mode](Project& p) { p.Settings.Mode = static_cast<CalcMode>(mode); });
    ASSERT_EQ(w.project().Settings.Mode, static_cast<CalcMode>(mode));
    for (const auto& [text, names] : tips)
      for (const char* name : names)
        EXPECT_EQ(Panel().Control(name)->toolTip(), text) << name << " mode " << mode;
  }
}

TEST_F(ParameterPanelTest, ShowsTheProjectWithSlidersOnTheirScales) {
  Start();
  EXPECT_EQ(Edit("amEdit")->text(), "1e9");
  EXPECT_EQ(Slider("amSlider")->value(), 33);
  EXPECT_EQ(Edit("sigma2Edit")->text(), "1e-1");
  EXPECT_EQ(Slider("sigma2Slider")->value(), 10);
  EXPECT_EQ(Edit("gammaEdit")->text(), "8e-1");
  EXPECT_EQ(Slider("gammaSlider")->value(), 80);
  EXPECT_EQ(Edit("zetaEdit")->text(), "6.28");
  EXPECT_EQ(Edit("rhonEdit")->text(), "1.5e-6");
  EXPECT_EQ(Edit("sampleNameEdit")->text(), "MgB2SUS");
  EXPECT_EQ(Edit("intStepEdit")->text(), "900");
  EXPECT_EQ(Get<QComboBox>("tempOrderCombo")->currentIndex(), 1);
  EXPECT_EQ(Get<QComboBox>("fieldOrderCombo")->currentIndex(), 1);
  // Showing the project is no change of it.
  EXPECT_FALSE(window->project().Modified);
}

TEST_F(ParameterPanelTest, AmSliderMoveStoresShowsAndRedrawsOnce) {
  MainWindow& w = StartWithTwoFiles();
  Project& p = EditProject(w.document());
  w.paintState().View.RangeValid = true;
  w.paintState().View.RescalePending = false;
  const int before = w.PaintPassCount();

  Slider("amSlider")->setValue(33);  // the default stands at 33 already
  Slider("amSlider")->setValue(40);
  Slider("amSlider")->setValue(33);
  EXPECT_TRUE(p.Modified);
  EXPECT_NEAR(p.Params.Re_A_m, 9.772372e8, 1e2);
  EXPECT_EQ(Edit("amEdit")->text(), "9.77e8");
  EXPECT_FALSE(w.viewState().View.RangeValid);
  EXPECT_TRUE(w.viewState().View.RescalePending);
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  // The pass computed with the text of the edit.
  EXPECT_EQ(p.Params.Re_A_m, 9.77e8);

  Slider("amSlider")->setValue(100);
  EXPECT_NEAR(p.Params.Re_A_m, p.Settings.MaxRe_Am, p.Settings.MaxRe_Am * 1e-14);
  EXPECT_EQ(Edit("amEdit")->text(), "1e11");
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 2);
}

TEST_F(ParameterPanelTest, TypingMovesTheSliderAndTheTextIsUsed) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  Project& p = EditProject(w.document());
  const int before = w.PaintPassCount();
  Type("gammaEdit", "5");
  EXPECT_EQ(Edit("gammaEdit")->text(), "5");
  EXPECT_EQ(Slider("gammaSlider")->value(), 100);
  EXPECT_TRUE(p.Modified);
  EXPECT_DOUBLE_EQ(p.Params.Re_Gamma, 0.8);  // not stored before the pass
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  EXPECT_EQ(p.Params.Re_Gamma, 5.0);

  Type("amEdit", "2e10");
  EXPECT_EQ(Slider("amSlider")->value(), 77);  // (10.301 - 8) / 3, rounded

  // A text without a number reads as 0; the Am slider has no place for it.
  Type("amEdit", "abc");
  EXPECT_EQ(Slider("amSlider")->value(), 0);
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_A_m, 0.0);
}

TEST_F(ParameterPanelTest, EveryEditMarksTheProjectModifiedOnlyWhenItsTextChanges) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  for (const char* name :
       {"amEdit", "sigma2Edit", "gammaEdit", "mEdit", "g2Edit", "tcEdit", "rhonEdit", "bc20Edit",
        "zetaEdit", "sampleNameEdit", "lengthEdit", "widthEdit", "thicknessEdit", "intStepEdit"}) {
    EditProject(w.document()).Modified = false;
    w.PaintNow();
    const int before = w.PaintPassCount();
    Edit(name)->setFocus();
    QTest::keyClick(Edit(name), Qt::Key_End);  // no change of the text
    QTest::keyClick(Edit(name), Qt::Key_Left);
    QTest::keyClick(Edit(name), Qt::Key_Tab);
    EXPECT_FALSE(w.project().Modified) << name;
    w.PaintNow();
    EXPECT_EQ(w.PaintPassCount(), before) << name;
    Edit(name)->setFocus();
    QTest::keyClick(Edit(name), Qt::Key_End);
    QTest::keyClick(Edit(name), Qt::Key_1);
    EXPECT_TRUE(w.project().Modified) << name;
    w.PaintNow();
    EXPECT_EQ(w.PaintPassCount(), before + 1) << name;
  }
}

// The edit's context menu changes the text without a key: the curve and
// the slider follow all the same.
TEST_F(ParameterPanelTest, ContextMenuDeleteAndPasteCountAsEdits) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  Project& p = EditProject(w.document());
  QLineEdit* gamma = Edit("gammaEdit");
  // The menu's entry by its text, without the shortcut key.
  auto menuAction = [gamma](const char* name) {
    QMenu* menu = gamma->createStandardContextMenu();
    menu->deleteLater();
    for (QAction* a : menu->actions())
      if (a->text().section('\t', 0, 0).remove('&') == QLatin1String(name)) return a;
    ADD_FAILURE() << name;
    return new QAction(menu);
  };
  const int before = w.PaintPassCount();
  gamma->setSelection(0, 1);  // "8e-1": the 8 goes
  menuAction("Delete")->trigger();
  EXPECT_EQ(gamma->text(), "e-1");
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(Slider("gammaSlider")->value(), 0);
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  EXPECT_EQ(p.Params.Re_Gamma, 0.0);

  p.Modified = false;
  QApplication::clipboard()->setText("0.3");
  gamma->selectAll();
  menuAction("Paste")->trigger();
  EXPECT_EQ(gamma->text(), "0.3");
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(Slider("gammaSlider")->value(), 30);
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_Gamma, 0.3);
}

TEST_F(ParameterPanelTest, SampleNameAndStepCountAcceptOnlyWhatFits) {
  MainWindow& w = Start();
  w.show();
  Type("sampleNameEdit", "ab cd");
  EXPECT_EQ(Edit("sampleNameEdit")->text(), "abcd");
  Type("sampleNameEdit", QString(45, 'x'));
  EXPECT_EQ(Edit("sampleNameEdit")->text(), QString(39, 'x'));
  Type("intStepEdit", "12x3.5");
  EXPECT_EQ(Edit("intStepEdit")->text(), "1235");
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.SampleName, std::string(39, 'x'));
  EXPECT_EQ(w.project().Params.IntStepNum, 1235);
  // A count no pass could finish is cut to the largest allowed.
  Type("intStepEdit", "999999999");
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.IntStepNum, 20000);
}

TEST_F(ParameterPanelTest, AStepCountBelowOneIsRefused) {
  MainWindow& w = StartWithTwoFiles();  // 60 steps
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  for (const char* typed : {"0", "", "000"}) {
    Type("intStepEdit", typed);
    // Until the edit is left, the count in use stays and so do the coefficients.
    w.PaintNow();
    EXPECT_EQ(w.project().Params.IntStepNum, 60);
    EXPECT_TRUE(std::isfinite(CorrCoefOf(w.viewState(), w.project().CalcConds.items[0])));
    const std::size_t before = platform.messages.size();
    Edit("sampleNameEdit")->setFocus();
    EXPECT_EQ(platform.messages.size(), before + 1) << typed;
    EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : 積分時の刻み幅"));
    EXPECT_EQ(Edit("intStepEdit")->text(), "60");
  }
  const std::size_t before = platform.messages.size();
  Type("intStepEdit", "7");
  Edit("sampleNameEdit")->setFocus();
  EXPECT_EQ(platform.messages.size(), before);
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.IntStepNum, 7);
}

TEST_F(ParameterPanelTest, OrderSelectionRedrawsAtOnce) {
  MainWindow& w = StartWithTwoFiles();
  const int before = w.PaintPassCount();
  Get<QComboBox>("tempOrderCombo")->setCurrentIndex(0);
  EXPECT_TRUE(w.project().Modified);
  EXPECT_TRUE(w.viewState().View.RescalePending);
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  EXPECT_EQ(w.project().Params.Tcn, 0);
  EXPECT_EQ(w.project().Params.Bcn, 1);
}

TEST_F(ParameterPanelTest, ProjectValuesKeepTheirPrecisionUntilTheUserEdits) {
  MainWindow& w = StartWithTwoFiles([](Project& p) {
    p.Params.Re_A_m = 1.234568e9;
    p.Params.Thickness = 1.234568e-6;
  });
  Project& p = EditProject(w.document());
  EXPECT_EQ(Edit("amEdit")->text(), "1.23e9");
  EXPECT_EQ(Edit("zetaEdit")->text(), "6.28");
  Panel().ReadPanelValues();
  EXPECT_EQ(p.Params.Re_A_m, 1.234568e9);
  EXPECT_EQ(p.Params.Thickness, 1.234568e-6);
  EXPECT_EQ(p.Params.Re_Zeta, 6.283185);  // as the file holds it

  // Saving writes the project's numbers, not the shortened texts.
  platform.files = {Path("saved.zx2")};
  ASSERT_EQ(w.Command(kCmdSaveAs), 1);
  std::string saved;
  ASSERT_TRUE(ReadWholeFile(Path("saved.zx2").toStdString(), saved));
  EXPECT_NE(saved.find("Re(A_m)\t1.234568e+009"), std::string::npos);
  EXPECT_NE(saved.find("Re(Zeta)\t6.283185e+000"), std::string::npos);

  // The window computes what the command-line tool computes from the file.
  Project cli;
  cli.ProgramFolder = Folder();
  ASSERT_TRUE(LoadSettingsFile(cli, Path("two.zx2").toStdString()));
  ViewState cliView = MakeViewState(cli);
  RequestRefit(w.paintState().View);
  w.InvalidateGraph();
  w.PaintNow();
  ASSERT_TRUE(RunPreviewCalculation(cli, cliView, {}));
  for (const RegistryEntry& c : cli.CalcConds.items) QFile::remove(QString::fromStdString(c.Path));
  ASSERT_EQ(cli.CalcConds.Count(), 3);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(CorrCoefOf(w.viewState(), p.CalcConds.items[i]),
              CorrCoefOf(cliView, cli.CalcConds.items[i]))
        << i;
  EXPECT_EQ(p.Params.Re_A_m, cli.Params.Re_A_m);
  EXPECT_EQ(p.Params.Re_Zeta, cli.Params.Re_Zeta);

  // Once the user types, the text counts, even when it reads the same.
  w.show();
  Type("zetaEdit", "6.28");
  Panel().ReadPanelValues();
  EXPECT_EQ(p.Params.Re_Zeta, 6.28);
  // A slider move makes the edit's text count as well.
  Slider("amSlider")->setValue(50);
  Panel().ReadPanelValues();
  EXPECT_EQ(p.Params.Re_A_m, 3.16e9);
  EXPECT_EQ(p.Params.Thickness, 1.234568e-6);
  // Showing a project again gives the project's numbers back to the edits.
  p.Params.Re_Zeta = 6.2831852;
  Panel().ShowProjectInPanel();
  Panel().ReadPanelValues();
  EXPECT_EQ(p.Params.Re_Zeta, 6.2831852);
}

TEST_F(ParameterPanelTest, RangesWithoutWidthNeverDivideByZero) {
  MainWindow& w = StartWithTwoFiles([](Project& p) {
    p.Settings.MiniRe_Gamma = p.Settings.MaxRe_Gamma = 0.5;
    p.Settings.MiniRe_Am = 0;
  });
  w.show();
  Project& p = EditProject(w.document());
  EXPECT_EQ(Slider("gammaSlider")->value(), 0);
  EXPECT_EQ(Slider("amSlider")->value(), 0);
  Type("gammaEdit", "0.7");
  EXPECT_EQ(Slider("gammaSlider")->value(), 0);
  // The Am scale has no meaning: the value stays, the slider goes back.
  Slider("amSlider")->setValue(60);
  EXPECT_EQ(Slider("amSlider")->value(), 0);
  EXPECT_EQ(Edit("amEdit")->text(), "1e9");
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_Gamma, 0.7);
  EXPECT_EQ(p.Params.Re_A_m, 1e9);
}

TEST_F(ParameterPanelTest, CalculationDisablesAllButTheSliders) {
  Start();
  Panel().SetCalculationRunning(true);
  for (const char* name : PanelControlNames)
    EXPECT_FALSE(Panel().Control(name)->isEnabled()) << name;
  for (const char* name : kSliders) EXPECT_TRUE(Slider(name)->isEnabled()) << name;
  Panel().SetCalculationRunning(false);
  for (const char* name : PanelControlNames)
    EXPECT_TRUE(Panel().Control(name)->isEnabled()) << name;
}

TEST_F(ParameterPanelTest, FinishAsksOnlyWhenModifiedAndNoEndsWithoutSaving) {
  MainWindow& w = Start();
  w.show();
  std::string before;
  ASSERT_TRUE(ReadWholeFile(Folder() + "ZENTRIX II.zx2", before));
  EditProject(w.document()).Modified = true;
  EditProject(w.document()).Params.Re_m = 7;
  Get<QPushButton>("finishButton")->click();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].text, "設定ファイルは変更されています。保存しますか？");
  EXPECT_EQ(platform.messages[0].caption, "設定ファイルの変更");
  EXPECT_EQ(platform.messages[0].buttons, MsgButtons::YesNo);
  EXPECT_FALSE(w.isVisible());
  EXPECT_FALSE(w.project().Modified);
  std::string after;
  ASSERT_TRUE(ReadWholeFile(Folder() + "ZENTRIX II.zx2", after));
  EXPECT_EQ(after, before);

  // Unmodified: no question at all.
  window.reset();
  platform.messages.clear();
  Start().show();
  Get<QPushButton>("finishButton")->click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ParameterPanelTest, FinishWithYesSavesOrStaysWhenTheSaveFails) {
  MainWindow& w = Start();
  w.show();
  EditProject(w.document()).Modified = true;
  platform.answers = {MsgAnswer::Yes};  // and the file chooser is cancelled
  Get<QPushButton>("finishButton")->click();
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.project().Modified);

  platform.answers = {MsgAnswer::Yes};
  platform.files = {Path("kept.zx2")};
  Get<QPushButton>("finishButton")->click();
  EXPECT_EQ(platform.messages.size(), 2u);  // closing asked nothing more
  EXPECT_TRUE(QFileInfo::exists(Path("kept.zx2")));
  EXPECT_FALSE(w.isVisible());
}

TEST_F(ParameterPanelTest, RightClickOpensThePopupAtTheWindowPoint) {
  MainWindow& w = Start();
  w.show();
  w.move(0, -200);  // room for the menu below every click point
  const QPoint at = PopupAfter([&] {
    QTest::mouseClick(&Panel(), Qt::RightButton, {}, {12, 300});
  });
  const QPoint expected = PopupAfter([&] { w.ShowPopupMenu({470 + 12, 300}); });
  ExpectSamePopupPlace(at, expected);
}

TEST_F(ParameterPanelTest, DropsGoToTheMainWindowsRules) {
  MainWindow& w = StartWithTwoFiles();
  EXPECT_TRUE(Panel().acceptDrops());
  EXPECT_FALSE(Edit("amEdit")->acceptDrops());
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(Path("table.csv"))});
  w.show();
  QDragEnterEvent enter(QPoint(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Panel(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(20, 20), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&Panel(), &drop);
  QApplication::processEvents();
  ASSERT_EQ(platform.messages.size(), 1u);
  EXPECT_EQ(platform.messages[0].caption, "警告");
  EXPECT_EQ(w.project().DataFiles.Count(), 2);
}

}  // namespace
}  // namespace zx::test
