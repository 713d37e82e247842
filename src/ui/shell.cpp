#include "ui/shell.h"

#include <QDragEnterEvent>
#include <QMimeData>

namespace zx {

void AcceptFileDrag(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

}  // namespace zx
