// Messages of the core (marked with ZX_TR_NOOP in the context "Core") in
// the language of the windows.
#pragma once

#include <QString>
#include <string>

namespace zx {

// The message translated whole, or taken apart along one of the core's
// patterns ("不正な値の入力 : %1") with pattern and argument translated
// apart. An unknown message is shown as it is.
QString CoreText(const std::string& message);

}  // namespace zx
