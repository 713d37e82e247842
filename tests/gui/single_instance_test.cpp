#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

// Runs the real program: a second start while one runs ends at once with 0
// and leaves the first one running.
TEST(SingleInstance, SecondStartEndsSilently) {
  QTemporaryDir dir, runtime;
  ASSERT_TRUE(dir.isValid() && runtime.isValid());
  const QString exe = dir.filePath("zentrix2");
  ASSERT_TRUE(QFile::copy(ZX_GUI_PATH, exe));
  QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  env.insert("XDG_RUNTIME_DIR", runtime.path());
  env.insert("DISPLAY", ":zx-single-instance-test");

  QProcess first;
  first.setProcessEnvironment(env);
  first.start(exe, {});
  ASSERT_TRUE(first.waitForStarted(10000));
  // The first instance has built its window once its settings file exists.
  QElapsedTimer t;
  t.start();
  while (!QFileInfo::exists(dir.filePath("ZENTRIX II.zx2")) && t.elapsed() < 20000)
    QThread::msleep(50);
  ASSERT_TRUE(QFileInfo::exists(dir.filePath("ZENTRIX II.zx2")));

  QProcess second;
  second.setProcessEnvironment(env);
  second.start(exe, {dir.filePath("other.zx2")});
  ASSERT_TRUE(second.waitForFinished(20000));
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_FALSE(QFileInfo::exists(dir.filePath("other.zx2")));  // it touched nothing
  EXPECT_EQ(first.state(), QProcess::Running);

  first.kill();
  first.waitForFinished(5000);
}

}  // namespace
