// The core's messages (Japanese, for the windows) in the English of the
// command line's own messages.
#pragma once

#include <cstddef>
#include <string>

namespace zx::cli {

// An unknown message comes back as it is.
std::string English(const std::string& message);

// The windows' rule for the language of messages: Japanese when the first
// of LC_ALL, LC_MESSAGES and LANG that is set names Japanese, C or POSIX
// (or none is set), English otherwise.
bool JapaneseLocale();

// A core message as the locale asks for it: as it is (Japanese) or in
// English.
std::string Localized(const std::string& message);

// The table behind English(), Japanese with its English; for the test that
// keeps it equal to the windows' translations.
struct EnglishEntry {
  const char* japanese;
  const char* english;
};
const EnglishEntry* EnglishTable(std::size_t& count);

}  // namespace zx::cli
