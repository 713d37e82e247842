// A main window over a temporary program folder, with scripted answers.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QItemSelectionModel>
#include <QTableWidget>
#include <QTemporaryDir>
#include <memory>

#include "../core/document_access.h"
#include "app/main_window.h"
#include "scripted_platform.h"
#include "ui/lists_panel.h"
#include "ui/parameter_panel.h"

namespace zx::test {

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dir.isValid()); }

  std::string Folder() const { return dir.path().toStdString() + "/"; }
  QString Path(const QString& name) const { return dir.filePath(name); }

  MainWindow& Start(const std::string& settingsPath = {}) {
    window = std::make_unique<MainWindow>(Folder(), settingsPath);
    return *window;
  }

  // A data file of n points on a power law.
  QString WriteData(const QString& name, int n = 6) {
    QFile f(Path(name));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("# J E\n");
    for (int i = 0; i < n; ++i) {
      double j = 1e8 * (1 + i);
      f.write(QByteArray::number(j, 'e', 6) + " " + QByteArray::number(1e-6 * (1 + i * i), 'e', 6) +
              "\n");
    }
    return Path(name);
  }

  void Select(ListKind kind, std::initializer_list<int> rows) {
    QTableWidget* list = window->listsPanel()->list(kind);
    list->clearSelection();
    for (int r : rows)
      list->selectionModel()->select(list->model()->index(r, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  static QString Cell(QTableWidget* list, int row, int col) {
    auto* item = list->item(row, col);
    return item ? item->text() : QString();
  }

  QTemporaryDir dir;
  ScriptedPlatform platform;
  std::unique_ptr<MainWindow> window;
};

}  // namespace zx::test
