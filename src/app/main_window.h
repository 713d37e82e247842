// The main window: graph, the two panels, status bar, menus, accelerators,
// command dispatch, dropped files and the paint pass of the graph.
#pragma once

#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "model/document.h"
#include "ui/shell.h"

class QAction;
class QMenu;
class QTimer;
class QLabel;

namespace zx {

struct CommandDef;
class GraphWidget;
class ListsPanel;
class ParameterPanel;

class MainWindow : public QMainWindow, public Shell {
  Q_OBJECT

 public:
  // programFolder ends with '/'. An empty settingsPath means the default
  // settings file in the program folder.
  MainWindow(const std::string& programFolder, const std::string& settingsPath);
  ~MainWindow() override;

  // False when the start-up settings file could be neither read nor created.
  bool StartupOk() const { return startupOk_; }

  Document& document() override { return document_; }
  const ViewState& viewState() override { return view_; }
  // The paint pass's own access.
  ViewState& paintState() { return view_; }
  OpenDialogs& dialogs() override { return dialogs_; }
  std::atomic<bool>& calculating() override { return calculating_; }
  ListsPanel* listsPanel() override { return lists_; }
  ParameterPanel* parameterPanel() override { return params_; }
  QWidget& widget() override { return *this; }
  GraphWidget* graph() { return graph_; }

  // Runs a menu, popup or accelerator command. Save As returns 1 when the
  // file was written; every other command returns 0.
  int Command(int id) override;

  // Asks for a repaint of the graph; repeated requests before the next
  // pass are merged into one.
  void InvalidateGraph() override;
  // Runs a pending paint pass at once (tests, and before reading results).
  void PaintNow();
  int PaintPassCount() const { return paintPasses_; }

  void StatusRefresh() override;
  QString StatusText(int part) const;

  // Dropped files, from the window or either panel.
  void HandleDroppedFiles(const QStringList& paths);
  // Drops on the window and both panels.
  void DropFiles(QDropEvent* event) override;
  // Popup menu at a point of the main window's client area.
  void ShowPopupMenu(QPoint clientPos) override;

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
  // One named action per command, in the menus; the accelerator keys
  // trigger the same actions.
  struct CommandAction {
    QAction* action;
    Qt::Key key;
    bool shift;
    std::function<int()> run;
  };
  void BuildMenus();
  QAction* AddCommand(QMenu* menu, const CommandDef& c, std::function<int()> run);
  std::function<int()> CommandRun(int id);
  void DocumentChanged(const DocChange& change);
  void ShowChangeInWindows(const DocChange& change);
  void ShowChangedRow(const DocChange& change);
  bool OpenStartupProject();
  void DeleteSelectedDataFiles();
  void DeleteSelectedCalcConds();
  void CommandNew();
  void CommandOpen();
  int CommandSave();
  void SaveFitRecord();
  int CommandSaveAs();
  void RunPaintPass();
  // The graph's geometry and axes as a new project shows them.
  void ResetWindowGraph();
  void ShowDeferredMessages();

  Document document_;
  const Project& project_ = document_.project;
  ViewState view_;
  OpenDialogs dialogs_;
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
  std::vector<CommandAction> commands_;
};

}  // namespace zx
