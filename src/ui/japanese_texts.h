// Japanese texts for what the toolkit itself shows: the standard buttons of
// message boxes and the labels of the file chooser. The program's own
// texts are Japanese, and the desktop may ship no translations.
#pragma once

#include <QString>

namespace zx {

// Installs the texts into the application once; later calls do nothing.
void InstallJapaneseTexts();

// The Japanese text for a toolkit text of a context, or an empty string.
QString JapaneseText(const char* context, const char* source);

}  // namespace zx
