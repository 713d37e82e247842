// What the panels and dialogs need of the window that holds them: the
// document, the open dialogs, the graph's repaint and the commands. The main
// window provides it; the widgets never see the window's own class.
#pragma once

#include <QPoint>
#include <atomic>

#include "model/document.h"
#include "model/view_state.h"
#include "ui/open_dialogs.h"

class QDragEnterEvent;
class QDropEvent;
class QWidget;

namespace zx {

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
  kCmdImportMeasured = 40026,
  kCmdAutoFit = 40027,
  kCmdJcMap = 40028,
};

class Shell {
 public:
  virtual ~Shell() = default;

  // The document's procedures are the only way to change the project; the
  // widgets read it here.
  virtual Document& document() = 0;
  const Project& project() { return document().project; }
  // The graph's series, ranges and coefficients as the last paint left them.
  virtual const ViewState& viewState() = 0;
  virtual OpenDialogs& dialogs() = 0;
  // Set while a full calculation runs.
  virtual std::atomic<bool>& calculating() = 0;
  virtual ListsPanel* listsPanel() = 0;
  virtual ParameterPanel* parameterPanel() = 0;
  // The window: owner of the dialogs and the message boxes.
  virtual QWidget& widget() = 0;

  virtual int Command(int id) = 0;
  virtual void InvalidateGraph() = 0;
  virtual void StatusRefresh() = 0;
  virtual void ShowPopupMenu(QPoint clientPos) = 0;
  virtual void DropFiles(QDropEvent* event) = 0;
};

// Accepts a drag that carries files.
void AcceptFileDrag(QDragEnterEvent* event);

}  // namespace zx
