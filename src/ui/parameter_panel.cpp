#include "ui/parameter_panel.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSlider>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "model/format.h"
#include "model/limits.h"
#include "model/param_table.h"
#include "ui/core_text.h"
#include "ui/dialog_helpers.h"
#include "ui/dialogs.h"
#include "ui/focused_wheel.h"
#include "ui/platform.h"
#include "ui/sample_name_validator.h"
#include "ui/shell.h"

namespace zx {

// A label with its number edit; a pinning parameter has its slider between.
struct PanelField {
  QString labelName;
  QString editName;
  QString label;  // as shown
  QString tip;
  double ModelParams::*field;
};

namespace {

// Hand layout of the 330 x 536 panel: four group boxes stacked, then the
// two buttons. Rows are 28 pixels apart, controls 24 high.
constexpr int kPanelX = 470;
constexpr int kPanelWidth = 330;
constexpr int kPanelHeight = 536;
constexpr int kGroupX = 4;
constexpr int kGroupWidth = kPanelWidth - 2 * kGroupX;
constexpr int kGroupTitle = 22;  // from the group's top to its first row
constexpr int kRowPitch = 28;
constexpr int kRowHeight = 24;
constexpr int kGroupGap = 4;

constexpr int GroupHeight(int rows) { return kGroupTitle + rows * kRowPitch + 2; }
constexpr int RowY(int groupTop, int row) { return groupTop + kGroupTitle + row * kRowPitch; }

// A text of the panel's tables in the language of the windows.
QString Text(const char* source) {
  return QCoreApplication::translate("zx::ParameterPanel", source);
}

// A quantity of the parameter table: its controls are named by the row.
PanelField ParamField(const ParamRow& r) {
  const QString prefix = QLatin1String(r.controlName);
  return {prefix + QLatin1String("Label"), prefix + QLatin1String("Edit"),
          QString::fromUtf8(r.symbol), CoreText(r.description), r.value};
}

// A number of the panel's own, never fitted.
PanelField OwnField(const char* labelName, const char* editName, const char* label, const char* tip,
                    double ModelParams::*field) {
  return {QLatin1String(labelName), QLatin1String(editName), Text(label), Text(tip), field};
}

// The sample's properties, two to a row: Tc, ρn, Bc2(0), ζ.
std::vector<PanelField> PropertyFields() {
  return {ParamField(ParamRowOf(FitParam::Tc)),
          OwnField("rhonLabel", "rhonEdit", "ρn",
                   QT_TRANSLATE_NOOP("zx::ParameterPanel", "常伝導抵抗率"), &ModelParams::Rho_n_0),
          ParamField(ParamRowOf(FitParam::Bc2)),
          OwnField("zetaLabel", "zetaEdit", "ζ",
                   QT_TRANSLATE_NOOP("zx::ParameterPanel", "ピン形状定数"), &ModelParams::Re_Zeta)};
}

std::vector<PanelField> SizeFields() {
  return {
      OwnField("lengthLabel", "lengthEdit", QT_TRANSLATE_NOOP("zx::ParameterPanel", "長さ"),
               QT_TRANSLATE_NOOP("zx::ParameterPanel", "サンプル長手方向長さ"),
               &ModelParams::Length),
      OwnField("widthLabel", "widthEdit", QT_TRANSLATE_NOOP("zx::ParameterPanel", "幅"),
               QT_TRANSLATE_NOOP("zx::ParameterPanel", "サンプル幅"), &ModelParams::Width),
      OwnField("thicknessLabel", "thicknessEdit", QT_TRANSLATE_NOOP("zx::ParameterPanel", "厚さ"),
               QT_TRANSLATE_NOOP("zx::ParameterPanel", "サンプル厚"), &ModelParams::Thickness)};
}

// The edits whose changes of text mark the project modified and redraw.
const char* const kKeyEdits[] = {"amEdit",        "sigma2Edit",     "gammaEdit",  "mEdit",
                                 "g2Edit",        "tcEdit",         "rhonEdit",   "bc20Edit",
                                 "zetaEdit",      "sampleNameEdit", "lengthEdit", "widthEdit",
                                 "thicknessEdit", "intStepEdit"};

SliderScale ScaleOf(const ParamRow& r) {
  return r.sliderScale == ParamScale::Log ? SliderScale::Logarithmic : SliderScale::Linear;
}

// The width a text takes in the controls' font.
int MenuFontWidth(const QString& text) {
  return QFontMetrics(QApplication::font("QMenu")).horizontalAdvance(text) + 2;
}

}  // namespace

ParameterPanel::ParameterPanel(Shell& main, QWidget* parent) : QWidget(parent), main_(main) {
  setGeometry(kPanelX, 0, kPanelWidth, kPanelHeight);
  setAcceptDrops(true);
  BuildControls();
  for (const char* name : PanelControlNames) ApplyMenuFont(Control(name));
  ShowProjectInPanel();
}

void ParameterPanel::Register(const QString& name, QWidget* control) {
  control->setObjectName(name);
  controls_[control->objectName()] = control;
}

QWidget* ParameterPanel::Control(const QString& name) const {
  auto it = controls_.find(name);
  return it == controls_.end() ? nullptr : it->second;
}

void ParameterPanel::BuildControls() {
  // The group boxes come first so that the controls drawn over them stay
  // on top; every control is a direct child of the panel, so that
  // disabling a group box during a calculation leaves the sliders usable.
  const int pinTop = kGroupGap;
  const int propTop = AddGroup("pinGroup", QT_TR_NOOP("ピンパラメータ"), pinTop, 5);
  const int sizeTop = AddGroup("propertyGroup", QT_TR_NOOP("サンプル特性"), propTop, 2);
  const int otherTop = AddGroup("sizeGroup", QT_TR_NOOP("サンプルサイズ"), sizeTop, 3);
  const int buttonTop = AddGroup("otherGroup", QT_TR_NOOP("その他の計算パラメータ"), otherTop, 3);
  BuildPins(pinTop);
  BuildFieldPairs(PropertyFields(), propTop, 0);
  BuildSampleName(sizeTop);
  BuildFieldPairs(SizeFields(), sizeTop, 1);
  BuildOtherGroup(otherTop);
  BuildButtons(buttonTop);
  // Any change of the text counts, typed or not (the context menu's Delete
  // and Paste too); keys that change nothing do not.
  for (const char* name : kKeyEdits) {
    auto* edit = static_cast<QLineEdit*>(Control(name));
    connect(edit, &QLineEdit::textEdited, this, [this, edit] { OnEditTextChanged(edit); });
  }
}

int ParameterPanel::AddGroup(const char* name, const char* title, int y, int rows) {
  auto* box = new QGroupBox(Text(title), this);
  box->setGeometry(kGroupX, y, kGroupWidth, GroupHeight(rows));
  Register(name, box);
  return y + GroupHeight(rows) + kGroupGap;
}

void ParameterPanel::AddLabel(const QString& name, const QString& text, const QString& tip,
                              const QRect& at) {
  auto* l = new QLabel(text, this);
  l->setGeometry(at);
  l->setToolTip(tip);
  Register(name, l);
}

QLineEdit* ParameterPanel::AddLineEdit(const QString& name, const QString& tip, const QRect& at) {
  auto* e = new QLineEdit(this);
  e->setGeometry(at);
  e->setToolTip(tip);
  // File drops belong to the panel, not to the edit's text.
  e->setAcceptDrops(false);
  Register(name, e);
  return e;
}

int ParameterPanel::AddNumberEdit(const PanelField& d, const QRect& at) {
  NumberEdit ne;
  ne.edit = AddLineEdit(d.editName, d.tip, at);
  ne.field = d.field;
  const std::size_t index = numberEdits_.size();
  connect(ne.edit, &QLineEdit::textEdited, this,
          [this, index] { numberEdits_[index].programOwned = false; });
  numberEdits_.push_back(ne);
  return static_cast<int>(index);
}

// The pinning parameters: label, slider, edit.
void ParameterPanel::BuildPins(int top) {
  for (const ParamRow& row : PinningRows()) {
    const PanelField d = ParamField(row);
    const int i = static_cast<int>(row.id);
    const int y = RowY(top, i);
    AddLabel(d.labelName, d.label, d.tip, QRect(14, y, 40, kRowHeight));
    auto* slider = new QSlider(Qt::Horizontal, this);
    slider->setGeometry(56, y, 160, kRowHeight);
    slider->setRange(kSliderMin, kSliderMax);
    slider->setPageStep(20);
    slider->setToolTip(d.tip);
    TakeWheelOnlyWhenFocused(slider);
    Register(QLatin1String(row.controlName) + QLatin1String("Slider"), slider);
    pins_.push_back({slider, AddNumberEdit(d, QRect(222, y, 96, kRowHeight)), &row});
    connect(slider, &QSlider::valueChanged, this, [this, i](int p) {
      if (!showing_) OnSliderMoved(i, p);
    });
  }
}

// Two label/edit pairs to a row.
void ParameterPanel::BuildFieldPairs(const std::vector<PanelField>& defs, int top, int firstRow) {
  for (std::size_t i = 0; i < defs.size(); ++i) {
    const PanelField& d = defs[i];
    const int y = RowY(top, firstRow + static_cast<int>(i / 2));
    const bool left = i % 2 == 0;
    // A longer label (a translated one) takes room from its edit; the
    // hand layout stands wherever the text fits.
    const int grow = std::max(0, MenuFontWidth(d.label) - 48);
    AddLabel(d.labelName, d.label, d.tip, QRect(left ? 14 : 168, y, 48 + grow, kRowHeight));
    AddNumberEdit(d, QRect((left ? 64 : 218) + grow, y, (left ? 92 : 100) - grow, kRowHeight));
  }
}

void ParameterPanel::BuildSampleName(int top) {
  const QString text = tr("サンプル名");
  const int grow = std::max(0, MenuFontWidth(text) - 80);
  AddLabel(QStringLiteral("sampleNameLabel"), text, text,
           QRect(14, RowY(top, 0), 80 + grow, kRowHeight));
  sampleName_ = AddLineEdit(QStringLiteral("sampleNameEdit"), text,
                            QRect(96 + grow, RowY(top, 0), 222 - grow, kRowHeight));
  sampleName_->setValidator(new SampleNameValidator(sampleName_));
}

QComboBox* ParameterPanel::AddOrder(const char* labelName, const char* comboName,
                                    const QString& text, int y) {
  AddLabel(QLatin1String(labelName), text, text, QRect(14, y, 230, kRowHeight));
  auto* combo = new QComboBox(this);
  combo->setGeometry(248, y, 70, kRowHeight);
  combo->addItems({QStringLiteral("1"), QStringLiteral("2")});
  combo->setToolTip(text);
  combo->setAcceptDrops(false);
  Register(comboName, combo);
  connect(combo, &QComboBox::currentIndexChanged, this, [this] {
    if (!showing_) OnOrderChanged();
  });
  return combo;
}

// The scaling law's orders and the integration intervals.
void ParameterPanel::BuildOtherGroup(int top) {
  tcn_ = AddOrder("tempOrderLabel", "tempOrderCombo", tr("スケール則内の規格化温度の次数"),
                  RowY(top, 0));
  bcn_ = AddOrder("fieldOrderLabel", "fieldOrderCombo", tr("スケール則内の規格化磁場の次数"),
                  RowY(top, 1));
  const QString tip = tr("積分時刻み幅");
  AddLabel(QStringLiteral("intStepLabel"), tr("積分時の刻み幅"), tip,
           QRect(14, RowY(top, 2), 230, kRowHeight));
  intStepNum_ =
      AddLineEdit(QStringLiteral("intStepEdit"), tip, QRect(248, RowY(top, 2), 70, kRowHeight));
  intStepNum_->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]*")), intStepNum_));
  connect(intStepNum_, &QLineEdit::editingFinished, this, &ParameterPanel::CheckStepCount);
}

void ParameterPanel::BuildButtons(int top) {
  const int buttonWidth = (kGroupWidth - kGroupGap) / 2;
  start_ = new QPushButton(tr("計算開始"), this);
  start_->setGeometry(kGroupX, top + 4, buttonWidth, 32);
  start_->setDefault(true);
  Register("startButton", start_);
  connect(start_, &QPushButton::clicked, this, &ParameterPanel::ClickStart);
  auto* finish = new QPushButton(tr("終了"), this);
  finish->setGeometry(kGroupX + buttonWidth + kGroupGap, top + 4, buttonWidth, 32);
  Register("finishButton", finish);
  connect(finish, &QPushButton::clicked, this, &ParameterPanel::ClickFinish);
}

void ParameterPanel::ShowNumber(NumberEdit& e, double value) {
  e.programText = QString::fromStdString(FormatSci(value, 2));
  e.programValue = value;
  e.programOwned = true;
  e.edit->setText(e.programText);
}

double ParameterPanel::ReadNumber(const NumberEdit& e) const {
  const QString text = e.edit->text();
  if (e.programOwned && text == e.programText) return e.programValue;
  // The edit is read as a 256-byte text.
  return ParseLeadingDouble(text.left(255).toStdString());
}

int ParameterPanel::PositionFor(const PinParameter& pin, double value) const {
  const CalcSettings& s = main_.project().Settings;
  return SliderPosition(ScaleOf(*pin.row), s.*pin.row->minimum, s.*pin.row->maximum, value);
}

void ParameterPanel::ShowProjectInPanel() {
  const Project& p = main_.project();
  showing_ = true;
  for (NumberEdit& e : numberEdits_) ShowNumber(e, p.Params.*e.field);
  for (const PinParameter& pin : pins_)
    pin.slider->setValue(PositionFor(pin, p.Params.*numberEdits_[pin.editIndex].field));
  sampleName_->setText(QString::fromStdString(p.Params.SampleName));
  intStepNum_->setText(QString::number(p.Params.IntStepNum));
  // Only 0 and 1 have an item; any other order shows no selection and is
  // kept as it is by ReadPanelValues.
  tcn_->setCurrentIndex(p.Params.Tcn == 0 || p.Params.Tcn == 1 ? p.Params.Tcn : -1);
  bcn_->setCurrentIndex(p.Params.Bcn == 0 || p.Params.Bcn == 1 ? p.Params.Bcn : -1);
  showing_ = false;
}

void ParameterPanel::ReadPanelValues() {
  ModelParams m = main_.project().Params;
  ReadPanelValuesInto(m);
  SyncModelParams(main_.document(), m);
}

void ParameterPanel::ReadPanelValuesInto(ModelParams& m) const {
  for (const NumberEdit& e : numberEdits_) m.*e.field = ReadNumber(e);
  m.SampleName = sampleName_->text().toStdString();
  if (tcn_->currentIndex() >= 0) m.Tcn = tcn_->currentIndex();
  if (bcn_->currentIndex() >= 0) m.Bcn = bcn_->currentIndex();
  // A count below one is refused when the edit is left; until then the
  // count in use stays.
  const int steps = ParseLeadingInt(intStepNum_->text().left(255).toStdString());
  if (steps >= kMinIntStepNum) m.IntStepNum = BoundIntStepNum(steps);
}

void ParameterPanel::TypePinValues(const std::array<double, 5>& values) {
  ModelParams m = main_.project().Params;
  showing_ = true;
  for (std::size_t i = 0; i < pins_.size() && i < values.size(); ++i) {
    NumberEdit& e = numberEdits_[static_cast<std::size_t>(pins_[i].editIndex)];
    // The edit shows the short text but stands for the exact value.
    ShowNumber(e, values[i]);
    m.*e.field = values[i];
    pins_[i].slider->setValue(PositionFor(pins_[i], values[i]));
  }
  showing_ = false;
  SetModelParams(main_.document(), m);
}

void ParameterPanel::TypeFitValues(const ModelParams& m) {
  ModelParams typed = main_.project().Params;
  showing_ = true;
  for (NumberEdit& e : numberEdits_) {
    for (const ParamRow& r : ParamTable())
      if (e.field == r.value) {
        ShowNumber(e, m.*r.value);
        typed.*r.value = m.*r.value;
      }
  }
  for (const PinParameter& pin : pins_)
    pin.slider->setValue(PositionFor(pin, typed.*numberEdits_[pin.editIndex].field));
  typed.Tcn = m.Tcn;
  typed.Bcn = m.Bcn;
  tcn_->setCurrentIndex(m.Tcn == 0 || m.Tcn == 1 ? m.Tcn : -1);
  bcn_->setCurrentIndex(m.Bcn == 0 || m.Bcn == 1 ? m.Bcn : -1);
  showing_ = false;
  SetModelParams(main_.document(), typed);
}

void ParameterPanel::SetCalculationRunning(bool running) {
  for (const char* name : PanelControlNames)
    if (QWidget* w = Control(name)) w->setEnabled(!running);
}

void ParameterPanel::ClickStart() { StartFullCalculation(main_); }

void ParameterPanel::ClickFinish() {
  if (main_.project().Modified) {
    const MsgAnswer answer =
        ShowMessage(this, tr("設定ファイルは変更されています。保存しますか？"),
                    tr("設定ファイルの変更"), MsgButtons::YesNo, MsgIcon::None);
    if (answer == MsgAnswer::Yes && main_.Command(kCmdSaveAs) == 0) return;
    MarkUnmodified(main_.document());
  }
  // Modified is clear, so closing the window asks nothing more.
  main_.widget().close();
  QCoreApplication::quit();
}

void ParameterPanel::OnSliderMoved(int pinIndex, int position) {
  const Project& p = main_.project();
  PinParameter& pin = pins_[static_cast<std::size_t>(pinIndex)];
  NumberEdit& e = numberEdits_[static_cast<std::size_t>(pin.editIndex)];
  const std::optional<double> value = SliderValue(ScaleOf(*pin.row), p.Settings.*pin.row->minimum,
                                                  p.Settings.*pin.row->maximum, position);
  if (value) {
    // From now on the edit's text is the value, as the user sees it.
    e.programOwned = false;
    e.edit->setText(QString::fromStdString(FormatSci(*value, 2)));
    ModelParams m = p.Params;
    m.*e.field = *value;
    SetModelParams(main_.document(), m);
  } else {
    // A range the scale cannot use: the value stays as typed and the
    // slider goes back to its low end.
    showing_ = true;
    pin.slider->setValue(kSliderMin);
    showing_ = false;
    MarkParamsEdited(main_.document());
  }
}

void ParameterPanel::OnEditTextChanged(const QWidget* edit) {
  for (const PinParameter& pin : pins_) {
    const NumberEdit& e = numberEdits_[static_cast<std::size_t>(pin.editIndex)];
    if (e.edit != edit) continue;
    showing_ = true;
    pin.slider->setValue(PositionFor(pin, ReadNumber(e)));
    showing_ = false;
  }
  MarkParamsEdited(main_.document());
}

void ParameterPanel::OnOrderChanged() { MarkParamsEdited(main_.document()); }

void ParameterPanel::CheckStepCount() {
  if (ParseLeadingInt(intStepNum_->text().left(255).toStdString()) >= kMinIntStepNum) return;
  // The edit shows the count in use again before the message takes the focus.
  intStepNum_->setText(QString::number(main_.project().Params.IntStepNum));
  ShowWarning(this, tr("不正な値の入力 : 積分時の刻み幅"));
}

void ParameterPanel::PlaceSliders() {
  showing_ = true;
  for (const PinParameter& pin : pins_)
    pin.slider->setValue(PositionFor(pin, ReadNumber(numberEdits_[pin.editIndex])));
  showing_ = false;
}

// As in a dialog: Enter pushes the focused button, or else the default
// one, 計算開始. Edits, choices and sliders pass Enter on to the panel.
void ParameterPanel::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))) {
    auto* focused = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QPushButton* button = focused && isAncestorOf(focused) ? focused : start_;
    if (button && button->isEnabled()) button->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void ParameterPanel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::RightButton) {
    main_.ShowPopupMenu(event->position().toPoint() + QPoint(kPanelX, 0));
    return;
  }
  QWidget::mousePressEvent(event);
}

void ParameterPanel::dragEnterEvent(QDragEnterEvent* event) { AcceptFileDrag(event); }

void ParameterPanel::dropEvent(QDropEvent* event) { main_.DropFiles(event); }

}  // namespace zx
