// 結果を保存: the report text and the two plots of the fit window.
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cmath>

#include "fit/fit_report.h"
#include "model/result_path.h"
#include "model/text_file.h"
#include "ui/fit_dialog.h"
#include "ui/fit_plot_widget.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

namespace {

// A report or picture must never replace what the project reads.
QString RefusalOf(const Project& p, const QString& path) {
  switch (CheckResultPath(p, path.toStdString())) {
    case ResultPathClash::DataFile:
      return QCoreApplication::translate("zx::FitDialog",
                                         "結果ファイルにデータファイルは指定できません。");
    case ResultPathClash::SettingsFile:
      return QCoreApplication::translate("zx::FitDialog",
                                         "結果ファイルに設定ファイルは指定できません。");
    case ResultPathClash::None:
      break;
  }
  return {};
}

}  // namespace

void FitDialog::SaveClicked() {
  const std::optional<QString> path =
      ThePlatform().SaveFile(this, tr("結果を保存"), tr("テキストファイル(*.txt)"));
  if (!path || path->isEmpty()) return;
  QString target = *path;
  if (QFileInfo(target).suffix().isEmpty()) target += QStringLiteral(".txt");
  if (const QString refused = SaveResults(target); !refused.isEmpty()) ShowWarning(this, refused);
}

QString FitDialog::SaveResults(const QString& path) {
  const QString cannot = tr("結果ファイルを保存できません。");
  if (!outcome_) return cannot;
  // The plots beside the report: <name>-curves.png and <name>-residuals.png.
  const QFileInfo info(path);
  const QString base = info.dir().filePath(info.completeBaseName());
  const QString ext =
      imageFormat_->currentIndex() == 1 ? QStringLiteral(".svg") : QStringLiteral(".png");
  const QString curves = base + QStringLiteral("-curves") + ext;
  const QString residuals = base + QStringLiteral("-residuals") + ext;
  for (const QString& p : {path, curves, residuals})
    if (const QString refused = RefusalOf(main_.project(), p); !refused.isEmpty()) return refused;

  // The plots may show the panel's model since (after 元に戻す, say): the
  // report, the tables and the pictures all give the minimum shown.
  const int rank = shownMinimum_ >= 0 && shownMinimum_ < static_cast<int>(outcome_->minima.size())
                       ? shownMinimum_
                       : 0;
  FitOutcome reported = *outcome_;
  const FitQuality quality = ShowMinimum(rank);
  if (rank > 0) {
    // Another minimum than the result: its values, without the result's errors.
    for (std::size_t k = 0; k < kFitParamCount; ++k) {
      reported.params[k].value = outcome_->minima[static_cast<std::size_t>(rank)].values[k];
      reported.params[k].stdError = NAN;
    }
    reported.correlation = NanFitMatrix();
  }

  // A file of our own, read in terminals and editors: UTF-8 with LF.
  std::string text;
  auto line = [&text](const QString& l) { text += l.toStdString() + "\n"; };
  line(tr("# 自動フィッティング"));
  line(tr("# 設定ファイル: ") + QString::fromStdString(main_.project().SettingsFilePath));
  line(tr("# 日時: ") +
       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
  line(QStringLiteral("# ") + OptionsText());
  for (const std::string& l : FitReportLines(&reported, quality)) line(QString::fromStdString(l));
  if (!WriteFileAtomically(path.toStdString(), text)) return cannot;
  if (!curvesPlot_->Export(curves.toStdString()) || !residualPlot_->Export(residuals.toStdString()))
    return cannot;
  return {};
}

}  // namespace zx
