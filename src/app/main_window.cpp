#include "app/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>

#include "app/activation_focus.h"
#include "app/graph_paint.h"
#include "app/graph_widget.h"
#include "graph/axes.h"
#include "graph/series_draw.h"
#include "model/document.h"
#include "model/text_file.h"
#include "model/validation.h"
#include "model/view_follow.h"
#include "ui/core_text.h"
#include "ui/dialog_helpers.h"
#include "ui/dialogs.h"
#include "ui/fit_dialog.h"
#include "ui/fit_record_keeper.h"
#include "ui/jc_map_dialog.h"
#include "ui/language_menu.h"
#include "ui/lists_panel.h"
#include "ui/parameter_panel.h"
#include "ui/platform.h"

namespace zx {

// A command of the menus: its action's name, its menu text and the
// accelerator Ctrl(+Shift)+key.
struct CommandDef {
  int id;
  const char* name;
  const char* text;
  Qt::Key key;
  bool shift = false;
};

namespace {

const char kDefaultSettingsName[] = "ZENTRIX II.zx2";
const char kTempDefaultsName[] = "initmp.zx2";
const char kSettingsFilter[] = QT_TRANSLATE_NOOP("zx::MainWindow", ".zx2ファイル(*.zx2)");
const char kCannotSave[] = QT_TRANSLATE_NOOP("zx::MainWindow", "設定ファイルを保存できません。");
const char kCannotRead[] = QT_TRANSLATE_NOOP("zx::MainWindow", "設定ファイルを読み込めません。");

struct MenuItem {
  const char* text;
  int id;
};

// "Ctrl+N", "Ctrl+Shift+S": the menus show the accelerator after a tab.
QString AcceleratorText(Qt::Key key, bool shift) {
  return QStringLiteral("Ctrl+") + (shift ? QStringLiteral("Shift+") : QString()) +
         QChar(static_cast<char16_t>(key));
}

bool EndsWith(const QString& s, const char* suffix) { return s.endsWith(QLatin1String(suffix)); }

}  // namespace

MainWindow::MainWindow(const std::string& programFolder, const std::string& settingsPath)
    : QMainWindow(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                               Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                               Qt::WindowCloseButtonHint) {
  setWindowTitle(QStringLiteral("ZENTRIX II"));
  setWindowIcon(QIcon(QStringLiteral(":/zentrix2.svg")));
  SetDocumentPaths(document_, programFolder, settingsPath);

  paintTimer_ = new QTimer(this);
  paintTimer_->setSingleShot(true);
  paintTimer_->setInterval(0);
  connect(paintTimer_, &QTimer::timeout, this, &MainWindow::RunPaintPass);

  startupOk_ = OpenStartupProject();
  if (!startupOk_) return;

  central_ = new QWidget(this);
  central_->setFixedSize(800, 536);
  setCentralWidget(central_);
  graph_ = new GraphWidget(*this, central_);
  lists_ = new ListsPanel(*this, central_);
  params_ = new ParameterPanel(*this, central_);
  params_->ShowProjectInPanel();

  statusPath_ = new QLabel(this);
  statusMode_ = new QLabel(this);
  statusPath_->setFixedWidth(600 - 8);
  statusMode_->setFixedWidth(200 - 8);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->addWidget(statusPath_);
  statusBar()->addWidget(statusMode_);

  BuildMenus();
  QTimer::singleShot(0, this, &MainWindow::StatusRefresh);
  StatusRefresh();

  ResetWindowGraph();
  document_.observers.push_back([this](const DocChange& c) { DocumentChanged(c); });
  setAcceptDrops(true);
  setFocusPolicy(Qt::StrongFocus);
  new ActivationFocus(this, graph_);

  move(100, 50);
  setFixedSize(sizeHint());
  InvalidateGraph();
}

MainWindow::~MainWindow() { StopFullCalculation(*this); }

bool MainWindow::OpenStartupProject() {
  if (project_.SettingsFilePath.empty())
    SetDocumentPaths(document_, project_.ProgramFolder,
                     project_.ProgramFolder + kDefaultSettingsName);
  const std::string path = project_.SettingsFilePath;
  // Only a missing file is created; an existing one that cannot be read is
  // never overwritten with defaults.
  if (!FileExists(path) && !CreateProjectFile(path)) {
    ShowMessage(nullptr, tr(kCannotSave));
    return false;
  }
  // Nobody observes the document yet: loading tells no one.
  if (!LoadDocument(document_, path)) {
    ShowMessage(nullptr, tr(kCannotRead));
    return false;
  }
  return true;
}

QAction* MainWindow::AddCommand(QMenu* menu, const CommandDef& c, std::function<int()> run) {
  auto* a = new QAction(tr(c.text) + QLatin1Char('\t') + AcceleratorText(c.key, c.shift), this);
  a->setObjectName(QLatin1String(c.name));
  a->setData(c.id);
  const int id = c.id;
  connect(a, &QAction::triggered, this, [this, id] { Command(id); });
  menu->addAction(a);
  commands_.push_back({a, c.key, c.shift, std::move(run)});
  return a;
}

void MainWindow::BuildMenus() {
  enum Menu { kFile, kData, kCalc, kGraph, kHelp, kMenuCount };
  static const char* const kTitles[kMenuCount] = {QT_TR_NOOP("ファイル"), QT_TR_NOOP("データ"),
                                                  QT_TR_NOOP("計算"), QT_TR_NOOP("グラフ"),
                                                  QT_TR_NOOP("ヘルプ")};
  struct Entry {
    Menu menu;
    CommandDef command;
  };
  // The menus' commands in menu order; the help menu ends with the language menu.
  static const Entry kEntries[] = {
      {kFile, {kCmdNew, "actionNew", QT_TR_NOOP("新規設定"), Qt::Key_N}},
      {kFile, {kCmdOpen, "actionOpen", QT_TR_NOOP("設定を読み込み"), Qt::Key_O}},
      {kFile, {kCmdSave, "actionSave", QT_TR_NOOP("設定を保存"), Qt::Key_S}},
      {kFile, {kCmdSaveAs, "actionSaveAs", QT_TR_NOOP("設定を別名保存"), Qt::Key_S, true}},
      {kFile, {kCmdExit, "actionExit", QT_TR_NOOP("終了"), Qt::Key_Q}},
      {kData,
       {kCmdRegisterDataFile, "actionRegisterDataFile", QT_TR_NOOP("データファイル登録"),
        Qt::Key_R}},
      {kData,
       {kCmdImportMeasured, "actionImportMeasured", QT_TR_NOOP("測定データ取り込み"), Qt::Key_I}},
      {kData,
       {kCmdDeleteDataFiles, "actionDeleteDataFiles", QT_TR_NOOP("データファイル情報削除"),
        Qt::Key_D}},
      {kCalc,
       {kCmdRegisterCalcCond, "actionRegisterCalcCond", QT_TR_NOOP("計算条件登録"), Qt::Key_R,
        true}},
      {kCalc,
       {kCmdDeleteCalcConds, "actionDeleteCalcConds", QT_TR_NOOP("計算条件削除"), Qt::Key_D, true}},
      {kCalc,
       {kCmdParamRange, "actionParamRange", QT_TR_NOOP("パラメータ設定可能範囲変更"), Qt::Key_P}},
      {kCalc,
       {kCmdOtherSettings, "actionOtherSettings", QT_TR_NOOP("その他の計算条件設定"), Qt::Key_C,
        true}},
      {kCalc, {kCmdStartCalculation, "actionStartCalculation", QT_TR_NOOP("計算開始"), Qt::Key_C}},
      {kCalc, {kCmdAutoFit, "actionAutoFit", QT_TR_NOOP("自動フィッティング"), Qt::Key_F}},
      {kCalc, {kCmdJcMap, "actionJcMap", QT_TR_NOOP("Jc(B,T)マップ"), Qt::Key_J}},
      {kCalc, {kCmdModeChange, "actionModeChange", QT_TR_NOOP("計算モード変更"), Qt::Key_M}},
      {kGraph, {kCmdAxisSettings, "actionAxisSettings", QT_TR_NOOP("軸設定"), Qt::Key_A}},
      {kHelp, {kCmdAbout, "actionAbout", QT_TR_NOOP("ZentrixⅡに関して"), Qt::Key_H}},
  };
  QMenu* menus[kMenuCount];
  for (int m = 0; m < kMenuCount; ++m) menus[m] = menuBar()->addMenu(tr(kTitles[m]));
  for (const Entry& e : kEntries) AddCommand(menus[e.menu], e.command, CommandRun(e.command.id));
  AddLanguageMenu(menus[kHelp], this);
}

// What a menu command does; the others open the command's dialog.
std::function<int()> MainWindow::CommandRun(int id) {
  auto noAnswer = [](std::function<void()> run) {
    return std::function<int()>([run = std::move(run)] {
      run();
      return 0;
    });
  };
  switch (id) {
    case kCmdNew:
      return noAnswer([this] { CommandNew(); });
    case kCmdOpen:
      return noAnswer([this] { CommandOpen(); });
    case kCmdSave:
      return noAnswer([this] { CommandSave(); });
    case kCmdSaveAs:
      // The only command with an answer: 1 when the file was written.
      return [this] { return CommandSaveAs(); };
    case kCmdExit:
      return noAnswer([this] {
        if (SavePrompt(false)) close();
      });
    case kCmdDeleteDataFiles:
      return noAnswer([this] { DeleteSelectedDataFiles(); });
    case kCmdRegisterCalcCond:
      return noAnswer([this] {
        if (project_.DataFiles.Empty())
          ShowMessage(this, tr("データファイルを登録してください。"), tr("計算条件登録"));
        else
          OpenCommandDialog(*this, kCmdRegisterCalcCond);
      });
    case kCmdDeleteCalcConds:
      return noAnswer([this] { DeleteSelectedCalcConds(); });
    case kCmdStartCalculation:
      return noAnswer([this] {
        if (params_) params_->ClickStart();
      });
    case kCmdAutoFit:
      return noAnswer([this] { OpenFitDialog(*this); });
    case kCmdJcMap:
      return noAnswer([this] { OpenJcMapDialog(*this); });
    default:
      return noAnswer([this, id] { OpenCommandDialog(*this, id); });
  }
}

QPoint MainWindow::ClientOrigin() const {
  return central_ ? central_->mapTo(this, QPoint(0, 0)) : QPoint(0, 0);
}

void MainWindow::ShowPopupMenu(QPoint clientPos) {
  static const MenuItem kItems[] = {
      {QT_TR_NOOP("データファイル登録"), kCmdRegisterDataFile},
      {QT_TR_NOOP("データファイル登録削除"), kCmdDeleteDataFiles},
      {QT_TR_NOOP("計算条件登録"), kCmdRegisterCalcCond},
      {QT_TR_NOOP("計算条件削除"), kCmdDeleteCalcConds},
      {QT_TR_NOOP("計算開始"), kCmdStartCalculation},
  };
  QMenu menu(tr("ポップアップ"), this);
  for (const MenuItem& item : kItems) menu.addAction(tr(item.text))->setData(item.id);
  QAction* chosen = menu.exec(mapToGlobal(clientPos + ClientOrigin()));
  if (chosen) Command(chosen->data().toInt());
}

// Accelerators apply only while the main window itself (or its graph) has
// the keyboard focus: keys typed into a panel or a dialog stay there.
bool MainWindow::event(QEvent* e) {
  if (e->type() == QEvent::KeyPress || e->type() == QEvent::ShortcutOverride) {
    auto* key = static_cast<QKeyEvent*>(e);
    QWidget* focus = QApplication::focusWidget();
    bool ownFocus = focus == nullptr || focus == this || focus == central_ || focus == graph_;
    Qt::KeyboardModifiers mods = key->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                     Qt::AltModifier | Qt::MetaModifier);
    if (ownFocus && (mods & Qt::ControlModifier) &&
        !(mods & (Qt::AltModifier | Qt::MetaModifier))) {
      const bool shift = mods & Qt::ShiftModifier;
      for (const CommandAction& c : commands_) {
        if (c.key == key->key() && c.shift == shift) {
          e->accept();
          if (e->type() == QEvent::KeyPress) c.action->trigger();
          return true;
        }
      }
    }
  }
  return QMainWindow::event(e);
}

int MainWindow::Command(int id) {
  for (const CommandAction& c : commands_)
    if (c.action->data().toInt() == id) return c.run();
  return 0;
}

void MainWindow::DeleteSelectedDataFiles() {
  if (!DeleteDataFiles(document_, lists_->SelectedRows(ListKind::DataFiles)))
    ShowWarning(this, tr("データファイル情報を選択してからコマンドを実行してください。"),
                tr("データファイル情報削除"));
}

void MainWindow::DeleteSelectedCalcConds() {
  if (!DeleteCalcConds(document_, lists_->SelectedRows(ListKind::CalcConds)))
    ShowWarning(this, tr("計算条件を選択してからコマンドを実行してください。"), tr("計算条件削除"));
}

bool MainWindow::LoadProject(const QString& path) {
  if (!LoadDocument(document_, path.toStdString())) {
    ShowWarning(this, tr(kCannotRead));
    return false;
  }
  return true;
}

// The windows follow every change of the document.
void MainWindow::DocumentChanged(const DocChange& change) {
  FollowDocument(view_, document_, change);
  if (!lists_) return;
  if (change.kind == ChangeKind::AxesChanged) {
    // Nothing the fit window or the status bar shows depends on the axes.
    InvalidateGraph();
    return;
  }
  ShowChangeInWindows(change);
  // The fit window shows the panel's values and the model they give.
  if (auto* fit = dialogs_.Find<FitDialog>(DialogKind::Fit)) fit->ProjectChanged(change);
  StatusRefresh();
  InvalidateGraph();
}

// What a change means for the lists, the panel and the open dialogs.
void MainWindow::ShowChangeInWindows(const DocChange& change) {
  switch (change.kind) {
    case ChangeKind::DataFileAdded:
    case ChangeKind::DataFileRenamed:
    case ChangeKind::CalcCondAdded:
    case ChangeKind::CalcCondChanged:
      ShowChangedRow(change);
      break;
    case ChangeKind::DataFilesDeleted:
    case ChangeKind::CalcCondsDeleted:
    case ChangeKind::ModeChanged:
      lists_->RefillLists();
      CloseDialogsOfRemovedEntries(*this);
      break;
    case ChangeKind::ProjectReplaced:
      ForgetFitRecord(document_);
      lists_->RefillLists();
      params_->ShowProjectInPanel();
      ResetWindowGraph();
      CloseDialogsOfRemovedEntries(*this);
      break;
    case ChangeKind::SettingsChanged:
      // The sliders stand for positions in the ranges: without this the
      // next step would jump from the old place.
      if (params_) params_->PlaceSliders();
      break;
    case ChangeKind::AxesChanged:
    case ChangeKind::ParamsChanged:
    case ChangeKind::ProjectSaved:
      break;
  }
}

// A row of the lists added or changed in place.
void MainWindow::ShowChangedRow(const DocChange& change) {
  const Project& p = project_;
  const RegistryEntry* file = p.DataFiles.Find(change.no);
  const RegistryEntry* cond = p.CalcConds.Find(change.no);
  if (change.kind == ChangeKind::DataFileAdded && file) lists_->InsertDataRow(*file);
  if (change.kind == ChangeKind::DataFileRenamed && file) lists_->UpdateDataRow(*file);
  if (change.kind == ChangeKind::CalcCondAdded && cond)
    lists_->InsertCondRow(*cond, p.Settings.Mode);
  if (change.kind == ChangeKind::CalcCondChanged && cond)
    lists_->UpdateCondRow(*cond, p.Settings.Mode);
}

bool MainWindow::SavePrompt(bool withCancel) {
  if (!project_.Modified) return true;
  MsgAnswer a = ShowMessage(
      this, tr("設定ファイルは変更されています。保存しますか？"), tr("設定ファイルの変更"),
      withCancel ? MsgButtons::YesNoCancel : MsgButtons::YesNo, MsgIcon::Question);
  if (a == MsgAnswer::Yes) {
    if (Command(kCmdSaveAs) == 0) return false;
    MarkUnmodified(document_);
    return true;
  }
  if (a == MsgAnswer::No) {
    MarkUnmodified(document_);
    return true;
  }
  return false;
}

void MainWindow::CommandNew() {
  if (!SavePrompt(true)) return;
  if (!NewDocument(document_, project_.ProgramFolder + kTempDefaultsName))
    ShowMessage(nullptr, tr(kCannotSave));
}

void MainWindow::CommandOpen() {
  if (!SavePrompt(true)) return;
  std::optional<QString> path =
      ThePlatform().OpenFile(this, tr("設定ファイルを選択"), tr(kSettingsFilter));
  if (!path) return;
  LoadProject(*path);
}

void MainWindow::SaveFitRecord() {
  // A fit applied since: its record goes beside the saved project.
  if (!WriteKeptFitRecord(document_)) ShowWarning(this, tr("フィット記録を保存できません。"));
}

int MainWindow::CommandSave() {
  params_->ReadPanelValues();
  if (project_.SettingsFilePath.empty()) return CommandSaveAs();
  switch (SaveDocument(document_)) {
    case WriteResult::Written:
      SaveFitRecord();
      return 1;
    case WriteResult::ChangedSinceRead:
      ShowMessage(nullptr,
                  CoreText(FillPattern(kChangedSinceReadPattern, project_.SettingsFilePath)));
      return 0;
    case WriteResult::Failed:
      break;
  }
  ShowMessage(nullptr, tr(kCannotSave));
  return 0;
}

int MainWindow::CommandSaveAs() {
  const QString title = tr("設定ファイルの保存");
  QString path;
  for (;;) {
    std::optional<QString> chosen = ThePlatform().SaveFile(this, title, tr(kSettingsFilter));
    if (!chosen) return 0;
    path = *chosen;
    if (EndsWith(path, ".zx2")) break;
    // The chooser asked about the name as typed; the file written is
    // another one, so ask about that. No goes back to the chooser.
    path += QStringLiteral(".zx2");
    if (!QFileInfo::exists(path)) break;
    const QString question =
        tr("%1 は既に存在します。\n上書きしますか？").arg(QFileInfo(path).fileName());
    if (ShowMessage(this, question, title, MsgButtons::YesNo, MsgIcon::Warning) == MsgAnswer::Yes)
      break;
  }
  if (const std::string refused = CheckPathEntry(path.toStdString()); !refused.empty()) {
    ShowWarning(this, CoreText(refused));
    return 0;
  }
  // What the panel shows is what gets saved, even before the next repaint.
  params_->ReadPanelValues();
  if (!SaveDocumentAs(document_, path.toStdString())) {
    ShowMessage(nullptr, tr(kCannotSave));
    return 0;
  }
  SaveFitRecord();
  return 1;
}

void MainWindow::HandleDroppedFiles(const QStringList& paths) {
  for (const QString& path : paths) {
    if (const std::string refused = CheckPathEntry(path.toStdString()); !refused.empty()) {
      ShowWarning(this, CoreText(refused));
      return;
    }
    if (EndsWith(path, ".zx2")) {
      // A dropped project replaces this one as Open does: ask first.
      if (!SavePrompt(true)) return;
      LoadProject(path);
    } else if (EndsWith(path, ".dat") || EndsWith(path, ".txt")) {
      if (dialogs_.IsOpen(DialogKind::DataFile)) {
        ShowWarning(this, tr("データファイル登録ダイアログを閉じてから作業を行ってください。"));
        return;
      }
      RegisterDroppedDataFile(*this, path);
    } else {
      ShowWarning(this,
                  tr("使用できるファイル拡張子は以下のように通りです。\n\n\t  "
                     "設定ファイル : .zx2\n\tデータファイル : .dat, .txt"),
                  tr("警告"));
      return;
    }
  }
}

void MainWindow::DropFiles(QDropEvent* event) {
  QStringList paths;
  for (const QUrl& url : event->mimeData()->urls())
    if (url.isLocalFile()) paths << url.toLocalFile();
  event->acceptProposedAction();
  // Dialogs opened by a drop must not run inside the drag-and-drop loop.
  if (!paths.isEmpty()) QTimer::singleShot(0, this, [this, paths] { HandleDroppedFiles(paths); });
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event) { AcceptFileDrag(event); }

void MainWindow::dropEvent(QDropEvent* event) { DropFiles(event); }

void MainWindow::StatusRefresh() {
  if (!statusPath_) return;
  statusPath_->setText(StatusText(0));
  statusMode_->setText(StatusText(1));
}

QString MainWindow::StatusText(int part) const {
  if (part == 0)
    return tr("現在の設定ファイルパス : ") + QString::fromStdString(project_.SettingsFilePath);
  switch (project_.Settings.Mode) {
    case CalcMode::EJ:
      return tr("E-J計算モード");
    case CalcMode::JcB:
      return tr("Jc-B計算モード");
  }
  return {};
}

void MainWindow::ResetWindowGraph() {
  ResetGraphView(view_.View, project_.Settings.Mode);
  RebuildSeriesLists(view_, project_);
  view_.View.RescalePending = true;
  view_.RefitsFollowed = document_.refitRequests;
}

void MainWindow::InvalidateGraph() {
  if (graph_ && !paintTimer_->isActive()) paintTimer_->start();
}

void MainWindow::PaintNow() {
  if (paintTimer_->isActive()) {
    paintTimer_->stop();
    RunPaintPass();
  }
}

void MainWindow::RunPaintPass() {
  if (!graph_ || closing_) return;
  ++paintPasses_;
  StatusRefresh();
  FollowRefits(view_, document_);
  PaintOutcome out = PaintGraphImage(*this);
  graph_->SetImage(std::move(out.image));
  if (out.outOfMemory) {
    ShowMessage(nullptr, CoreText(kOutOfMemoryMessage));
    std::exit(1);
  }
  for (const QString& w : out.warnings)
    if (!deferredWarnings_.contains(w)) deferredWarnings_ << w;
  if (!deferredWarnings_.isEmpty()) QTimer::singleShot(0, this, &MainWindow::ShowDeferredMessages);
}

// Warnings of a paint pass are shown after it, never from inside painting;
// a pass that runs while one is on screen does not stack another copy.
void MainWindow::ShowDeferredMessages() {
  static bool showing = false;
  if (showing) return;
  showing = true;
  while (!deferredWarnings_.isEmpty()) {
    QString text = deferredWarnings_.takeFirst();
    ShowWarning(this, text);
  }
  showing = false;
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The window closes whatever the answer; a cancelled Save As leaves the
  // project modified, and the question is asked once more.
  SavePrompt(false);
  if (project_.Modified) SavePrompt(false);
  closing_ = true;
  StopFullCalculation(*this);
  event->accept();
}

}  // namespace zx
