// zentrix2-calc speaks English: the core's messages, which are Japanese for
// the windows, go through the command line's own table, and that table
// says what the windows' English says.
#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <string>

#include "cli/english.h"
#include "import/registration.h"
#include "model/document.h"
#include "model/settings_set.h"
#include "model/text_file.h"
#include "model/validation.h"

namespace zx {
namespace {

bool HasNonAscii(const std::string& s) {
  for (unsigned char c : s)
    if (c >= 0x80) return true;
  return false;
}

std::string Unescape(std::string s) {
  const std::pair<const char*, const char*> entities[] = {
      {"&lt;", "<"}, {"&gt;", ">"}, {"&quot;", "\""}, {"&apos;", "'"}, {"&amp;", "&"}};
  for (const auto& [from, to] : entities)
    for (std::size_t at = s.find(from); at != std::string::npos; at = s.find(from, at + 1))
      s.replace(at, std::strlen(from), to);
  return s;
}

// The finished translations of the context "Core" in the .ts file.
std::map<std::string, std::string> CoreTranslations() {
  std::string ts;
  EXPECT_TRUE(ReadWholeFile(ZX_SOURCE_DIR "/translations/zentrix2_en.ts", ts));
  std::map<std::string, std::string> out;
  const std::size_t begin = ts.find("<name>Core</name>");
  const std::size_t end = ts.find("</context>", begin);
  if (begin == std::string::npos) return out;
  for (std::size_t at = ts.find("<source>", begin); at < end; at = ts.find("<source>", at)) {
    at += 8;
    const std::string source = ts.substr(at, ts.find("</source>", at) - at);
    const std::size_t open = ts.find("<translation", at);
    const std::size_t textAt = ts.find('>', open) + 1;
    const std::string attributes = ts.substr(open, textAt - open);
    if (attributes.find("vanished") != std::string::npos ||
        attributes.find("obsolete") != std::string::npos)
      continue;
    out[Unescape(source)] = Unescape(ts.substr(textAt, ts.find("</translation>", textAt) - textAt));
  }
  return out;
}

TEST(CliEnglish, TableSaysWhatTheWindowsSay) {
  const std::map<std::string, std::string> windows = CoreTranslations();
  ASSERT_GT(windows.size(), 20u);
  std::size_t count = 0;
  const cli::EnglishEntry* table = cli::EnglishTable(count);
  std::map<std::string, std::string> ours;
  for (std::size_t i = 0; i < count; ++i) ours[table[i].japanese] = table[i].english;
  EXPECT_EQ(ours, windows);
}

TEST(CliEnglish, CoreMessagesWholeJoinedAndTakenApart) {
  Project p;
  EXPECT_EQ(cli::English(ApplyKeyAssignments(p, {{"MiniRe(Am)", "1e12"}})),
            "Invalid input: maximum of Am");
  EXPECT_EQ(cli::English(ApplyKeyAssignments(p, {{"Tcn", "2"}})),
            "Invalid input: exponent of T/Tc in the scaling law");
  EXPECT_EQ(cli::English(ApplyKeyAssignments(p, {{"SampleName", "a b"}})),
            "Invalid input: sample name");
  EXPECT_EQ(cli::English(ImportedConditionRefusal(p, {500.0, 1.0})),
            "Invalid input: temperature\nThe temperature must be above 0 K and below 400 K.");
  EXPECT_EQ(cli::English(ImportedConditionRefusal(p, {77.0, 0.0})),
            "Invalid input: magnetic field\nA magnetic field of 0 T cannot be calculated (the "
            "model needs B > 0). For a self-field measurement, enter a small positive field.");
  // A path is shown as it is, even one that reads like a marked text.
  EXPECT_EQ(cli::English(CheckPathEntry("/tmp/a\n温度\U0001F600.dat")),
            "The path holds characters that cannot be used: /tmp/a\n温度\U0001F600.dat");
  EXPECT_EQ(cli::English("unknown\n温度"), "unknown\ntemperature");
  EXPECT_EQ(cli::English(""), "");
  // Every marked text the table knows is English through and through.
  std::size_t count = 0;
  const cli::EnglishEntry* table = cli::EnglishTable(count);
  for (std::size_t i = 0; i < count; ++i)
    EXPECT_FALSE(HasNonAscii(cli::English(table[i].japanese))) << table[i].japanese;
}

}  // namespace
}  // namespace zx
