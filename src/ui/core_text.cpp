#include "ui/core_text.h"

#include <QCoreApplication>

#include "model/document.h"
#include "model/validation.h"
#include "ui/language.h"

namespace zx {

namespace {

const char kContext[] = "Core";
struct Pattern {
  const char* text;
  bool translateArg;  // a field name; a path is shown as it is
};
const Pattern kPatterns[] = {{kRefusalPattern, true},
                             {kMinimumOfPattern, true},
                             {kMaximumOfPattern, true},
                             {kBadPathPattern, false}};

}  // namespace

QString CoreText(const std::string& message) {
  const QString text = QString::fromStdString(message);
  if (CurrentLanguage() == Language::Japanese || message.empty()) return text;
  const QString whole = QCoreApplication::translate(kContext, message.c_str());
  if (whole != text) return whole;
  for (const Pattern& pattern : kPatterns) {
    const QString p = QString::fromUtf8(pattern.text);
    const qsizetype at = p.indexOf(QLatin1String("%1"));
    const QString before = p.left(at), after = p.mid(at + 2);
    if (text.size() < before.size() + after.size() || !text.startsWith(before) ||
        !text.endsWith(after))
      continue;
    const QString arg = text.mid(before.size(), text.size() - before.size() - after.size());
    return QCoreApplication::translate(kContext, pattern.text)
        .arg(pattern.translateArg ? CoreText(arg.toStdString()) : arg);
  }
  return text;
}

}  // namespace zx
