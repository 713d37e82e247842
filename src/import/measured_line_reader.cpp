#include "import/measured_line_reader.h"

#include <unistd.h>

#include "model/text_file.h"

namespace zx {

namespace {

// Pipes, devices and folders are refused: they block or never end.
std::FILE* OpenStream(const std::string& path) {
  const int fd = OpenRegularFile(path);
  if (fd < 0) return nullptr;
  std::FILE* f = fdopen(fd, "rb");
  if (!f) close(fd);
  return f;
}

}  // namespace

MeasuredLineReader::MeasuredLineReader(const std::string& path, std::size_t maxLineBytes)
    : file_(OpenStream(path)), maxLine_(maxLineBytes) {}

MeasuredLineReader::~MeasuredLineReader() {
  if (file_) std::fclose(file_);
}

bool MeasuredLineReader::Fill() {
  if (eof_ || !file_) return false;
  len_ = std::fread(buf_, 1, sizeof buf_, file_);
  pos_ = 0;
  if (len_ == 0) {
    eof_ = true;
    if (std::ferror(file_)) failed_ = true;
    return false;
  }
  return true;
}

bool MeasuredLineReader::SkippedLf() {
  if (!skipLf_) return false;
  skipLf_ = false;
  if (buf_[pos_] != '\n') return false;
  ++pos_;
  return true;
}

bool MeasuredLineReader::AppendToLineEnd(std::string& line, bool* cut) {
  std::size_t i = pos_;
  while (i < len_ && buf_[i] != '\n' && buf_[i] != '\r') ++i;
  const std::size_t room = maxLine_ > line.size() ? maxLine_ - line.size() : 0;
  const std::size_t take = i - pos_ < room ? i - pos_ : room;
  if (take < i - pos_ && cut) *cut = true;
  line.append(buf_ + pos_, take);
  if (i < len_) {
    skipLf_ = buf_[i] == '\r';
    pos_ = i + 1;
    return true;
  }
  pos_ = len_;
  return false;
}

bool MeasuredLineReader::ReadLine(std::string& line, bool* cut) {
  line.clear();
  if (cut) *cut = false;
  bool any = false;
  for (;;) {
    if (pos_ >= len_ && !Fill()) return any;
    if (SkippedLf()) continue;
    any = true;
    if (AppendToLineEnd(line, cut)) return true;
  }
}

bool MeasuredLineReader::Next(std::string& line, bool* cut) {
  if (!ReadLine(line, cut)) return false;
  // Editors on some systems start UTF-8 text with a byte order mark.
  if (first_ && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  first_ = false;
  return true;
}

}  // namespace zx
