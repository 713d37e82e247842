// 結果を保存: the report text and the two plots of the fit window.
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include "fit/fit_report.h"
#include "model/text_codec.h"
#include "model/text_file.h"
#include "ui/fit_dialog.h"
#include "ui/fit_plot_widget.h"
#include "ui/platform.h"
#include "ui/shell.h"

namespace zx {

void FitDialog::SaveClicked() {
  const std::optional<QString> path = ThePlatform().SaveFile(
      this, QStringLiteral("結果を保存"), QStringLiteral("テキストファイル(*.txt)"));
  if (!path || path->isEmpty()) return;
  QString target = *path;
  if (QFileInfo(target).suffix().isEmpty()) target += QStringLiteral(".txt");
  if (!SaveResults(target)) ShowWarning(this, QStringLiteral("結果ファイルを保存できません。"));
}

bool FitDialog::SaveResults(const QString& path) {
  if (!outcome_) return false;
  std::string text;
  auto line = [&text](const QString& l) { text += l.toStdString() + "\r\n"; };
  line(QStringLiteral("# 自動フィッティング"));
  line(QStringLiteral("# 設定ファイル: ") +
       QString::fromStdString(main_.project().SettingsFilePath));
  line(QStringLiteral("# 日時: ") +
       QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
  line(QStringLiteral("# ") + OptionsText());
  for (const std::string& l : FitReportLines(&*outcome_, quality_)) line(QString::fromStdString(l));
  std::string bytes;
  if (!Utf8ToCp932(text, bytes) || !WriteFileAtomically(path.toStdString(), bytes)) return false;

  // The plots beside the report: <name>-curves.png and <name>-residuals.png.
  const QFileInfo info(path);
  const QString base = info.dir().filePath(info.completeBaseName());
  const QString ext =
      imageFormat_->currentIndex() == 1 ? QStringLiteral(".svg") : QStringLiteral(".png");
  return curvesPlot_->Export((base + QStringLiteral("-curves") + ext).toStdString()) &&
         residualPlot_->Export((base + QStringLiteral("-residuals") + ext).toStdString());
}

}  // namespace zx
