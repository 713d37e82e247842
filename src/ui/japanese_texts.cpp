#include "ui/japanese_texts.h"

#include <QCoreApplication>
#include <QTranslator>
#include <cstring>

#include "ui/language.h"

namespace zx {

namespace {

struct Entry {
  const char* context;
  const char* source;
  const char* text;
};

const Entry kTexts[] = {
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "&Yes", "はい"},
    {"QPlatformTheme", "&No", "いいえ"},
    {"QPlatformTheme", "Cancel", "キャンセル"},
    {"QPlatformTheme", "Open", "開く"},
    {"QPlatformTheme", "Save", "保存"},
    {"QPlatformTheme", "Close", "閉じる"},
    {"QFileDialog", "Look in:", "ファイルの場所:"},
    {"QFileDialog", "File &name:", "ファイル名(&N):"},
    {"QFileDialog", "Files of type:", "ファイルの種類:"},
    {"QFileDialog", "Directory:", "フォルダ:"},
    {"QFileDialog", "&Open", "開く(&O)"},
    {"QFileDialog", "&Save", "保存(&S)"},
    {"QFileDialog", "&Choose", "選択(&C)"},
    {"QFileDialog", "Open", "開く"},
    {"QFileDialog", "Save As", "名前を付けて保存"},
    {"QFileDialog", "Find Directory", "フォルダの参照"},
    {"QFileDialog", "Back", "戻る"},
    {"QFileDialog", "Go back", "戻る"},
    {"QFileDialog", "Forward", "進む"},
    {"QFileDialog", "Go forward", "進む"},
    {"QFileDialog", "Parent Directory", "1つ上のフォルダ"},
    {"QFileDialog", "Go to the parent directory", "1つ上のフォルダへ移動"},
    {"QFileDialog", "Create New Folder", "新しいフォルダの作成"},
    {"QFileDialog", "Create a New Folder", "新しいフォルダの作成"},
    {"QFileDialog", "List View", "一覧"},
    {"QFileDialog", "Change to list view mode", "一覧表示"},
    {"QFileDialog", "Detail View", "詳細"},
    {"QFileDialog", "Change to detail view mode", "詳細表示"},
    {"QFileDialog", "Recent Places", "最近使った場所"},
    {"QFileDialog", "New Folder", "新しいフォルダ"},
    {"QFileDialog", "&New Folder", "新しいフォルダ(&N)"},
    {"QFileDialog", "&Rename", "名前の変更(&R)"},
    {"QFileDialog", "&Delete", "削除(&D)"},
    {"QFileDialog", "Show &hidden files", "隠しファイルを表示(&H)"},
    {"QFileDialog", "All files (*)", "すべてのファイル (*)"},
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?",
     "%1 は既に存在します。\n上書きしますか？"},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nファイルが見つかりません。\nファイル名を確認してください。"},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nフォルダが見つかりません。\nフォルダ名を確認してください。"},
    {"QFileSystemModel", "Name", "名前"},
    {"QFileSystemModel", "Size", "サイズ"},
    {"QFileSystemModel", "Type", "種類"},
    {"QFileSystemModel", "Date Modified", "更新日時"},
    {"QFileSystemModel", "Computer", "コンピュータ"},
    {"QFileSystemModel", "My Computer", "コンピュータ"},
    {"QAbstractFileIconProvider", "Folder", "フォルダ"},
    {"QAbstractFileIconProvider", "Drive", "ドライブ"},
    {"QAbstractFileIconProvider", "File", "ファイル"},
    {"QAbstractFileIconProvider", "%1 File", "%1 ファイル"},
};

class JapaneseTranslator : public QTranslator {
 public:
  QString translate(const char* context, const char* source, const char*, int) const override {
    // Installed once for good; in English the toolkit keeps its own texts.
    if (CurrentLanguage() != Language::Japanese) return {};
    return JapaneseText(context, source);
  }
  bool isEmpty() const override { return false; }
};

}  // namespace

QString JapaneseText(const char* context, const char* source) {
  if (!context || !source) return {};
  for (const Entry& e : kTexts)
    if (std::strcmp(e.context, context) == 0 && std::strcmp(e.source, source) == 0)
      return QString::fromUtf8(e.text);
  return {};
}

void InstallJapaneseTexts() {
  static JapaneseTranslator* installed = nullptr;
  if (installed || !QCoreApplication::instance()) return;
  installed = new JapaneseTranslator;
  QCoreApplication::installTranslator(installed);
}

}  // namespace zx
