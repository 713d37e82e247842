#include "app/startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QLockFile>
#include <QStandardPaths>

#include "app/main_window.h"
#include "ui/platform.h"

namespace zx {

QString SettingsPathFromArguments(const QStringList& args) { return args.join(QLatin1Char(' ')); }

bool IsSettingsFileName(const QString& path) { return path.endsWith(QLatin1String(".zx2")); }

bool IsOwnExecutableName(const QString& executablePath) {
  return QFileInfo(executablePath).fileName() == QLatin1String("zentrix2");
}

QString ProgramFolderFor(const QString& executablePath, const QString& perUserFolder) {
  QString folder = QFileInfo(executablePath).absolutePath();
  if (!QFileInfo(folder).isWritable()) {
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
  // The texts are Japanese: a Japanese font keeps them even and compact
  // (digits of the coefficient column included).
  for (const char* family : {"IPAPGothic", "IPAGothic", "Noto Sans CJK JP"}) {
    if (QFontDatabase::hasFamily(QString::fromLatin1(family))) {
      const QFont font(QString::fromLatin1(family), 9);
      QApplication::setFont(font);
      QApplication::setFont(font, "QMenu");  // the controls take the menu font
      break;
    }
  }

  QStringList args = QApplication::arguments().mid(1);
  QString settingsPath = SettingsPathFromArguments(args);
  if (!settingsPath.isEmpty() && !IsSettingsFileName(settingsPath)) {
    ShowMessage(nullptr, QStringLiteral(".zx2ファイルをドロップしてください。"),
                QStringLiteral("設定ファイル読み込み"));
    return 0;
  }
  if (!settingsPath.isEmpty()) settingsPath = QFileInfo(settingsPath).absoluteFilePath();

  QLockFile lock(LockPath());
  lock.setStaleLockTime(0);
  if (!lock.tryLock(0)) return 0;

  if (!IsOwnExecutableName(QCoreApplication::applicationFilePath())) {
    ShowMessage(nullptr, QStringLiteral("実行ファイルのリネームはできません。"));
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
