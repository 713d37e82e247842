#include "ui/sample_name_validator.h"

#include <string>

#include "model/text_codec.h"

namespace zx {

bool IsStorableSampleName(const QString& name) {
  const QList<uint> codePoints = name.toUcs4();
  if (codePoints.size() > kSampleNameMaxChars) return false;
  for (uint c : codePoints)
    if (QChar::isSpace(c)) return false;
  std::string bytes;
  return Utf8ToCp932(name.toStdString(), bytes);
}

QValidator::State SampleNameValidator::validate(QString& input, int&) const {
  return IsStorableSampleName(input) ? Acceptable : Invalid;
}

}  // namespace zx
