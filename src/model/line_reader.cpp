#include "model/line_reader.h"

namespace zx {

LineReader::LineReader(const std::string& path, std::size_t maxLineBytes)
    : file_(std::fopen(path.c_str(), "rb")), maxLine_(maxLineBytes) {}

LineReader::~LineReader() {
  if (file_) std::fclose(file_);
}

bool LineReader::Fill() {
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

bool LineReader::ReadLine(std::string& line, bool* cut) {
  line.clear();
  if (cut) *cut = false;
  bool any = false;
  for (;;) {
    if (pos_ >= len_ && !Fill()) return any;
    if (skipLf_) {
      skipLf_ = false;
      if (buf_[pos_] == '\n') {
        ++pos_;
        continue;
      }
    }
    any = true;
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
  }
}

bool LineReader::Next(std::string& line, bool* cut) {
  if (!ReadLine(line, cut)) return false;
  // Editors on some systems start UTF-8 text with a byte order mark.
  if (first_ && line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  first_ = false;
  return true;
}

}  // namespace zx
