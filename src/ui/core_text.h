// Messages of the core (marked with ZX_TR_NOOP in the context "Core") in
// the language of the windows.
#pragma once

#include <QString>
#include <string>

namespace zx {

// See TranslateCoreMessage; an unknown message is shown as it is.
QString CoreText(const std::string& message);

}  // namespace zx
