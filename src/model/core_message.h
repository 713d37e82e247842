// Translation of the core's messages (marked with ZX_TR_NOOP in the context
// "Core") by a table the caller brings: the windows bring the toolkit's
// translations, the command line its own English.
#pragma once

#include <functional>
#include <string>

namespace zx {

// The translation of one marked text, or empty when there is none.
using CoreLookup = std::function<std::string(const std::string& text)>;

// The message translated whole; else taken apart along one of the core's
// patterns ("不正な値の入力 : %1") with pattern and argument translated
// apart; else line by line. What the table does not know stays as it is.
std::string TranslateCoreMessage(const std::string& message, const CoreLookup& lookup);

}  // namespace zx
