// The fit record of a result applied in the fit window, kept until the
// project is saved: the save writes it beside the settings file when the
// saved parameters are still the record's.
#pragma once

#include "design/fit_record.h"
#include "model/document.h"

namespace zx {

void KeepFitRecord(const Document& doc, const FitRecord& record);
void ForgetFitRecord(const Document& doc);
// After a save of the document: writes the kept record as
// PROJECT.fit.json when it matches the saved parameters. False when the
// write failed.
bool WriteKeptFitRecord(const Document& doc);

}  // namespace zx
