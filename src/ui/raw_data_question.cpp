#include "ui/raw_data_question.h"

#include "model/raw_data_check.h"
#include "ui/platform.h"

namespace zx {

bool ConfirmDataFileRegistration(QWidget* owner, const GraphView& g, const QString& path) {
  const RawDataCheck check = CheckDataFileLooksRaw(g, path.toStdString());
  if (!check.readable || !check.LooksRaw()) return true;
  QString text = QStringLiteral("%1\n\n%2 行のうち %3 行から点が得られません。")
                     .arg(path)
                     .arg(check.contentLines)
                     .arg(check.LinesWithoutPoint());
  if (check.notIncreasing) text += QStringLiteral("\n1列目の値が増加していません。");
  if (check.manyColumns)
    text += QStringLiteral("\n数値の列が %1 列あります（データファイルは2列です）。")
                .arg(check.numericColumns);
  if (check.timeFirst) text += QStringLiteral("\n1列目は時刻の列です。");
  text += QStringLiteral(
      "\n測定データのままのファイルは データ → 測定データ取り込み で変換できます。"
      "\n\nこのまま登録しますか？");
  return ShowMessage(owner, text, QStringLiteral("データファイル登録"), MsgButtons::YesNoDefaultNo,
                     MsgIcon::Warning) == MsgAnswer::Yes;
}

}  // namespace zx
