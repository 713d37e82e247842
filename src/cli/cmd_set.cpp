// --set: values of a project's settings file by their keys.
#include <cstdio>

#include "cli/commands.h"
#include "cli/english.h"
#include "model/document.h"
#include "model/settings_set.h"
#include "model/text_codec.h"
#include "model/text_file.h"

namespace zx::cli {

namespace {

int ChangedSinceRead(const std::string& project) {
  std::fprintf(stderr, "zentrix2-calc: %s\n",
               English(FillPattern(kChangedSinceReadPattern, project)).c_str());
  return 1;
}

}  // namespace

int CmdSet(const std::string& project, const std::vector<std::string>& assignments) {
  std::vector<KeyAssignment> list;
  std::vector<std::string> keys;
  for (const std::string& text : assignments) {
    KeyAssignment a;
    if (!ParseKeyAssignment(text, a)) {
      std::fprintf(stderr, "zentrix2-calc: --set needs KEY=VALUE, not \"%s\"\n", text.c_str());
      return 2;
    }
    list.push_back(a);
    keys.push_back(a.key);
  }
  std::string bytes;
  Project p;
  ReadStamp read;
  if (!ReadWholeFile(project, bytes) || !LoadProjectFile(p, project, &read)) {
    std::fprintf(stderr, "zentrix2-calc: cannot read %s\n", project.c_str());
    return 1;
  }
  // A data file, a picture or an empty file would get a key line appended.
  if (!ReadsAsSettingsFile(bytes)) {
    std::fprintf(stderr, "zentrix2-calc: --set: %s is not a settings file; nothing was written\n",
                 project.c_str());
    return 2;
  }
  if (StampOf(bytes) != read) return ChangedSinceRead(project);
  if (const std::string refused = ApplyKeyAssignments(p, list); !refused.empty()) {
    std::fprintf(stderr, "zentrix2-calc: --set: %s; nothing was written\n",
                 Localized(refused).c_str());
    return 2;
  }
  std::string out;
  if (!ReplaceKeyValues(bytes, p, keys, out)) {
    std::fprintf(stderr,
                 "zentrix2-calc: --set: a value cannot be written in the file's code page\n");
    return 2;
  }
  if (out == bytes) return 0;
  switch (ReplaceProjectFile(project, out, read)) {
    case WriteResult::Written:
      return 0;
    case WriteResult::ChangedSinceRead:
      return ChangedSinceRead(project);
    case WriteResult::Failed:
      break;
  }
  std::fprintf(stderr, "zentrix2-calc: cannot write %s\n", project.c_str());
  return 1;
}

}  // namespace zx::cli
