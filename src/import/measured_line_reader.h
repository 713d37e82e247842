// Streaming line reader for text files of any size: lines end with LF,
// CR LF or a lone CR, and a line longer than the cap is cut (and flagged)
// instead of being held in memory whole.
#pragma once

#include <cstdio>
#include <string>

namespace zx {

class MeasuredLineReader {
 public:
  explicit MeasuredLineReader(const std::string& path,
                              std::size_t maxLineBytes = kDefaultMaxLineBytes);
  ~MeasuredLineReader();
  MeasuredLineReader(const MeasuredLineReader&) = delete;
  MeasuredLineReader& operator=(const MeasuredLineReader&) = delete;

  static constexpr std::size_t kDefaultMaxLineBytes = 64 * 1024;

  bool Opened() const { return file_ != nullptr; }
  // False when a read failed (the lines so far are still valid).
  bool Failed() const { return failed_; }
  // The next line without its terminator; false at the end of the file.
  // *cut is set when the line was longer than the cap. A UTF-8 byte order
  // mark before the first line is dropped.
  bool Next(std::string& line, bool* cut = nullptr);

 private:
  bool Fill();
  // Past an LF that ends the same line as the CR before it; whether there
  // was one.
  bool SkippedLf();
  // The buffer up to the line's end onto `line`, within the cap; whether
  // the line ended in the buffer.
  bool AppendToLineEnd(std::string& line, bool* cut);
  bool ReadLine(std::string& line, bool* cut);

  std::FILE* file_ = nullptr;
  std::size_t maxLine_;
  char buf_[64 * 1024];
  std::size_t pos_ = 0, len_ = 0;
  bool eof_ = false;
  bool failed_ = false;
  bool first_ = true;
  bool skipLf_ = false;  // a CR ended the last line; an LF right after it belongs to it
};

}  // namespace zx
