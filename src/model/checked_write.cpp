#include "model/checked_write.h"

#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "model/text_file.h"

namespace zx {

namespace {

// Reads what `fd` holds from its start.
bool ReadFd(int fd, std::string& out) {
  out.clear();
  char buf[65536];
  for (off_t at = 0;;) {
    const ssize_t n = pread(fd, buf, sizeof buf, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    out.append(buf, static_cast<std::size_t>(n));
    at += n;
  }
}

enum class Hold { Locked, Failed, Replaced };

// Locks `fd` and checks that it is still the file under `path`.
Hold LockAndCheck(int fd, const std::string& path) {
  int locked;
  while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  struct stat held {
  }, named{};
  if (locked != 0 || fstat(fd, &held) != 0) return Hold::Failed;
  if (stat(path.c_str(), &named) != 0 || named.st_ino != held.st_ino || named.st_dev != held.st_dev)
    return Hold::Replaced;
  return Hold::Locked;
}

// With the lock held: writes when the file still holds what was read.
WriteResult WriteIfStampMatches(int fd, const std::string& path, std::string_view bytes,
                                const ReadStamp& read) {
  std::string now;
  if (!ReadFd(fd, now)) return WriteResult::Failed;
  if (!(StampOf(now) == read)) return WriteResult::ChangedSinceRead;
  return WriteFileAtomically(path, bytes) ? WriteResult::Written : WriteResult::Failed;
}

}  // namespace

ReadStamp StampOf(std::string_view bytes) {
  // FNV-1a over the bytes, with their count.
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : bytes) h = (h ^ c) * 1099511628211ull;
  return {true, bytes.size(), h};
}

WriteResult WriteFileIfUnchanged(const std::string& path, std::string_view bytes,
                                 const ReadStamp& read) {
  if (!read.known)
    return WriteFileAtomically(path, bytes) ? WriteResult::Written : WriteResult::Failed;
  // The lock belongs to the file's inode, which the replacement retires: a
  // writer that waited for it finds another file under the name and locks
  // that one instead. Opening and stat follow symbolic links as the write does.
  for (int attempt = 0; attempt < 1000; ++attempt) {
    const int fd = OpenRegularFile(path);
    if (fd < 0) return FileExists(path) ? WriteResult::Failed : WriteResult::ChangedSinceRead;
    const Hold hold = LockAndCheck(fd, path);
    const WriteResult result =
        hold == Hold::Locked ? WriteIfStampMatches(fd, path, bytes, read) : WriteResult::Failed;
    close(fd);  // releases the lock
    if (hold != Hold::Replaced) return result;
  }
  return WriteResult::Failed;
}

}  // namespace zx
