// The language of the windows: Japanese (the texts of the source) or
// English (translations embedded at build time). The choice is read once
// at start-up; a change takes effect at the next start.
#pragma once

#include <QString>
#include <optional>

namespace zx {

enum class Language { Japanese, English };

// The language for a POSIX locale name as LC_ALL, LC_MESSAGES or LANG hold
// it ("ja_JP.UTF-8", "en_US.UTF-8", "C"): Japanese for a Japanese locale,
// for C or POSIX and for none; English for any other.
Language LanguageForLocale(const QString& locale);
// The locale the program's messages follow: the first non-empty of
// LC_ALL, LC_MESSAGES and LANG, as the C library takes them.
QString MessagesLocale();

// The user's choice in the per-user settings (never in a project file);
// none when there is no readable choice.
std::optional<Language> StoredLanguage();
// False when the settings could not be written.
bool StoreLanguage(Language language);
// The stored choice, or else the one of the locale.
Language StartupLanguage();

// Makes `language` the one of every text shown from now on (the texts of
// windows created before keep theirs). False when the English texts are
// not in the program; the language is then Japanese.
bool InstallLanguage(Language language);
Language CurrentLanguage();

// A program text of `context` in `language`, whatever language is
// installed: for the one message that announces a change.
QString TextIn(Language language, const char* context, const char* source);

}  // namespace zx
