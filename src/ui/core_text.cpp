#include "ui/core_text.h"

#include <QCoreApplication>

#include "model/core_message.h"
#include "ui/language.h"

namespace zx {

QString CoreText(const std::string& message) {
  if (CurrentLanguage() == Language::Japanese) return QString::fromStdString(message);
  return QString::fromStdString(TranslateCoreMessage(message, [](const std::string& text) {
    const QString source = QString::fromStdString(text);
    const QString translated = QCoreApplication::translate("Core", text.c_str());
    return translated == source ? std::string() : translated.toStdString();
  }));
}

}  // namespace zx
