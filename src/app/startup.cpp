#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

#include "app/main_window.h"
#include "qtcanvas/qt_canvas.h"
#include "ui/language.h"
#include "ui/platform.h"

namespace zx {

QString SettingsPathFromArguments(const QStringList& args) { return args.join(QLatin1Char(' ')); }

bool IsSettingsFileName(const QString& path) { return path.endsWith(QLatin1String(".zx2")); }

bool CommandLineAccepted(const QStringList& args) {
  return args.isEmpty() || (args.size() == 1 && IsSettingsFileName(args.front()));
}

bool IsOwnExecutableName(const QString& executablePath) {
  return QFileInfo(executablePath).fileName() == QLatin1String("zentrix2");
}

QString ProgramFolderFor(const QString& executablePath, const QString& perUserFolder) {
  QString folder = QFileInfo(executablePath).absolutePath();
  // Something that is no folder (a file named as one) is no place to keep
  // the settings either, whoever runs the program.
  const QFileInfo info(folder);
  if (!info.isDir() || !info.isWritable()) {
    QDir().mkpath(perUserFolder);
    folder = perUserFolder;
  }
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

namespace {

// One instance per user and display: a lock held for the life of the process.
QString LockPath() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (dir.isEmpty()) dir = QDir::tempPath();
  QString display = qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  return dir + QStringLiteral("/zentrix2-") + display + QStringLiteral(".lock");
}

}  // namespace

int RunProgram(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("zentrix2"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/zentrix2.svg")));
  // The graph and the image export of zentrix2-calc use the same font.
  const QFont font = ProgramFont();
  QApplication::setFont(font);
  QApplication::setFont(font, "QMenu");  // the controls take the menu font
  InstallLanguage(StartupLanguage());

  QStringList args = QApplication::arguments().mid(1);
  QString settingsPath = SettingsPathFromArguments(args);
  if (!CommandLineAccepted(args)) {
    ShowMessage(nullptr,
                QCoreApplication::translate("zx::Startup", ".zx2ファイルをドロップしてください。"),
                QCoreApplication::translate("zx::Startup", "設定ファイル読み込み"));
    return 0;
  }
  if (!settingsPath.isEmpty()) settingsPath = QFileInfo(settingsPath).absoluteFilePath();

  QLockFile lock(LockPath());
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0)) return 0;

  if (!IsOwnExecutableName(QCoreApplication::applicationFilePath())) {
    ShowMessage(nullptr,
                QCoreApplication::translate("zx::Startup", "実行ファイルのリネームはできません。"));
    return 1;
  }
  QString folder =
      ProgramFolderFor(QCoreApplication::applicationFilePath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));

  MainWindow window(folder.toStdString(), settingsPath.toStdString());
  if (!window.StartupOk()) return 1;
  window.show();
  app.exec();
  return 0;
}

}  // namespace zx
