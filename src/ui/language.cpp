#include "ui/language.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QTranslator>
#include <memory>

#include "ui/japanese_texts.h"

namespace zx {

namespace {

const char kEnglishTexts[] = ":/i18n/zentrix2_en.qm";
const char kLanguageKey[] = "Language";

Language g_current = Language::Japanese;
std::unique_ptr<QTranslator> g_english;

// The per-user settings of the program, apart from any project: under the
// user's config folder (a private one while tests run in test mode).
QString UserSettingsPath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/zentrix2/zentrix2.ini");
}

}  // namespace

Language LanguageForLocale(const QString& locale) {
  // "ja_JP.UTF-8", "ja_JP@euro", "ja": the language is what comes before
  // the first '_', '.' or '@'.
  QString language = locale.trimmed();
  const qsizetype end = language.indexOf(QRegularExpression(QStringLiteral("[_.@]")));
  if (end >= 0) language.truncate(end);
  if (language.isEmpty() || language == QLatin1String("C") || language == QLatin1String("POSIX") ||
      language.compare(QLatin1String("ja"), Qt::CaseInsensitive) == 0)
    return Language::Japanese;
  return Language::English;
}

QString MessagesLocale() {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const QString value = qEnvironmentVariable(name);
    if (!value.isEmpty()) return value;
  }
  return {};
}

std::optional<Language> StoredLanguage() {
  const QSettings settings(UserSettingsPath(), QSettings::IniFormat);
  const QString value = settings.value(QLatin1String(kLanguageKey)).toString();
  if (value == QLatin1String("ja")) return Language::Japanese;
  if (value == QLatin1String("en")) return Language::English;
  return std::nullopt;
}

bool StoreLanguage(Language language) {
  QSettings settings(UserSettingsPath(), QSettings::IniFormat);
  settings.setValue(QLatin1String(kLanguageKey),
                    language == Language::English ? QStringLiteral("en") : QStringLiteral("ja"));
  settings.sync();
  return settings.status() == QSettings::NoError;
}

Language StartupLanguage() {
  if (const std::optional<Language> stored = StoredLanguage()) return *stored;
  return LanguageForLocale(MessagesLocale());
}

bool InstallLanguage(Language language) {
  if (g_english) {
    QCoreApplication::removeTranslator(g_english.get());
    g_english.reset();
  }
  g_current = Language::Japanese;
  if (language == Language::English) {
    auto english = std::make_unique<QTranslator>();
    if (!english->load(QString::fromLatin1(kEnglishTexts))) return false;
    QCoreApplication::installTranslator(english.get());
    g_english = std::move(english);
    g_current = Language::English;
  }
  // The toolkit's own texts are English already; Japanese needs its table.
  if (g_current == Language::Japanese) InstallJapaneseTexts();
  return true;
}

Language CurrentLanguage() { return g_current; }

QString TextIn(Language language, const char* context, const char* source) {
  if (language == Language::English) {
    QTranslator english;
    if (english.load(QString::fromLatin1(kEnglishTexts))) {
      const QString text = english.translate(context, source);
      if (!text.isEmpty()) return text;
    }
  }
  return QString::fromUtf8(source);
}

}  // namespace zx
