#include "ui/language_menu.h"

#include <QActionGroup>
#include <QCoreApplication>
#include <QMenu>

#include "ui/language.h"
#include "ui/platform.h"

namespace zx {

namespace {

const char kContext[] = "zx::LanguageMenu";
const char kNextStart[] =
    QT_TRANSLATE_NOOP("zx::LanguageMenu", "表示言語は次回の起動時に切り替わります。");
const char kNotStored[] = QT_TRANSLATE_NOOP("zx::LanguageMenu", "言語の設定を保存できません。");
const QString kCaption = QStringLiteral("言語 / Language");

void Choose(QWidget* owner, Language language) {
  if (!StoreLanguage(language)) {
    ShowWarning(owner, QCoreApplication::translate(kContext, kNotStored), kCaption);
    return;
  }
  // Told in the language chosen: the one the user can read.
  if (language != CurrentLanguage())
    ShowMessage(owner, TextIn(language, kContext, kNextStart), kCaption, MsgButtons::Ok,
                MsgIcon::Information);
}

}  // namespace

QMenu* AddLanguageMenu(QMenu* parent, QWidget* owner) {
  QMenu* menu = parent->addMenu(kCaption);
  menu->setObjectName(QStringLiteral("menuLanguage"));
  menu->menuAction()->setObjectName(QStringLiteral("actionLanguage"));
  auto* group = new QActionGroup(menu);
  const Language chosen = StoredLanguage().value_or(CurrentLanguage());
  struct Item {
    Language language;
    const char* name;
    const char* text;
  };
  const Item items[] = {{Language::Japanese, "actionLanguageJapanese", "日本語"},
                        {Language::English, "actionLanguageEnglish", "English"}};
  for (const Item& item : items) {
    QAction* a = menu->addAction(QString::fromUtf8(item.text));
    a->setObjectName(QLatin1String(item.name));
    a->setCheckable(true);
    a->setChecked(item.language == chosen);
    group->addAction(a);
    const Language language = item.language;
    QObject::connect(a, &QAction::triggered, owner, [owner, language] { Choose(owner, language); });
  }
  return menu;
}

}  // namespace zx
