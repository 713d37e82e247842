#include "model/text_file.h"

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

#include "temp_files.h"

namespace zx {
namespace {

namespace fs = std::filesystem;

std::string Contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

// Restores the process umask when the test ends.
struct UmaskScope {
  explicit UmaskScope(mode_t m) : old(umask(m)) {}
  ~UmaskScope() { umask(old); }
  mode_t old;
};

std::size_t EntriesIn(const std::string& folder) {
  std::size_t n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(folder)) ++n;
  return n;
}

TEST(AtomicWrite, WritesThroughLinksAndKeepsOrSetsTheMode) {
  test::TempDir dir;
  const std::string target = dir.Write("real.dat", "old");
  const std::string link = dir.Path("link.dat");
  fs::create_symlink("real.dat", link);
  ASSERT_TRUE(WriteFileAtomically(link, "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(Contents(target), "new");

  // A dangling link creates its target.
  fs::create_symlink("later.dat", dir.Path("dangling.dat"));
  ASSERT_TRUE(WriteFileAtomically(dir.Path("dangling.dat"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.Path("dangling.dat")));
  EXPECT_EQ(Contents(dir.Path("later.dat")), "x");

  chmod(target.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomically(target, "again"));
  EXPECT_EQ(ModeOf(target), 0640u);
  {
    UmaskScope scope(027);
    ASSERT_TRUE(WriteFileAtomically(dir.Path("fresh.dat"), "1"));
    EXPECT_EQ(ModeOf(dir.Path("fresh.dat")), 0640u);
  }
  {
    UmaskScope scope(002);
    ASSERT_TRUE(WriteFileAtomically(dir.Path("shared.dat"), "1"));
    EXPECT_EQ(ModeOf(dir.Path("shared.dat")), 0664u);
  }
  // Nothing but the files written (and the links) is left in the folder.
  EXPECT_EQ(EntriesIn(dir.Path("")), 6u);
}

TEST(AtomicWrite, RefusesWhatItMustNotReplace) {
  test::TempDir dir;
  const std::string locked = dir.Write("locked.dat", "measured");
  chmod(locked.c_str(), 0444);
  EXPECT_FALSE(WriteFileAtomically(locked, "computed"));  // root included
  EXPECT_EQ(Contents(locked), "measured");
  EXPECT_EQ(ModeOf(locked), 0444u);

  // Devices and folders are no files to replace.
  fs::create_symlink("/dev/full", dir.Path("full.svg"));
  EXPECT_FALSE(WriteFileAtomically(dir.Path("full.svg"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.Path("full.svg")));
  fs::create_directory(dir.Path("folder"));
  EXPECT_FALSE(WriteFileAtomically(dir.Path("folder"), "x"));
  EXPECT_FALSE(WriteFileAtomically("/dev/null/below.dat", "x"));
  EXPECT_EQ(EntriesIn(dir.Path("")), 3u);
}

enum class Child { Failed, Written, Killed, CannotRun };

// Runs a write in a child process with the file size limited to `maxBytes`
// (a full disk). SIGXFSZ is ignored, so the write fails, or kept, so the
// child is killed in the middle of it. With `dropRights`, root first becomes
// an ordinary user, since folder modes do not stop root.
Child InChild(const std::function<bool()>& write, rlim_t maxBytes, bool killAtLimit,
              bool dropRights) {
  const pid_t pid = fork();
  if (pid == 0) {
    if (dropRights && geteuid() == 0 &&
        (setgroups(0, nullptr) != 0 || setgid(65534) != 0 || setuid(65534) != 0))
      _exit(3);
    const rlimit limit{maxBytes, maxBytes};
    setrlimit(RLIMIT_FSIZE, &limit);
    if (!killAtLimit) std::signal(SIGXFSZ, SIG_IGN);
    _exit(write() ? 1 : 0);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid) return Child::CannotRun;
  if (WIFSIGNALED(status)) return Child::Killed;
  switch (WEXITSTATUS(status)) {
    case 0:
      return Child::Failed;
    case 1:
      return Child::Written;
    default:
      return Child::CannotRun;
  }
}

constexpr rlim_t kNoLimit = RLIM_INFINITY;

TEST(AtomicWrite, FullDiskOrKillLeavesTheOldFileAndNoTemporary) {
  test::TempDir dir;
  const std::string target = dir.Write("data.dat", "precious old data file");
  const std::string big(8192, 'n');
  auto write = [&] { return WriteFileAtomically(target, big); };
  EXPECT_EQ(InChild(write, 4096, false, false), Child::Failed);
  EXPECT_EQ(Contents(target), "precious old data file");
  EXPECT_EQ(InChild(write, 4096, true, false), Child::Killed);
  EXPECT_EQ(Contents(target), "precious old data file");
  EXPECT_EQ(EntriesIn(dir.Path("")), 1u);
}

// A writable file in a folder where nothing can be created cannot be
// replaced whole; rewriting it in place could leave it cut off.
TEST(AtomicWrite, RefusesAWritableFileInAReadOnlyFolder) {
  test::TempDir dir;
  const std::string folder = dir.Path("shared");
  fs::create_directory(folder);
  const std::string target = folder + "/data.dat";
  const std::string old = "precious old data file";
  std::ofstream(target, std::ios::binary) << old;
  chmod(dir.Path("").c_str(), 0755);
  chmod(target.c_str(), 0666);
  chmod(folder.c_str(), 0555);
  const std::string big(8192, 'n');
  auto write = [&] { return WriteFileAtomically(target, big); };
  // Plainly, on a full disk and killed in the middle of the write.
  const struct {
    rlim_t limit;
    bool kill;
  } cases[] = {{kNoLimit, false}, {4096, false}, {4096, true}};
  for (const auto& c : cases) {
    const Child result = InChild(write, c.limit, c.kill, true);
    if (result == Child::CannotRun) {
      chmod(folder.c_str(), 0755);
      GTEST_SKIP() << "cannot give up root's rights here";
    }
    EXPECT_EQ(result, Child::Failed) << c.limit << c.kill;
    EXPECT_TRUE(Contents(target) == old) << Contents(target).size() << " bytes";
    std::ofstream(target, std::ios::binary | std::ios::trunc) << old;
  }
  chmod(folder.c_str(), 0755);
}

TEST(AtomicWrite, RefusesALoopOfLinks) {
  test::TempDir dir;
  fs::create_symlink("b.dat", dir.Path("a.dat"));
  fs::create_symlink("a.dat", dir.Path("b.dat"));
  fs::create_symlink("self.dat", dir.Path("self.dat"));
  EXPECT_FALSE(WriteFileAtomically(dir.Path("a.dat"), "x"));
  EXPECT_FALSE(WriteFileAtomically(dir.Path("self.dat"), "x"));
  EXPECT_TRUE(fs::is_symlink(dir.Path("a.dat")));
  EXPECT_TRUE(fs::is_symlink(dir.Path("self.dat")));
  // A link through a looping folder cannot be followed either.
  fs::create_symlink("self.dat/x.dat", dir.Path("through.dat"));
  EXPECT_FALSE(WriteFileAtomically(dir.Path("through.dat"), "x"));
  EXPECT_EQ(EntriesIn(dir.Path("")), 4u);
}

TEST(ReadWholeFile, OnlyRegularFilesUpToTheLimit) {
  test::TempDir dir;
  std::string bytes = "kept";
  EXPECT_FALSE(ReadWholeFile(dir.Path(""), bytes));
  EXPECT_FALSE(ReadWholeFile("/dev/zero", bytes));
  const std::string fifo = dir.Path("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadWholeFile(fifo, bytes));  // returns at once: nobody writes
  EXPECT_EQ(bytes, "kept");

  const std::string file = dir.Write("f.txt", "0123456789");
  EXPECT_FALSE(ReadWholeFile(file, bytes, 9));
  ASSERT_TRUE(ReadWholeFile(file, bytes, 10));
  EXPECT_EQ(bytes, "0123456789");
}

}  // namespace
}  // namespace zx
