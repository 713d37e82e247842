// Test fixtures set up a project by hand, past the document's procedures.
#pragma once

#include <vector>

#include "model/document.h"
#include "model/view_follow.h"
#include "model/view_state.h"

namespace zx {

struct DocumentTestAccess {
  static Project& Of(Document& d) { return d.project_; }
};

// The document's project, writable, for building test situations.
inline Project& EditProject(Document& d) { return DocumentTestAccess::Of(d); }

// A document that records what its observer was told, with a view that
// follows it as the window's does.
struct Recorded {
  Document doc;
  std::vector<ChangeKind> told;
  ViewState v;
  Recorded() {
    EditProject(doc).ProgramFolder = "/pf/";
    doc.observers.push_back([this](const DocChange& c) {
      told.push_back(c.kind);
      FollowDocument(v, doc, c);
    });
  }
  Project& p() { return EditProject(doc); }
};

}  // namespace zx
