// The graph area of the main window. It shows the image of the last paint
// pass; the pass itself runs outside paintEvent so that it may ask the user.
#pragma once

#include <QImage>
#include <QWidget>

namespace zx {

class MainWindow;

class GraphWidget : public QWidget {
  Q_OBJECT

 public:
  GraphWidget(MainWindow& main, QWidget* parent);
  void SetImage(QImage image);
  const QImage& image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  MainWindow& main_;
  QImage image_;
};

}  // namespace zx
