// Tests and the windows find their controls by object name: every control
// of a window has a name of its own, made of words.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRegularExpression>
#include <QSlider>
#include <QTabBar>
#include <QTableWidget>
#include <map>
#include <set>

#include "dialog_fixture.h"
#include "ui/fit_dialog.h"
#include "ui/status_dialog.h"

namespace zx::test {
namespace {

using ControlNames = DialogTest;

bool IsControl(const QWidget* w) {
  return qobject_cast<const QAbstractButton*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QLineEdit*>(w) || qobject_cast<const QSlider*>(w) ||
         qobject_cast<const QLabel*>(w) || qobject_cast<const QGroupBox*>(w) ||
         qobject_cast<const QTableWidget*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QProgressBar*>(w);
}

// The controls laid out on `surface` or on its group boxes; the widgets Qt
// builds inside a table, a combo box or a spin box are not among them.
std::vector<QWidget*> ControlsOn(QWidget* surface) {
  std::vector<QWidget*> controls;
  for (QWidget* w : surface->findChildren<QWidget*>()) {
    if (w->window() != surface->window() || !IsControl(w)) continue;
    QWidget* parent = w->parentWidget();
    if (parent == surface ||
        (qobject_cast<QGroupBox*>(parent) && parent->parentWidget() == surface))
      controls.push_back(w);
  }
  return controls;
}

// The parts Qt builds inside its compound widgets (scroll bars, headers, a
// tab bar's arrows) carry Qt's own names.
bool InsideCompound(const QWidget* w) {
  for (const QWidget* p = w->parentWidget(); p && p != w->window(); p = p->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QTabBar*>(p) ||
        qobject_cast<const QComboBox*>(p) || qobject_cast<const QAbstractSpinBox*>(p))
      return true;
  return false;
}

// Every named widget of the window (its dialogs are windows of their own),
// Qt's own parts aside, with how often each name occurs.
std::map<QString, int> NamesIn(QWidget* window) {
  std::map<QString, int> names;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (w->window() == window && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
        !InsideCompound(w))
      ++names[name];
  }
  return names;
}

void ExpectWordNames(QWidget* window, const std::vector<QWidget*>& controls, const char* what) {
  // lowerCamelCase; digits only inside a word (sigma2Edit, bc20Label), never
  // a number standing for the control.
  const QRegularExpression word(QStringLiteral("^[a-z][A-Za-z0-9]*$"));
  const QRegularExpression number(QStringLiteral("[0-9]{3,}"));
  for (const auto& [name, count] : NamesIn(window)) {
    EXPECT_EQ(count, 1) << what << ": " << name.toStdString();
    EXPECT_TRUE(word.match(name).hasMatch()) << what << ": " << name.toStdString();
    EXPECT_FALSE(number.match(name).hasMatch()) << what << ": " << name.toStdString();
  }
  for (QWidget* c : controls)
    EXPECT_FALSE(c->objectName().isEmpty()) << what << ": unnamed " << c->metaObject()->className()
                                            << " at " << c->x() << "," << c->y();
}

TEST_F(ControlNames, DialogKindsHaveDistinctNames) {
  std::set<QString> names;
  for (std::size_t k = 0; k < kDialogKinds; ++k) {
    const QString name = DialogObjectName(static_cast<DialogKind>(k));
    EXPECT_TRUE(name.endsWith(QLatin1String("Dialog")) || name == QLatin1String("aboutBox"))
        << name.toStdString();
    names.insert(name);
  }
  EXPECT_EQ(names.size(), kDialogKinds);
}

TEST_F(ControlNames, EveryControlOfEveryWindowHasAWordNameOfItsOwn) {
  MainWindow& w = StartWith(2, {{0, 20, 1, "/res/a.dat"}});
  std::vector<QWidget*> panel = ControlsOn(w.parameterPanel());
  const std::vector<QWidget*> lists = ControlsOn(w.listsPanel());
  EXPECT_EQ(panel.size(), 43u);  // 38 disabled by a calculation, and the five sliders
  EXPECT_EQ(lists.size(), 2u);
  panel.insert(panel.end(), lists.begin(), lists.end());

  const std::pair<int, DialogKind> commands[] = {
      {kCmdRegisterDataFile, DialogKind::DataFile}, {kCmdRegisterCalcCond, DialogKind::CalcCond},
      {kCmdAxisSettings, DialogKind::Axis},         {kCmdAbout, DialogKind::About},
      {kCmdModeChange, DialogKind::Mode},           {kCmdOtherSettings, DialogKind::JRange},
      {kCmdParamRange, DialogKind::ParamRange},     {kCmdImportMeasured, DialogKind::Import},
  };
  std::vector<ModelessDialog*> dialogs;
  for (const auto& [command, kind] : commands) {
    w.Command(command);
    dialogs.push_back(Dialog(kind));
  }
  OpenRenameDialog(w, 0);
  dialogs.push_back(Dialog(DialogKind::Rename));
  OpenCalcCondChangeDialog(w, 0);
  dialogs.push_back(Dialog(DialogKind::CalcCondChange));
  dialogs.push_back(new StatusDialog(w, &w));
  for (ModelessDialog* d : dialogs) {
    ASSERT_NE(d, nullptr);
    ExpectWordNames(d, ControlsOn(d), d->objectName().toUtf8().constData());
  }
  // Open dialogs are children of the main window, but windows of their own:
  // their names may repeat the panel's.
  ExpectWordNames(&w, panel, "main window");

  w.Command(kCmdAutoFit);
  auto* fit = w.findChild<FitDialog*>();
  ASSERT_NE(fit, nullptr);
  EXPECT_EQ(fit->objectName(), DialogObjectName(DialogKind::Fit));
  ExpectWordNames(fit, {}, "fit");

  for (ModelessDialog* d : dialogs) d->close();
  SetCalcMode(w.document(), CalcMode::JcB);
  w.Command(kCmdOtherSettings);
  ModelessDialog* jc = Dialog(DialogKind::JcCondition);
  ASSERT_NE(jc, nullptr);
  ExpectWordNames(jc, ControlsOn(jc), "Jc-B settings");
}

}  // namespace
}  // namespace zx::test
