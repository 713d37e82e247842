#include "cli/english.h"

#include <cctype>
#include <cstdlib>
#include <iterator>

#include "model/core_message.h"

namespace zx::cli {

namespace {

// The texts of the context "Core" in translations/zentrix2_en.ts, word for
// word: the command line has no toolkit to read them from.
const EnglishEntry kTable[] = {
    {"x軸の最大値(最小値)の値が適切ではありません。",
     "The maximum or minimum of the x axis is not valid."},
    {"y軸の最大値(最小値)の値が適切ではありません。",
     "The maximum or minimum of the y axis is not valid."},
    {"メモリの確保に失敗しました。終了します", "Out of memory. The program ends."},
    {"関連付けデータファイル番号", "data file number"},
    {"温度", "temperature"},
    {"磁場", "magnetic field"},
    {"計算結果出力フォルダ", "result folder"},
    {"出力ファイル名", "result file name"},
    {"J範囲開始値", "start of the J range"},
    {"J範囲終了値", "end of the J range"},
    {"計算の細かさ", "point density"},
    {"B範囲開始値", "start of the B range"},
    {"B範囲終了値", "end of the B range"},
    {"電界基準値", "electric field criterion E_c"},
    {"計算結果出力ファイルを作成できません。", "The result file cannot be written."},
    {"パスに使用できない文字が含まれています : %1",
     "The path holds characters that cannot be used: %1"},
    {"%1 は読み込んだ後に他のプログラムが変更しました。変更を失わないよう上書きしません。",
     "%1 was changed by another program after it was read; it is not replaced, so that no "
     "change is lost."},
    {"ピン力の強さ", "Pinning strength"},
    {"ピン力の分布", "Width of the pinning strength distribution"},
    {"ピン力の磁場依存性", "Field dependence of the pinning strength"},
    {"ピン力の温度依存性", "Temperature dependence of the pinning strength"},
    {"磁束バンドルサイズ", "Flux bundle size"},
    {"臨界温度", "Critical temperature (K)"},
    {"上部臨界磁場", "Upper critical field at 0 K (T)"},
    {"計算結果出力ファイルにデータファイルは指定できません。",
     "A data file cannot be a result file."},
    {"計算結果出力ファイルに設定ファイルは指定できません。",
     "The settings file cannot be a result file."},
    {"データファイルが大きすぎます（100万点、1行65536バイトまで）。",
     "The data file is too large (at most 1,000,000 points and 65536 bytes per line)."},
    {"不正な値の入力 : %1", "Invalid input: %1"},
    {"%1の最小値", "minimum of %1"},
    {"%1の最大値", "maximum of %1"},
    {"温度は 0 K より大きく 400 K 未満にしてください。",
     "The temperature must be above 0 K and below 400 K."},
    {"磁場 0 T では計算できません（モデルは B > 0 を必要とします）。"
     "自己磁場の測定には小さな正の値を入力してください。",
     "A magnetic field of 0 T cannot be calculated (the model needs B > 0). For a self-field "
     "measurement, enter a small positive field."},
    {"磁場は 0 T より大きく 100 T 未満にしてください。",
     "The magnetic field must be above 0 T and below 100 T."},
    {"サンプル名", "sample name"},
    {"長さ", "length"},
    {"幅", "width"},
    {"厚さ", "thickness"},
    {"スケール則内の規格化温度の次数", "exponent of T/Tc in the scaling law"},
    {"スケール則内の規格化磁場の次数", "exponent of B/Bc2 in the scaling law"},
    {"積分区間数", "number of integration steps"},
};

}  // namespace

const EnglishEntry* EnglishTable(std::size_t& count) {
  count = std::size(kTable);
  return kTable;
}

std::string English(const std::string& message) {
  return TranslateCoreMessage(message, [](const std::string& text) {
    for (const EnglishEntry& e : kTable)
      if (text == e.japanese) return std::string(e.english);
    return std::string();
  });
}

bool JapaneseLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (!value || !*value) continue;
    // "ja_JP.UTF-8", "C.UTF-8", "POSIX": the language is what comes before
    // the first '_', '.' or '@'.
    const std::string language =
        std::string(value).substr(0, std::string(value).find_first_of("_.@"));
    std::string lower = language;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return language.empty() || language == "C" || language == "POSIX" || lower == "ja";
  }
  return true;
}

std::string Localized(const std::string& message) {
  return JapaneseLocale() ? message : English(message);
}

}  // namespace zx::cli
