#include "model/text_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace zx {

// Opens for reading without blocking on a pipe; only regular files pass.
int OpenRegularFile(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    close(fd);
    return -1;
  }
  return fd;
}

std::string OpenFailureReason(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return std::strerror(errno);
  struct stat st {};
  const bool statted = fstat(fd, &st) == 0;
  const int error = errno;
  close(fd);
  if (!statted) return std::strerror(error);
  return S_ISREG(st.st_mode) ? "" : "not a regular file";
}

namespace {

bool WriteAll(int fd, std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t left = bytes.size();
  while (left > 0) {
    const ssize_t w = write(fd, p, left);
    if (w < 0 && errno == EINTR) continue;
    if (w <= 0) return false;
    p += w;
    left -= static_cast<std::size_t>(w);
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a chain of symbolic links ends in (the path itself when it is
// no link); the end need not exist yet. False for a loop or an unreadable
// link: writing there would replace the link itself.
bool FollowLinks(std::string& path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = readlink(path.c_str(), target.data(), target.size());
    if (n <= 0 || static_cast<std::size_t>(n) >= target.size()) return false;
    target.resize(static_cast<std::size_t>(n));
    path = target[0] == '/' ? target : FolderOf(path) + "/" + target;
  }
  return false;
}

mode_t CurrentUmask() {
  // /proc tells it without changing it (umask() would, for a moment, for
  // every thread).
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(std::strtol(line.c_str() + 6, nullptr, 8));
  const mode_t mask = umask(022);
  umask(mask);
  return mask;
}

bool Finish(int fd, std::string_view bytes) {
  bool ok = WriteAll(fd, bytes);
  if (ok && fsync(fd) != 0) ok = false;
  return ok;
}

// Gives the complete unnamed file `fd` the name `path`, replacing it.
bool LinkUnnamed(int fd, const std::string& folder, const std::string& path, bool exists) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (!exists && linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0)
    return true;
  // A name cannot be linked over: link aside, then rename over the target.
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string aside =
        folder + "/.zx2save-" + std::to_string(getpid()) + "-" + std::to_string(attempt);
    if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, aside.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      if (errno == EEXIST) continue;
      return false;
    }
    if (std::rename(aside.c_str(), path.c_str()) == 0) return true;
    unlink(aside.c_str());
    return false;
  }
  return false;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& bytes, std::size_t maxBytes) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return false;
  std::string out;
  char buf[65536];
  bool ok = true;
  for (;;) {
    const ssize_t n = read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0 || out.size() + static_cast<std::size_t>(n) > maxBytes) {
      ok = false;
      break;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  close(fd);
  if (ok) bytes = std::move(out);
  return ok;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t nl = text.find('\n', start);
    std::size_t end = nl == std::string_view::npos ? text.size() : nl;
    std::size_t stop = end;
    if (stop > start && text[stop - 1] == '\r') --stop;
    lines.emplace_back(text.substr(start, stop - start));
    if (nl == std::string_view::npos) break;
    start = nl + 1;
  }
  return lines;
}

namespace {

// The target as it is before the write.
struct TargetState {
  bool exists = false;
  struct stat st {};
};

// False when the target may not be replaced: its status unreadable, not a
// regular file, or write-protected.
bool InspectTarget(const std::string& target, TargetState& state) {
  state.exists = stat(target.c_str(), &state.st) == 0;
  if (!state.exists) return errno == ENOENT;
  // A file nobody may write counts as write-protected, for root too.
  return S_ISREG(state.st.st_mode) && (state.st.st_mode & 0222) != 0 &&
         access(target.c_str(), W_OK) == 0;
}

// An unnamed file leaves nothing behind when the process is killed. Where the
// file system has none, a named one is made and its name left in `named`.
int OpenTemporary(const std::string& folder, std::string& named) {
  int fd = open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
  if (fd < 0 && (errno == EOPNOTSUPP || errno == EISDIR || errno == EINVAL)) {
    named = folder + "/.zx2save-XXXXXX";
    fd = mkstemp(named.data());
    if (fd < 0) named.clear();
  }
  return fd;
}

// Where allowed, the file keeps its owner too; otherwise the writer's.
void KeepOwner(int fd, const TargetState& state) {
  if (state.exists && (state.st.st_uid != geteuid() || state.st.st_gid != getegid()) &&
      fchown(fd, state.st.st_uid, state.st.st_gid) != 0) {
  }
}

// Writes the bytes and puts the temporary file in the target's place.
bool WriteAndPlace(int fd, std::string_view bytes, const std::string& folder,
                   const std::string& target, const std::string& named, bool exists) {
  if (!Finish(fd, bytes)) return false;
  if (named.empty()) return LinkUnnamed(fd, folder, target, exists);
  return std::rename(named.c_str(), target.c_str()) == 0;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
  std::string target = path;
  if (!FollowLinks(target)) return false;
  const std::string folder = FolderOf(target);
  TargetState state;
  if (!InspectTarget(target, state)) return false;
  const mode_t mode = state.exists ? (state.st.st_mode & 07777) : (0666 & ~CurrentUmask());

  std::string named;  // the fallback's temporary name
  const int fd = OpenTemporary(folder, named);
  // Rewriting the target in place instead would cut it off on a full disk
  // or a kill, with no copy left to restore: refused like any unwritable one.
  if (fd < 0) return false;

  fchmod(fd, mode);
  KeepOwner(fd, state);
  bool ok = WriteAndPlace(fd, bytes, folder, target, named, state.exists);
  if (close(fd) != 0) ok = false;
  if (!ok && !named.empty()) unlink(named.c_str());
  return ok;
}

LineReader::LineReader(const std::string& path) : fd_(OpenRegularFile(path)) {}

LineReader::~LineReader() {
  if (fd_ >= 0) close(fd_);
}

LineReader::Next LineReader::Read(std::string_view& line, std::size_t maxLength) {
  if (fd_ < 0) return Next::Failed;
  for (;;) {
    const void* nl = std::memchr(buf_.data() + begin_, '\n', end_ - begin_);
    if (nl || (eof_ && begin_ < end_))
      return TakeLine(static_cast<const char*>(nl), line, maxLength);
    if (eof_) return Next::End;
    if (end_ - begin_ > maxLength + 1) return Next::TooLong;
    if (!ReadBlock()) return Next::Failed;
  }
}

LineReader::Next LineReader::TakeLine(const char* nl, std::string_view& line,
                                      std::size_t maxLength) {
  const char* data = buf_.data();
  const std::size_t stop = nl ? static_cast<std::size_t>(nl - data) : end_;
  std::size_t length = stop - begin_;
  if (length > maxLength + 1) return Next::TooLong;
  if (length > 0 && data[begin_ + length - 1] == '\r') --length;
  if (length > maxLength) return Next::TooLong;
  line = std::string_view(data + begin_, length);
  begin_ = nl ? stop + 1 : end_;
  return Next::Line;
}

bool LineReader::ReadBlock() {
  constexpr std::size_t kBlock = 65536;
  // Keep the unfinished line at the front and append the next block.
  buf_.erase(0, begin_);
  end_ -= begin_;
  begin_ = 0;
  buf_.resize(end_ + kBlock);
  ssize_t n;
  do {
    n = read(fd_, buf_.data() + end_, kBlock);
  } while (n < 0 && errno == EINTR);
  if (n < 0) return false;
  if (n == 0) eof_ = true;
  end_ += static_cast<std::size_t>(n);
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

}  // namespace zx
