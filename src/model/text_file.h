// Whole-file reading and crash-safe writing.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zx {

// False when the file cannot be opened or read, is not a regular file (a
// folder, a pipe or a device never ends or blocks), or is longer than
// maxBytes.
bool ReadWholeFile(const std::string& path, std::string& bytes,
                   std::size_t maxBytes = static_cast<std::size_t>(-1));
// Lines ended by LF or CR LF (the terminator removed). A last line without
// terminator counts; an empty text has no lines.
std::vector<std::string> SplitLines(std::string_view text);

// Replaces the file so that the old one stays intact whenever the write
// fails: the bytes go to an unnamed file in the target's folder that is
// linked in once complete. A symbolic link is written through to its
// target; a loop of links, a target that is not a writable regular file and
// a folder where no file can be created (a writable file in it would have
// to be rewritten in place) are refused; a new file gets 0666 less the
// umask, an existing one keeps its mode.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

bool FileExists(const std::string& path);

// A read-only descriptor of a regular file, opened without blocking on a
// pipe; -1 for anything else.
int OpenRegularFile(const std::string& path);
// Why OpenRegularFile refuses the path, in a few words (the system's text
// for a failed open); empty when it opens.
std::string OpenFailureReason(const std::string& path);

// Reads a regular file line by line in blocks, so that any length of file
// costs the same small memory.
class LineReader {
 public:
  enum class Next { Line, End, TooLong, Failed };

  // Refuses what ReadWholeFile refuses (Open() is then false).
  explicit LineReader(const std::string& path);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  bool Open() const { return fd_ >= 0; }
  // The next line without its LF or CR LF; valid until the next call. A
  // line longer than maxLength bytes ends the reading with TooLong.
  Next Read(std::string_view& line, std::size_t maxLength);

 private:
  // The line from begin_ to the LF at nl, or to the end when nl is null.
  Next TakeLine(const char* nl, std::string_view& line, std::size_t maxLength);
  // False on a read error; at the end of the file eof_ is set instead.
  bool ReadBlock();

  int fd_ = -1;
  std::string buf_;
  std::size_t begin_ = 0, end_ = 0;
  bool eof_ = false;
};

}  // namespace zx
