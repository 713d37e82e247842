// The sample name must fit its settings-file field: one token of at most
// 39 characters that the file's code page can hold.
#pragma once

#include <QValidator>

namespace zx {

inline constexpr int kSampleNameMaxChars = 39;

// True when the name can be stored and read back unchanged.
bool IsStorableSampleName(const QString& name);

class SampleNameValidator : public QValidator {
 public:
  using QValidator::QValidator;
  State validate(QString& input, int& pos) const override;
};

}  // namespace zx
