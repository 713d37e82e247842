// The main window: graph, the two panels, status bar, menus, accelerators,
// command dispatch, dropped files and the paint pass of the graph.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <atomic>
#include <string>

#include "model/project.h"

class QTimer;
class QLabel;

namespace zx {

class GraphWidget;
class ListsPanel;
class ParameterPanel;

enum CommandId : int {
  kCmdRegisterDataFile = 40003,
  kCmdExit = 40004,
  kCmdRegisterCalcCond = 40005,
  kCmdSave = 40006,
  kCmdStartCalculation = 40009,
  kCmdDeleteDataFiles = 40010,
  kCmdOpen = 40011,
  kCmdSaveAs = 40012,
  kCmdNew = 40013,
  kCmdDeleteCalcConds = 40014,
  kCmdAxisSettings = 40015,
  kCmdAbout = 40017,
  kCmdModeChange = 40018,
  kCmdOtherSettings = 40019,
  kCmdParamRange = 40025,
  kCmdAutoFit = 40026,
};

// Open flags of the modeless dialogs (the registration dialog's flag is
// Project::DataFileDialogOpen). Each dialog sets its flag while it exists.
struct OpenFlags {
  bool CalcCondDialogOpen = false;
  bool AxisDialogOpen = false;
  bool AboutBoxOpen = false;
  bool ModeDialogOpen = false;
  bool JRangeDialogOpen = false;
  bool JcConditionDialogOpen = false;
  bool ParamRangeDialogOpen = false;
  bool StatusDialogOpen = false;
  bool RenameDialogOpen = false;
  bool CalcCondChangeDialogOpen = false;
};

class MainWindow : public QMainWindow {
  Q_OBJECT

 public:
  // programFolder ends with '/'. An empty settingsPath means the default
  // settings file in the program folder.
  MainWindow(const std::string& programFolder, const std::string& settingsPath);
  ~MainWindow() override;

  // False when the start-up settings file could be neither read nor created.
  bool StartupOk() const { return startupOk_; }

  Project& project() { return project_; }
  OpenFlags& flags() { return flags_; }
  // Set while a full calculation runs.
  std::atomic<bool>& calculating() { return calculating_; }
  ListsPanel* listsPanel() { return lists_; }
  ParameterPanel* parameterPanel() { return params_; }
  GraphWidget* graph() { return graph_; }

  // Runs a menu, popup or accelerator command. Save As returns 1 when the
  // file was written; every other command returns 0.
  int Command(int id);

  // Asks for a repaint of the graph; repeated requests before the next
  // pass are merged into one.
  void InvalidateGraph();
  // Runs a pending paint pass at once (tests, and before reading results).
  void PaintNow();
  int PaintPassCount() const { return paintPasses_; }

  void StatusRefresh();
  QString StatusText(int part) const;

  // Dropped files, from the window or either panel.
  void HandleDroppedFiles(const QStringList& paths);
  // Drag and drop events of the window and both panels.
  static void AcceptFileDrag(QDragEnterEvent* event);
  void DropFiles(QDropEvent* event);
  // Popup menu at a point of the main window's client area.
  void ShowPopupMenu(QPoint clientPos);

  // Makes the settings file the current project; false (project kept)
  // when it cannot be read.
  bool LoadProject(const QString& path);
  // The save question; true when the action may proceed.
  bool SavePrompt(bool withCancel);

  // The graph's top-left in the window, for the panels' coordinate offsets.
  QPoint ClientOrigin() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void BuildMenus();
  void BuildAccelerators();
  bool OpenStartupProject();
  void DeleteSelectedDataFiles();
  void DeleteSelectedCalcConds();
  void CommandNew();
  void CommandOpen();
  int CommandSave();
  int CommandSaveAs();
  void RunPaintPass();
  void ShowDeferredMessages();

  Project project_;
  OpenFlags flags_;
  std::atomic<bool> calculating_{false};
  bool startupOk_ = false;
  bool closing_ = false;
  int paintPasses_ = 0;
  QWidget* central_ = nullptr;
  GraphWidget* graph_ = nullptr;
  ListsPanel* lists_ = nullptr;
  ParameterPanel* params_ = nullptr;
  QLabel* statusPath_ = nullptr;
  QLabel* statusMode_ = nullptr;
  QTimer* paintTimer_ = nullptr;
  QStringList deferredWarnings_;
};

}  // namespace zx
