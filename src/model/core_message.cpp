#include "model/core_message.h"

#include "model/document.h"
#include "model/validation.h"

namespace zx {

namespace {

struct Pattern {
  const char* text;
  bool translateArg;  // a field name; a path is shown as it is
};
const Pattern kPatterns[] = {{kRefusalPattern, true},
                             {kMinimumOfPattern, true},
                             {kMaximumOfPattern, true},
                             {kBadPathPattern, false},
                             {kChangedSinceReadPattern, false}};

}  // namespace

std::string TranslateCoreMessage(const std::string& message, const CoreLookup& lookup) {
  if (message.empty()) return message;
  if (std::string whole = lookup(message); !whole.empty()) return whole;
  const std::size_t nl = message.find('\n');
  for (const Pattern& pattern : kPatterns) {
    const std::string p = pattern.text;
    const std::size_t at = p.find("%1");
    const std::string before = p.substr(0, at), after = p.substr(at + 2);
    // Only a pattern that starts the message may hold more lines (a path
    // may hold a line break; a refusal may go on with a hint).
    if (before.empty() && nl != std::string::npos) continue;
    if (message.size() < before.size() + after.size() ||
        message.compare(0, before.size(), before) != 0 ||
        message.compare(message.size() - after.size(), after.size(), after) != 0)
      continue;
    std::string translated = lookup(pattern.text);
    if (translated.empty()) return message;
    std::string arg = message.substr(before.size(), message.size() - before.size() - after.size());
    if (pattern.translateArg) arg = TranslateCoreMessage(arg, lookup);
    const std::size_t slot = translated.find("%1");
    return slot == std::string::npos ? translated : translated.replace(slot, 2, arg);
  }
  // Messages joined from marked lines.
  if (nl != std::string::npos)
    return TranslateCoreMessage(message.substr(0, nl), lookup) + '\n' +
           TranslateCoreMessage(message.substr(nl + 1), lookup);
  return message;
}

}  // namespace zx
