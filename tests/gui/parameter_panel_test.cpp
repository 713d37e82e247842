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

constexpr int kAmSlider = 1022, kAmEdit = 1014;
constexpr int kSigmaSlider = 1023;
constexpr int kGammaSlider = 1024, kGammaEdit = 1017;
constexpr int kZetaEdit = 1031;

class ParameterPanelTest : public PanelTest {
 protected:
  ParameterPanel& Panel() { return *window->parameterPanel(); }
  template <class W>
  W* Get(int id) {
    auto* w = qobject_cast<W*>(Panel().Control(id));
    EXPECT_NE(w, nullptr) << id;
    return w;
  }
  QLineEdit* Edit(int id) { return Get<QLineEdit>(id); }
  QSlider* Slider(int id) { return Get<QSlider>(id); }

  // Replaces the edit's text the way the user does.
  void Type(int id, const QString& text) {
    QLineEdit* e = Edit(id);
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
  const std::map<int, QString> texts = {
      {1045, "ピンパラメータ"},
      {1027, "Am"},
      {1020, "σ^2"},
      {1042, "γ"},
      {1019, "m"},
      {1015, "g^2"},
      {1046, "サンプル特性"},
      {1007, "Tc"},
      {1009, "ρn"},
      {1008, "Bc2(0)"},
      {1010, "ζ"},
      {1047, "サンプルサイズ"},
      {1011, "サンプル名"},
      {1012, "長さ"},
      {1013, "幅"},
      {1040, "厚さ"},
      {1032, "その他の計算パラメータ"},
      {1033, "スケール則内の規格化温度の次数"},
      {1034, "スケール則内の規格化磁場の次数"},
      {1035, "積分時の刻み幅"},
      {1048, "計算開始"},
      {1049, "終了"},
  };
  for (const auto& [id, text] : texts) {
    QWidget* c = panel.Control(id);
    ASSERT_NE(c, nullptr) << id;
    EXPECT_EQ(c->objectName(), QString("ctl%1").arg(id));
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
    EXPECT_EQ(shown, text) << id;
    EXPECT_LE(needed, c->width()) << "clipped: " << id;
    EXPECT_LE(c->fontMetrics().height() + 2, c->height()) << id;
  }
  for (int id : PanelControlIds) {
    QWidget* c = panel.Control(id);
    ASSERT_NE(c, nullptr) << id;
    EXPECT_TRUE(panel.rect().contains(c->geometry())) << id;
    EXPECT_EQ(c->parentWidget(), &panel) << id;
  }
  for (int id : {1041, 1043}) {
    QComboBox* combo = Get<QComboBox>(id);
    ASSERT_EQ(combo->count(), 2);
    EXPECT_EQ(combo->itemText(0), "1");
    EXPECT_EQ(combo->itemText(1), "2");
    EXPECT_FALSE(combo->isEditable());
  }
  for (int id = 1022; id <= 1026; ++id) {
    EXPECT_EQ(Slider(id)->minimum(), 0);
    EXPECT_EQ(Slider(id)->maximum(), 100);
    EXPECT_TRUE(panel.rect().contains(Slider(id)->geometry()));
  }
  EXPECT_TRUE(Get<QPushButton>(1048)->isDefault());
  (void)w;
}

TEST_F(ParameterPanelTest, TooltipsAreTheSameInBothModes) {
  const std::map<QString, std::vector<int>> tips = {
      {"ピン力の強さ", {1027, 1022, 1014}},
      {"ピン力の分布", {1020, 1023, 1016}},
      {"ピン力の磁場依存性", {1042, 1024, 1017}},
      {"ピン力の温度依存性", {1019, 1025, 1018}},
      {"磁束バンドルサイズ", {1015, 1026, 1021}},
      {"臨界温度", {1007, 1028}},
      {"常伝導抵抗率", {1009, 1029}},
      {"上部臨界磁場", {1008, 1030}},
      {"ピン形状定数", {1010, 1031}},
      {"サンプル名", {1011, 1037}},
      {"サンプル長手方向長さ", {1012, 1038}},
      {"サンプル幅", {1013, 1039}},
      {"サンプル厚", {1040, 1044}},
      {"スケール則内の規格化温度の次数", {1033, 1041}},
      {"スケール則内の規格化磁場の次数", {1034, 1043}},
      {"積分時刻み幅", {1035, 1036}},
  };
  for (int mode : {0, 1}) {
    MainWindow& w =
        StartWithTwoFiles([mode](Project& p) { p.Settings.Mode = static_cast<CalcMode>(mode); });
    ASSERT_EQ(w.project().Settings.Mode, static_cast<CalcMode>(mode));
    for (const auto& [text, ids] : tips)
      for (int id : ids) EXPECT_EQ(Panel().Control(id)->toolTip(), text) << id << " mode " << mode;
  }
}

TEST_F(ParameterPanelTest, ShowsTheProjectWithSlidersOnTheirScales) {
  Start();
  EXPECT_EQ(Edit(kAmEdit)->text(), "1e9");
  EXPECT_EQ(Slider(kAmSlider)->value(), 33);
  EXPECT_EQ(Edit(1016)->text(), "1e-1");
  EXPECT_EQ(Slider(kSigmaSlider)->value(), 10);
  EXPECT_EQ(Edit(kGammaEdit)->text(), "8e-1");
  EXPECT_EQ(Slider(kGammaSlider)->value(), 80);
  EXPECT_EQ(Edit(kZetaEdit)->text(), "6.28");
  EXPECT_EQ(Edit(1029)->text(), "1.5e-6");
  EXPECT_EQ(Edit(1037)->text(), "MgB2SUS");
  EXPECT_EQ(Edit(1036)->text(), "900");
  EXPECT_EQ(Get<QComboBox>(1041)->currentIndex(), 1);
  EXPECT_EQ(Get<QComboBox>(1043)->currentIndex(), 1);
  // Showing the project is no change of it.
  EXPECT_FALSE(window->project().Modified);
}

TEST_F(ParameterPanelTest, AmSliderMoveStoresShowsAndRedrawsOnce) {
  MainWindow& w = StartWithTwoFiles();
  Project& p = EditProject(w.document());
  w.paintState().View.RangeValid = true;
  w.paintState().View.RescalePending = false;
  const int before = w.PaintPassCount();

  Slider(kAmSlider)->setValue(33);  // the default stands at 33 already
  Slider(kAmSlider)->setValue(40);
  Slider(kAmSlider)->setValue(33);
  EXPECT_TRUE(p.Modified);
  EXPECT_NEAR(p.Params.Re_A_m, 9.772372e8, 1e2);
  EXPECT_EQ(Edit(kAmEdit)->text(), "9.77e8");
  EXPECT_FALSE(w.viewState().View.RangeValid);
  EXPECT_TRUE(w.viewState().View.RescalePending);
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  // The pass computed with the text of the edit.
  EXPECT_EQ(p.Params.Re_A_m, 9.77e8);

  Slider(kAmSlider)->setValue(100);
  EXPECT_NEAR(p.Params.Re_A_m, p.Settings.MaxRe_Am, p.Settings.MaxRe_Am * 1e-14);
  EXPECT_EQ(Edit(kAmEdit)->text(), "1e11");
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 2);
}

TEST_F(ParameterPanelTest, TypingMovesTheSliderAndTheTextIsUsed) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  Project& p = EditProject(w.document());
  const int before = w.PaintPassCount();
  Type(kGammaEdit, "5");
  EXPECT_EQ(Edit(kGammaEdit)->text(), "5");
  EXPECT_EQ(Slider(kGammaSlider)->value(), 100);
  EXPECT_TRUE(p.Modified);
  EXPECT_DOUBLE_EQ(p.Params.Re_Gamma, 0.8);  // not stored before the pass
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  EXPECT_EQ(p.Params.Re_Gamma, 5.0);

  Type(kAmEdit, "2e10");
  EXPECT_EQ(Slider(kAmSlider)->value(), 77);  // (10.301 - 8) / 3, rounded

  // A text without a number reads as 0; the Am slider has no place for it.
  Type(kAmEdit, "abc");
  EXPECT_EQ(Slider(kAmSlider)->value(), 0);
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_A_m, 0.0);
}

TEST_F(ParameterPanelTest, EveryEditMarksTheProjectModifiedOnlyWhenItsTextChanges) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  for (int id :
       {1014, 1016, 1017, 1018, 1021, 1028, 1029, 1030, 1031, 1037, 1038, 1039, 1044, 1036}) {
    EditProject(w.document()).Modified = false;
    w.PaintNow();
    const int before = w.PaintPassCount();
    Edit(id)->setFocus();
    QTest::keyClick(Edit(id), Qt::Key_End);  // no change of the text
    QTest::keyClick(Edit(id), Qt::Key_Left);
    QTest::keyClick(Edit(id), Qt::Key_Tab);
    EXPECT_FALSE(w.project().Modified) << id;
    w.PaintNow();
    EXPECT_EQ(w.PaintPassCount(), before) << id;
    Edit(id)->setFocus();
    QTest::keyClick(Edit(id), Qt::Key_End);
    QTest::keyClick(Edit(id), Qt::Key_1);
    EXPECT_TRUE(w.project().Modified) << id;
    w.PaintNow();
    EXPECT_EQ(w.PaintPassCount(), before + 1) << id;
  }
}

// The edit's context menu changes the text without a key: the curve and
// the slider follow all the same.
TEST_F(ParameterPanelTest, ContextMenuDeleteAndPasteCountAsEdits) {
  MainWindow& w = StartWithTwoFiles();
  w.show();
  Project& p = EditProject(w.document());
  QLineEdit* gamma = Edit(kGammaEdit);
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
  EXPECT_EQ(Slider(kGammaSlider)->value(), 0);
  w.PaintNow();
  EXPECT_EQ(w.PaintPassCount(), before + 1);
  EXPECT_EQ(p.Params.Re_Gamma, 0.0);

  p.Modified = false;
  QApplication::clipboard()->setText("0.3");
  gamma->selectAll();
  menuAction("Paste")->trigger();
  EXPECT_EQ(gamma->text(), "0.3");
  EXPECT_TRUE(p.Modified);
  EXPECT_EQ(Slider(kGammaSlider)->value(), 30);
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_Gamma, 0.3);
}

TEST_F(ParameterPanelTest, SampleNameAndStepCountAcceptOnlyWhatFits) {
  MainWindow& w = Start();
  w.show();
  Type(1037, "ab cd");
  EXPECT_EQ(Edit(1037)->text(), "abcd");
  Type(1037, QString(45, 'x'));
  EXPECT_EQ(Edit(1037)->text(), QString(39, 'x'));
  Type(1036, "12x3.5");
  EXPECT_EQ(Edit(1036)->text(), "1235");
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.SampleName, std::string(39, 'x'));
  EXPECT_EQ(w.project().Params.IntStepNum, 1235);
  // A count no pass could finish is cut to the largest allowed.
  Type(1036, "999999999");
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.IntStepNum, 20000);
}

TEST_F(ParameterPanelTest, AStepCountBelowOneIsRefused) {
  MainWindow& w = StartWithTwoFiles();  // 60 steps
  w.show();
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  for (const char* typed : {"0", "", "000"}) {
    Type(1036, typed);
    // Until the edit is left, the count in use stays and so do the coefficients.
    w.PaintNow();
    EXPECT_EQ(w.project().Params.IntStepNum, 60);
    EXPECT_TRUE(std::isfinite(CorrCoefOf(w.viewState(), w.project().CalcConds.items[0])));
    const std::size_t before = platform.messages.size();
    Edit(1037)->setFocus();
    EXPECT_EQ(platform.messages.size(), before + 1) << typed;
    EXPECT_EQ(platform.LastMessage(), QStringLiteral("不正な値の入力 : 積分時の刻み幅"));
    EXPECT_EQ(Edit(1036)->text(), "60");
  }
  const std::size_t before = platform.messages.size();
  Type(1036, "7");
  Edit(1037)->setFocus();
  EXPECT_EQ(platform.messages.size(), before);
  w.parameterPanel()->ReadPanelValues();
  EXPECT_EQ(w.project().Params.IntStepNum, 7);
}

TEST_F(ParameterPanelTest, OrderSelectionRedrawsAtOnce) {
  MainWindow& w = StartWithTwoFiles();
  const int before = w.PaintPassCount();
  Get<QComboBox>(1041)->setCurrentIndex(0);
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
  EXPECT_EQ(Edit(kAmEdit)->text(), "1.23e9");
  EXPECT_EQ(Edit(kZetaEdit)->text(), "6.28");
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
  Type(kZetaEdit, "6.28");
  Panel().ReadPanelValues();
  EXPECT_EQ(p.Params.Re_Zeta, 6.28);
  // A slider move makes the edit's text count as well.
  Slider(kAmSlider)->setValue(50);
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
  EXPECT_EQ(Slider(kGammaSlider)->value(), 0);
  EXPECT_EQ(Slider(kAmSlider)->value(), 0);
  Type(kGammaEdit, "0.7");
  EXPECT_EQ(Slider(kGammaSlider)->value(), 0);
  // The Am scale has no meaning: the value stays, the slider goes back.
  Slider(kAmSlider)->setValue(60);
  EXPECT_EQ(Slider(kAmSlider)->value(), 0);
  EXPECT_EQ(Edit(kAmEdit)->text(), "1e9");
  w.PaintNow();
  EXPECT_EQ(p.Params.Re_Gamma, 0.7);
  EXPECT_EQ(p.Params.Re_A_m, 1e9);
}

TEST_F(ParameterPanelTest, CalculationDisablesAllButTheSliders) {
  Start();
  Panel().SetCalculationRunning(true);
  for (int id : PanelControlIds) EXPECT_FALSE(Panel().Control(id)->isEnabled()) << id;
  for (int id = 1022; id <= 1026; ++id) EXPECT_TRUE(Slider(id)->isEnabled()) << id;
  Panel().SetCalculationRunning(false);
  for (int id : PanelControlIds) EXPECT_TRUE(Panel().Control(id)->isEnabled()) << id;
}

TEST_F(ParameterPanelTest, FinishAsksOnlyWhenModifiedAndNoEndsWithoutSaving) {
  MainWindow& w = Start();
  w.show();
  std::string before;
  ASSERT_TRUE(ReadWholeFile(Folder() + "ZENTRIX II.zx2", before));
  EditProject(w.document()).Modified = true;
  EditProject(w.document()).Params.Re_m = 7;
  Get<QPushButton>(1049)->click();
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
  Get<QPushButton>(1049)->click();
  EXPECT_TRUE(platform.messages.empty());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(ParameterPanelTest, FinishWithYesSavesOrStaysWhenTheSaveFails) {
  MainWindow& w = Start();
  w.show();
  EditProject(w.document()).Modified = true;
  platform.answers = {MsgAnswer::Yes};  // and the file chooser is cancelled
  Get<QPushButton>(1049)->click();
  EXPECT_EQ(platform.messages.size(), 1u);
  EXPECT_TRUE(w.isVisible());
  EXPECT_TRUE(w.project().Modified);

  platform.answers = {MsgAnswer::Yes};
  platform.files = {Path("kept.zx2")};
  Get<QPushButton>(1049)->click();
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
  EXPECT_FALSE(Edit(kAmEdit)->acceptDrops());
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
