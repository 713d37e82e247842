// How a view follows its document: the series are rebuilt when a registry
// changes (one series per entry), a changed condition loses its coefficient,
// the mode's axis titles follow the mode, and every refit the document asked
// for reaches the view's next paint.
#pragma once

#include "model/document.h"
#include "model/view_state.h"

namespace zx {

void FollowDocument(ViewState& v, const Document& d, const DocChange& change);
// Marks the range for a refit when the document asked for one since the
// view last looked.
void FollowRefits(ViewState& v, const Document& d);

}  // namespace zx
