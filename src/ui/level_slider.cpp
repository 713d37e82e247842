#include "ui/level_slider.h"

#include <QLineEdit>
#include <QSlider>

#include "model/format.h"
#include "ui/focused_wheel.h"
#include "ui/modeless_dialog.h"

namespace zx {

QSlider* MakeLevelSlider(QWidget* parent, int maxLevel, int level, QLineEdit** text) {
  auto* slider = NameControl(new QSlider(Qt::Horizontal, parent), "levelSlider");
  slider->setRange(1, maxLevel);
  slider->setPageStep(1);
  slider->setTickPosition(QSlider::TicksBelow);
  slider->setTickInterval(1);
  slider->setValue(level);
  TakeWheelOnlyWhenFocused(slider);
  auto* shown = NameControl(new QLineEdit(parent), "levelEdit");
  shown->setReadOnly(true);
  shown->setMaximumWidth(48);
  shown->setText(QString::number(slider->value()));
  QObject::connect(slider, &QSlider::valueChanged, shown,
                   [shown](int v) { shown->setText(QString::fromStdString(FormatFixed(v, 1))); });
  *text = shown;
  return slider;
}

}  // namespace zx
