// Test fixtures set up a project by hand, past the document's procedures.
#pragma once

#include "model/document.h"

namespace zx {

struct DocumentTestAccess {
  static Project& Of(Document& d) { return d.project_; }
};

// The document's project, writable, for building test situations.
inline Project& EditProject(Document& d) { return DocumentTestAccess::Of(d); }

}  // namespace zx
