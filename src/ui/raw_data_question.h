// The question before a file that looks like a raw measurement table is
// registered as a data file.
#pragma once

#include <QString>

class QWidget;

namespace zx {

struct GraphView;

// True when the file may be registered: it looks like a data file, cannot
// be read (the graph reports that), or the user said yes.
bool ConfirmDataFileRegistration(QWidget* owner, const GraphView& g, const QString& path);

}  // namespace zx
