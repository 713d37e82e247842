#include "ui/fit_record_keeper.h"

#include <map>

namespace zx {

namespace {

std::map<const Document*, FitRecord>& Kept() {
  static std::map<const Document*, FitRecord> kept;
  return kept;
}

}  // namespace

void KeepFitRecord(const Document& doc, const FitRecord& record) { Kept()[&doc] = record; }

void ForgetFitRecord(const Document& doc) { Kept().erase(&doc); }

bool WriteKeptFitRecord(const Document& doc) {
  const auto it = Kept().find(&doc);
  const Project& p = doc.project;
  if (it == Kept().end() || p.SettingsFilePath.empty() || !RecordMatches(it->second, p.Params))
    return true;
  return WriteFitRecord(FitRecordPath(p.SettingsFilePath), it->second);
}

}  // namespace zx
