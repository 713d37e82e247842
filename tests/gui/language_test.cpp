// The two languages of the windows: the rule that picks one, the stored
// choice, every window and dialog in English without a Japanese character
// left, and the Japanese texts as they were.
#include "ui/language.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QXmlStreamReader>

#include "dialog_fixture.h"
#include "import/registration.h"
#include "model/validation.h"
#include "ui/core_text.h"
#include "ui/import_dialog.h"
#include "ui/status_dialog.h"

namespace zx::test {
namespace {

// Kana, CJK ideographs and punctuation, and the half- and full-width forms
// ("ｷｬﾝｾﾙ"). Greek and the arrow of the menu paths are not among them.
bool HasJapanese(const QString& s) {
  static const QRegularExpression japanese(
      QStringLiteral("[\\x{3000}-\\x{30ff}\\x{3400}-\\x{9fff}\\x{ff00}-\\x{ffef}]"));
  return s.contains(japanese);
}

// Every text a user can see in a window and its children: title, labels,
// buttons, group boxes, combo items, list headers, tooltips, menus.
QStringList VisibleTexts(QWidget* top) {
  QStringList texts{top->windowTitle(), top->toolTip()};
  QList<QWidget*> widgets = top->findChildren<QWidget*>();
  for (QWidget* w : widgets) {
    texts << w->toolTip();
    if (auto* l = qobject_cast<QLabel*>(w)) texts << l->text();
    if (auto* b = qobject_cast<QAbstractButton*>(w)) texts << b->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) texts << g->title();
    if (auto* e = qobject_cast<QLineEdit*>(w)) texts << e->placeholderText();
    if (auto* c = qobject_cast<QComboBox*>(w))
      for (int i = 0; i < c->count(); ++i) texts << c->itemText(i);
    if (auto* t = qobject_cast<QTableWidget*>(w))
      for (int i = 0; i < t->columnCount(); ++i)
        if (QTableWidgetItem* h = t->horizontalHeaderItem(i)) texts << h->text();
    // The language menu names each language in its own script on purpose.
    if (auto* m = qobject_cast<QMenu*>(w); m && m->objectName() != QLatin1String("menuLanguage")) {
      texts << m->title();
      for (QAction* a : m->actions())
        if (a->objectName() != QLatin1String("actionLanguageJapanese") &&
            !(a->menu() && a->menu()->objectName() == QLatin1String("menuLanguage")))
          texts << a->text();
    }
  }
  return texts;
}

QStringList JapaneseLeft(QWidget* top) {
  QStringList left;
  for (const QString& t : VisibleTexts(top))
    if (HasJapanese(t)) left << t;
  return left;
}

TEST(Language, LocaleRule) {
  for (const char* ja :
       {"ja_JP.UTF-8", "ja_JP.eucJP", "ja", "ja_JP@x", "C", "C.UTF-8", "POSIX", ""})
    EXPECT_EQ(LanguageForLocale(QString::fromLatin1(ja)), Language::Japanese) << ja;
  for (const char* en : {"en_US.UTF-8", "en_GB", "de_DE@euro", "fr", "jv_ID", "zh_CN.UTF-8"})
    EXPECT_EQ(LanguageForLocale(QString::fromLatin1(en)), Language::English) << en;
}

// Restores an environment variable at the end of a scope.
struct EnvGuard {
  explicit EnvGuard(const char* n) : name(n), had(qEnvironmentVariableIsSet(n)), old(qgetenv(n)) {}
  ~EnvGuard() {
    if (had)
      qputenv(name, old);
    else
      qunsetenv(name);
  }
  const char* name;
  bool had;
  QByteArray old;
};

QString SettingsFile() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/zentrix2/zentrix2.ini");
}

TEST(Language, MessagesFollowLcAllThenLcMessagesThenLang) {
  EnvGuard all("LC_ALL"), messages("LC_MESSAGES"), lang("LANG");
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qputenv("LANG", "en_US.UTF-8");
  EXPECT_EQ(MessagesLocale(), "en_US.UTF-8");
  qputenv("LC_MESSAGES", "ja_JP.UTF-8");
  EXPECT_EQ(MessagesLocale(), "ja_JP.UTF-8");
  qputenv("LC_ALL", "C");
  EXPECT_EQ(MessagesLocale(), "C");
  qunsetenv("LC_ALL");
  qunsetenv("LC_MESSAGES");
  qunsetenv("LANG");
  EXPECT_EQ(LanguageForLocale(MessagesLocale()), Language::Japanese);
}

TEST(Language, StoredChoiceWinsOverTheLocaleAndStaysOutOfTheProject) {
  // The tests run in the toolkit's test mode: this is a private file, never
  // the developer's own choice.
  ASSERT_TRUE(QStandardPaths::isTestModeEnabled());
  QFile::remove(SettingsFile());
  EnvGuard all("LC_ALL"), lang("LANG");
  qunsetenv("LC_ALL");
  qputenv("LANG", "de_DE.UTF-8");
  EXPECT_FALSE(StoredLanguage().has_value());
  EXPECT_EQ(StartupLanguage(), Language::English);

  ASSERT_TRUE(StoreLanguage(Language::Japanese));
  EXPECT_EQ(StoredLanguage(), Language::Japanese);
  EXPECT_EQ(StartupLanguage(), Language::Japanese);
  qputenv("LANG", "ja_JP.UTF-8");
  ASSERT_TRUE(StoreLanguage(Language::English));
  EXPECT_EQ(StartupLanguage(), Language::English);

  // A value nobody wrote counts as no choice. Its length differs from "en":
  // Qt's cache of the file may take a file of the same size and second as
  // unchanged.
  {
    QFile f(SettingsFile());
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[General]\nLanguage=xyz\n");
  }
  EXPECT_FALSE(StoredLanguage().has_value());
  EXPECT_EQ(StartupLanguage(), Language::Japanese);
  QFile::remove(SettingsFile());
}

// Every text marked in the sources has its English: a text marked and left
// untranslated would show Japanese in the English windows. The
// placeholders of a text come back in its translation.
TEST(Language, EveryMarkedTextIsTranslated) {
  QFile ts(QStringLiteral(ZX_SOURCE_DIR "/translations/zentrix2_en.ts"));
  ASSERT_TRUE(ts.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&ts);
  QString context, source;
  int translated = 0;
  static const QRegularExpression placeholder(QStringLiteral("%\\d"));
  auto placeholders = [](const QString& s) {
    QStringList found;
    for (const QRegularExpressionMatch& m : placeholder.globalMatch(s)) found << m.captured();
    found.sort();
    return found;
  };
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == QLatin1String("name")) context = xml.readElementText();
    if (xml.name() == QLatin1String("source")) source = xml.readElementText();
    if (xml.name() != QLatin1String("translation")) continue;
    const QString type = xml.attributes().value(QLatin1String("type")).toString();
    const QString text = xml.readElementText();
    if (type == QLatin1String("vanished") || type == QLatin1String("obsolete")) continue;
    const std::string where = (context + " | " + source).toStdString();
    EXPECT_NE(type, QLatin1String("unfinished")) << where;
    EXPECT_FALSE(text.isEmpty()) << where;
    EXPECT_FALSE(HasJapanese(text)) << where;
    EXPECT_EQ(placeholders(text), placeholders(source)) << where;
    ++translated;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_GT(translated, 150);
}

class EnglishTest : public DialogTest {
 protected:
  void SetUp() override {
    DialogTest::SetUp();
    ASSERT_TRUE(InstallLanguage(Language::English));
  }
  void TearDown() override {
    window.reset();
    InstallLanguage(Language::Japanese);
  }

  void ExpectEnglish(QWidget* w, const char* what) {
    ASSERT_NE(w, nullptr) << what;
    const QStringList left = JapaneseLeft(w);
    EXPECT_TRUE(left.isEmpty()) << what << ": " << left.join(" | ").toStdString();
  }
  void ExpectEnglishMessages() {
    for (const ShownMessage& m : platform.messages) {
      EXPECT_FALSE(HasJapanese(m.text)) << m.text.toStdString();
      EXPECT_FALSE(HasJapanese(m.caption)) << m.caption.toStdString();
    }
    for (const QString& t : platform.fileTitles) EXPECT_FALSE(HasJapanese(t)) << t.toStdString();
    for (const QString& t : platform.fileFilters) EXPECT_FALSE(HasJapanese(t)) << t.toStdString();
  }
};

TEST_F(EnglishTest, EveryWindowAndDialogIsEnglish) {
  MainWindow& w = StartWith(2, {{0, 20.0, 1.0, Path("r0.dat").toStdString()}});
  EXPECT_EQ(w.windowTitle(), "ZENTRIX II");
  ExpectEnglish(&w, "main window");
  EXPECT_EQ(w.StatusText(1), "E-J mode");

  struct Opened {
    int command;
    DialogKind kind;
    const char* title;
  };
  const Opened dialogs[] = {
      {kCmdRegisterDataFile, DialogKind::DataFile, "Register Data File"},
      {kCmdRegisterCalcCond, DialogKind::CalcCond, "Register Calculation Condition"},
      {kCmdAxisSettings, DialogKind::Axis, "Axis Settings"},
      {kCmdAbout, DialogKind::About, "ZENTRIX II"},
      {kCmdModeChange, DialogKind::Mode, "Change Calculation Mode"},
      {kCmdOtherSettings, DialogKind::JRange, "Calculation Range"},
      {kCmdParamRange, DialogKind::ParamRange, "Parameter Ranges"},
  };
  for (const Opened& d : dialogs) {
    w.Command(d.command);
    ModelessDialog* dialog = Dialog(d.kind);
    ASSERT_NE(dialog, nullptr) << d.title;
    EXPECT_EQ(dialog->windowTitle(), d.title);
    ExpectEnglish(dialog, d.title);
  }
  OpenRenameDialog(w, 0);
  ExpectEnglish(Dialog(DialogKind::Rename), "rename");
  OpenCalcCondChangeDialog(w, 0);
  ExpectEnglish(Dialog(DialogKind::CalcCondChange), "condition change");
  auto* status = new StatusDialog(w, &w);
  ExpectEnglish(status, "status");
  status->Finish();

  // The popup menu and the Jc-B dialog of その他の計算条件設定.
  QTimer::singleShot(0, [] {
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* a : popup->actions())
        EXPECT_FALSE(HasJapanese(a->text())) << a->text().toStdString();
      popup->close();
    }
  });
  w.ShowPopupMenu(QPoint(10, 10));
  SetCalcMode(w.document(), CalcMode::JcB);
  w.Command(kCmdOtherSettings);
  ExpectEnglish(Dialog(DialogKind::JcCondition), "Jc-B settings");
  EXPECT_EQ(w.StatusText(1), "Jc-B mode");
}

// The panel and the lists are laid out by hand: every English text must
// still fit its control.
TEST_F(EnglishTest, HandLaidTextsFitTheirControls) {
  MainWindow& w = StartWith(1);
  for (QLabel* l : w.parameterPanel()->findChildren<QLabel*>())
    EXPECT_LE(l->fontMetrics().horizontalAdvance(l->text()), l->contentsRect().width())
        << l->text().toStdString();
  for (QTableWidget* list : w.listsPanel()->findChildren<QTableWidget*>())
    for (int i = 0; i < list->columnCount(); ++i) {
      const QString text = list->horizontalHeaderItem(i)->text();
      EXPECT_LT(list->horizontalHeader()->fontMetrics().horizontalAdvance(text),
                list->horizontalHeader()->sectionSize(i))
          << text.toStdString();
    }
  // A longer label takes its room from its own edit, never from the next.
  QWidget* thickness = w.findChild<QWidget*>("thicknessLabel");
  QWidget* edit = w.findChild<QWidget*>("thicknessEdit");
  ASSERT_NE(thickness, nullptr);
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->x() - (thickness->x() + thickness->width()), 64 - (14 + 48));
  EXPECT_EQ(edit->geometry().right(), 64 + 92 - 1);
}

TEST_F(EnglishTest, MessagesOfDialogsAndOfTheCoreAreEnglish) {
  MainWindow& w = StartWith(1);
  // No selection: the two delete commands explain themselves.
  w.Command(kCmdDeleteDataFiles);
  w.Command(kCmdDeleteCalcConds);
  // A refused condition: the field name comes from the core.
  w.Command(kCmdRegisterCalcCond);
  ModelessDialog* cond = Dialog(DialogKind::CalcCond);
  ASSERT_NE(cond, nullptr);
  SetText(cond, "tempEdit", "0");
  Click(cond, "registerButton");
  EXPECT_EQ(LastMessage(), "Invalid input: temperature");
  // A range refused by the core's pattern inside a pattern.
  w.Command(kCmdParamRange);
  ModelessDialog* ranges = Dialog(DialogKind::ParamRange);
  ASSERT_NE(ranges, nullptr);
  SetText(ranges, "amMinEdit", "-1");
  Click(ranges, "okButton");
  EXPECT_EQ(LastMessage(), "Invalid input: minimum of Am");
  // The file chooser of a data file, cancelled.
  w.Command(kCmdRegisterDataFile);
  ModelessDialog* data = Dialog(DialogKind::DataFile);
  ASSERT_NE(data, nullptr);
  Click(data, "browseButton");
  Click(data, "registerButton");
  EXPECT_EQ(LastMessage(), "Invalid input: data file path");
  // A dropped file of another kind.
  w.HandleDroppedFiles({Path("x.png")});
  ASSERT_GE(MessageCount(), 5);
  ExpectEnglishMessages();

  EXPECT_EQ(
      CoreText(CheckPathEntry("/tmp/\U0001F600.dat")),
      QString::fromUtf8("The path holds characters that cannot be used: /tmp/\U0001F600.dat"));
  // A message the translations do not know is shown as it is.
  EXPECT_EQ(CoreText("unknown"), "unknown");
}

// A measured sweep at 77 K: current in A, voltage in uV, a temperature
// column, the transition above 60 A.
QString WriteSweep(const QString& path) {
  QByteArray t = "I\tV\tT\nA\tuV\tK\n";
  for (int k = 1; k <= 40; ++k) {
    const double amps = 2.5 * k;
    const double uv = 0.05 + (amps > 60 ? 0.1 * (amps - 60) : 0.0);
    t += QByteArray::number(amps) + "\t" + QByteArray::number(uv) + "\t77\n";
  }
  QFile f(path);
  EXPECT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(t);
  return path;
}

TEST_F(EnglishTest, ImportDialogAndItsMessagesAreEnglish) {
  MainWindow& w = StartWith(0);
  auto* action = w.findChild<QAction*>("actionImportMeasured");
  ASSERT_NE(action, nullptr);
  action->trigger();
  auto* d = qobject_cast<ImportDialog*>(Dialog(DialogKind::Import));
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->windowTitle(), "Import Measured Data");
  ExpectEnglish(d, "import, empty");
  EXPECT_EQ(Child<QLabel>(d, "summaryLabel")->text(), "Choose a measured data file.");
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(), "Invalid input: measured data file");

  // Two sweeps: the rows, the columns, the summary and the proposed outputs.
  platform.files.push_back(WriteSweep(Path("a.txt")) + "\n" + WriteSweep(Path("b.txt")));
  Click(d, "browseButton");
  SetText(d, "tapLengthEdit", "0.01");
  ASSERT_EQ(d->findChild<QTableWidget*>()->rowCount(), 2);
  ExpectEnglish(d, "import, two files");
  const QString summary = Child<QLabel>(d, "summaryLabel")->text();
  EXPECT_TRUE(summary.startsWith(
      "16 points kept / 24 dropped / 2 lines not numeric\nBackground V = a + b·I: a = "))
      << summary.toStdString();
  EXPECT_TRUE(summary.contains("\nTemperature 77.000 K (column), standard deviation 0.000 K"))
      << summary.toStdString();
  EXPECT_EQ(Child<QLabel>(d, "columnsLabel")->text(),
            "3 columns / numeric columns: 0 : I [A], 1 : V [uV], 2 : T [K]");
  EXPECT_EQ(Child<QLineEdit>(d, "outputEdit")->text(), "(_EJ.dat / _JcB.dat beside each file)");
  EXPECT_EQ(d->findChild<QTableWidget*>()->item(0, 1)->toolTip(),
            "Mean of the temperature column: 77.000 K");

  // A field of 0 T: the core's refusal and its hint, both in English.
  SetText(d, "fieldEdit", "0");
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(),
            "Invalid input: magnetic field\nA magnetic field of 0 T cannot be calculated (the "
            "model needs B > 0). For a self-field measurement, enter a small positive field.");
  // Ic-B data need the other mode: the question, answered no.
  Child<QComboBox>(d, "kindCombo")->setCurrentIndex(1);
  Click(d, "importButton");
  EXPECT_EQ(LastMessage(),
            "The imported data need the Jc-B calculation mode.\n"
            "Change the calculation mode?");
  EXPECT_EQ(platform.messages.back().caption, "Change Calculation Mode");
  ExpectEnglish(d, "import, Ic-B");
  ExpectEnglishMessages();
  d->close();
}

TEST_F(EnglishTest, ToolkitButtonsAreTheToolkitsOwnEnglish) {
  SetPlatform(nullptr);  // the real message box, not the script
  QStringList texts;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      poll.stop();
      for (QAbstractButton* b : box->buttons()) texts << b->text();
      box->button(QMessageBox::Cancel)->click();
    }
  });
  poll.start();
  ShowMessage(nullptr, "t", "c", MsgButtons::YesNoCancel, MsgIcon::Question);
  SetPlatform(&platform);
  texts.sort();
  EXPECT_EQ(texts, QStringList({"&No", "&Yes", "Cancel"}));
}

TEST_F(DialogTest, JapaneseTextsAreUnchanged) {
  InstallLanguage(Language::Japanese);
  MainWindow& w = StartWith(1);
  EXPECT_EQ(w.windowTitle(), "ZENTRIX II");
  QStringList menus;
  for (QAction* a : w.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, QStringList({"ファイル", "データ", "計算", "グラフ", "ヘルプ"}));
  QStringList items;
  for (QAction* a : w.menuBar()->actions())
    for (QAction* item : a->menu()->actions()) items << item->text();
  EXPECT_EQ(items, QStringList({"新規設定\tCtrl+N", "設定を読み込み\tCtrl+O", "設定を保存\tCtrl+S",
                                "設定を別名保存\tCtrl+Shift+S", "終了\tCtrl+Q",
                                "データファイル登録\tCtrl+R", "測定データ取り込み\tCtrl+I",
                                "データファイル情報削除\tCtrl+D", "計算条件登録\tCtrl+Shift+R",
                                "計算条件削除\tCtrl+Shift+D", "パラメータ設定可能範囲変更\tCtrl+P",
                                "その他の計算条件設定\tCtrl+Shift+C", "計算開始\tCtrl+C",
                                "自動フィッティング\tCtrl+F", "Jc(B,T)マップ\tCtrl+J",
                                "計算モード変更\tCtrl+M", "軸設定\tCtrl+A",
                                "ZentrixⅡに関して\tCtrl+H", "言語 / Language"}));
  EXPECT_EQ(w.StatusText(1), "E-J計算モード");
  w.Command(kCmdRegisterCalcCond);
  ASSERT_NE(Dialog(DialogKind::CalcCond), nullptr);
  EXPECT_EQ(Dialog(DialogKind::CalcCond)->windowTitle(), "計算条件登録");
  EXPECT_EQ(Child<QAbstractButton>(Dialog(DialogKind::CalcCond), "registerButton")->text(), "登録");
  EXPECT_EQ(Child<QAbstractButton>(Dialog(DialogKind::CalcCond), "cancelButton")->text(), "ｷｬﾝｾﾙ");
  SetText(Dialog(DialogKind::CalcCond), "tempEdit", "0");
  Click(Dialog(DialogKind::CalcCond), "registerButton");
  EXPECT_EQ(LastMessage(), "不正な値の入力 : 温度");
  w.Command(kCmdRegisterDataFile);
  ASSERT_NE(Dialog(DialogKind::DataFile), nullptr);
  EXPECT_EQ(Dialog(DialogKind::DataFile)->windowTitle(), "データファイル登録");
  EXPECT_EQ(Child<QLabel>(Dialog(DialogKind::DataFile), "pathLabel")->text(), "データファイルパス");
  auto* lists = w.findChild<QTableWidget*>("calcCondList");
  ASSERT_NE(lists, nullptr);
  EXPECT_EQ(lists->horizontalHeaderItem(4)->text(), "相関係数");
  auto* pins = w.findChild<QGroupBox*>("pinGroup");
  ASSERT_NE(pins, nullptr);
  EXPECT_EQ(pins->title(), "ピンパラメータ");
  EXPECT_EQ(w.findChild<QWidget*>("lengthEdit")->toolTip(), "サンプル長手方向長さ");
  // The hand layout of the panel as it always was.
  EXPECT_EQ(w.findChild<QWidget*>("thicknessLabel")->geometry().size(), QSize(48, 24));
  EXPECT_EQ(w.findChild<QWidget*>("thicknessEdit")->geometry().left(), 64);
  EXPECT_EQ(w.findChild<QWidget*>("thicknessEdit")->geometry().width(), 92);
  EXPECT_EQ(w.findChild<QWidget*>("sampleNameEdit")->geometry().left(), 96);
  EXPECT_EQ(CoreText(CheckParamRanges(ParamRanges{})), "不正な値の入力 : Amの最小値");
  w.Command(kCmdImportMeasured);
  ModelessDialog* import = Dialog(DialogKind::Import);
  ASSERT_NE(import, nullptr);
  EXPECT_EQ(import->windowTitle(), "測定データ取り込み");
  EXPECT_EQ(Child<QAbstractButton>(import, "importButton")->text(), "取り込み");
  EXPECT_EQ(Child<QAbstractButton>(import, "cancelButton")->text(), "ｷｬﾝｾﾙ");
  EXPECT_EQ(Child<QLineEdit>(import, "minFieldEdit")->placeholderText(), "自動 (3σ)");
  EXPECT_EQ(import->findChild<QTableWidget*>()->horizontalHeaderItem(1)->text(), "温度(K)");
  EXPECT_EQ(Child<QLabel>(import, "summaryLabel")->text(), "測定データファイルを選んでください。");
  Click(import, "importButton");
  EXPECT_EQ(LastMessage(), "不正な値の入力 : 測定データファイル");
  Project p;
  EXPECT_EQ(CoreText(ImportedConditionRefusal(p, {500.0, 1.0})),
            "不正な値の入力 : 温度\n温度は 0 K より大きく 400 K 未満にしてください。");
}

TEST_F(DialogTest, LanguageMenuStoresTheChoiceAndTellsItInTheNewLanguage) {
  QFile::remove(SettingsFile());
  InstallLanguage(Language::Japanese);
  MainWindow& w = StartWith(1);
  auto* english = w.findChild<QAction*>("actionLanguageEnglish");
  auto* japanese = w.findChild<QAction*>("actionLanguageJapanese");
  ASSERT_NE(english, nullptr);
  ASSERT_NE(japanese, nullptr);
  EXPECT_TRUE(japanese->isChecked());
  english->trigger();
  EXPECT_EQ(StoredLanguage(), Language::English);
  EXPECT_TRUE(english->isChecked());
  ASSERT_EQ(MessageCount(), 1);
  EXPECT_EQ(LastMessage(), "The new language applies from the next start of ZENTRIX II.");
  // Back to the language in use: stored, nothing to announce.
  japanese->trigger();
  EXPECT_EQ(StoredLanguage(), Language::Japanese);
  EXPECT_EQ(MessageCount(), 1);
  // Nothing of it went into the project.
  w.Command(kCmdSave);
  QFile project(Path("project.zx2"));
  ASSERT_TRUE(project.open(QIODevice::ReadOnly));
  EXPECT_FALSE(project.readAll().contains("Language"));
  QFile::remove(SettingsFile());
}

}  // namespace
}  // namespace zx::test
