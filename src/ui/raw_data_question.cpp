#include "ui/raw_data_question.h"

#include <QCoreApplication>

#include "import/raw_data_check.h"
#include "ui/platform.h"

namespace zx {

bool ConfirmDataFileRegistration(QWidget* owner, const GraphView& g, const QString& path) {
  const RawDataCheck check = CheckDataFileLooksRaw(g, path.toStdString());
  if (!check.readable || !check.LooksRaw()) return true;
  QString text = QCoreApplication::translate("zx::RawDataQuestion",
                                             "%1\n\n%2 行のうち %3 行から点が得られません。")
                     .arg(path)
                     .arg(check.contentLines)
                     .arg(check.LinesWithoutPoint());
  if (check.notIncreasing)
    text += QCoreApplication::translate("zx::RawDataQuestion", "\n1列目の値が増加していません。");
  if (check.manyColumns)
    text += QCoreApplication::translate("zx::RawDataQuestion",
                                        "\n数値の列が %1 列あります（データファイルは2列です）。")
                .arg(check.numericColumns);
  if (check.timeFirst)
    text += QCoreApplication::translate("zx::RawDataQuestion", "\n1列目は時刻の列です。");
  text += QCoreApplication::translate(
      "zx::RawDataQuestion",
      "\n測定データのままのファイルは データ → 測定データ取り込み で変換できます。"
      "\n\nこのまま登録しますか？");
  return ShowMessage(owner, text,
                     QCoreApplication::translate("zx::RawDataQuestion", "データファイル登録"),
                     MsgButtons::YesNoDefaultNo, MsgIcon::Warning) == MsgAnswer::Yes;
}

}  // namespace zx
