#include "model/text_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
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
