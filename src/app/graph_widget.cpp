#include "app/graph_widget.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/main_window.h"

namespace zx {

GraphWidget::GraphWidget(MainWindow& main, QWidget* parent) : QWidget(parent), main_(main) {
  setGeometry(0, 0, 468, 357);
  setFocusPolicy(Qt::ClickFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::SetImage(QImage image) {
  image_ = std::move(image);
  update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (image_.isNull())
    painter.fillRect(rect(), Qt::white);
  else
    painter.drawImage(QPoint(0, 0), image_);
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    main_.ShowPopupMenu(mapTo(&main_, event->position().toPoint()) - main_.ClientOrigin());
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace zx
