// The Jc(B,T) map window, and the fit record that Apply and a save leave.
#include "ui/jc_map_dialog.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "../core/fit_fixture.h"
#include "design/fit_record.h"
#include "model/settings_file.h"
#include "model/text_file.h"
#include "shell_fixture.h"
#include "ui/fit_dialog.h"

namespace zx::test {
namespace {

TEST_F(ShellTest, AppliedFitIsRecordedAtTheSaveAndTheMapWindowShowsAndExportsIt) {
  const ModelParams truth = fit_test::TruthParams();
  const FitInput in = fit_test::MakeEJInput(truth, {{20, 1.0}, {25, 2.0}, {30, 1.0}}, 8, 0.03);
  Project p;
  p.Params = truth;
  p.Params.Re_A_m *= 1.2;
  fit_test::AddConditionFiles(p, in, Folder(), Folder() + "r.dat");
  const std::string path = Folder() + "p.zx2";
  ASSERT_TRUE(WriteSettings(p, path));
  MainWindow& w = Start(path);
  w.PaintNow();

  w.Command(kCmdAutoFit);
  auto* fit = w.findChild<FitDialog*>();
  ASSERT_NE(fit, nullptr);
  fit->findChild<QPushButton*>(QStringLiteral("fitStart"))->click();
  ASSERT_TRUE(QTest::qWaitFor([fit] { return !fit->Running() && fit->Outcome(); }, 60000));
  ASSERT_EQ(fit->Outcome()->stop, FitStop::Converged);
  // Nothing is recorded before the save, nor by a save after Undo.
  fit->Apply();
  fit->Undo();
  w.Command(kCmdSave);
  const std::string recordPath = Folder() + "p.fit.json";
  EXPECT_FALSE(FileExists(recordPath));
  fit->Apply();
  EXPECT_FALSE(FileExists(recordPath));
  w.Command(kCmdSave);
  FitRecord rec;
  std::string why;
  ASSERT_TRUE(ReadFitRecord(recordPath, rec, why)) << why;
  Project saved;
  ASSERT_TRUE(LoadSettingsFile(saved, path));
  EXPECT_TRUE(RecordMatches(rec, saved.Params));
  EXPECT_EQ(rec.points, 24);

  w.Command(kCmdJcMap);
  auto* map = w.findChild<JcMapDialog*>();
  ASSERT_NE(map, nullptr);
  EXPECT_EQ(map->windowTitle(), QStringLiteral("Jc(B,T)マップ"));
  EXPECT_FALSE(map->isModal());
  ASSERT_TRUE(map->Recompute());
  EXPECT_EQ(map->findChild<QLineEdit*>(QStringLiteral("mapTemps"))->text(),
            QStringLiteral("20, 25, 30"));
  EXPECT_EQ(map->Basis().record, RecordState::Current);
  EXPECT_TRUE(map->Basis().HasBands());
  ASSERT_EQ(map->Map().temps.size(), 3u);
  EXPECT_EQ(map->Map().points.size(), 3u * map->Map().fields.size());
  // A list that cannot be read keeps the map shown.
  map->findChild<QLineEdit*>(QStringLiteral("mapTemps"))->setText(QStringLiteral("20, x"));
  EXPECT_FALSE(map->Recompute());
  EXPECT_EQ(map->Map().temps.size(), 3u);

  EXPECT_EQ(map->Export(Path("m.txt"), MapExport::Comsol), QString());
  std::string text;
  ASSERT_TRUE(ReadWholeFile(Path("m.txt").toStdString(), text));
  EXPECT_EQ(text.rfind("% ", 0), 0u);
  EXPECT_EQ(map->Export(Path("m.png"), MapExport::Png), QString());
  EXPECT_TRUE(QFile::exists(Path("m-jc.png")));
  EXPECT_TRUE(QFile::exists(Path("m-n.png")));
  EXPECT_NE(map->Export(QString::fromStdString(path), MapExport::Csv), QString());
}

}  // namespace
}  // namespace zx::test
