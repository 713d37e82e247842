// Test fixtures set up a project by hand, past the document's procedures.
#pragma once

#include <vector>

#include "model/document.h"

namespace zx {

struct DocumentTestAccess {
  static Project& Of(Document& d) { return d.project_; }
};

// The document's project, writable, for building test situations.
inline Project& EditProject(Document& d) { return DocumentTestAccess::Of(d); }

// A document that records what its observer was told.
struct Recorded {
  Document doc;
  std::vector<ChangeKind> told;
  Recorded() {
    EditProject(doc).ProgramFolder = "/pf/";
    doc.observers.push_back([this](const DocChange& c) { told.push_back(c.kind); });
  }
  Project& p() { return EditProject(doc); }
};

}  // namespace zx
