#include "text_lines.h"

#include <cstring>

#include "run_error.h"

namespace quillet {
namespace {
constexpr size_t kBufferSize = size_t{64} * 1024;
}

std::vector<std::string> SplitTextLines(const std::string& bytes) {
  std::vector<std::string> lines;
  size_t start = 0;
  size_t i = 0;
  while (i < bytes.size()) {
    char c = bytes[i];
    if (c != '\n' && c != '\r') {
      ++i;
      continue;
    }
    lines.push_back(bytes.substr(start, i - start));
    i += (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ? 2 : 1;
    start = i;
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

LineReader::LineReader(std::unique_ptr<SequentialFile> file, std::string path, uint32_t read_site)
    : file_(std::move(file)),
      path_(std::move(path)),
      read_site_(read_site),
      // Not zero-filled: every byte used is read first.
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

bool LineReader::Fill() {
  if (eof_) return false;
  size_t got = 0;
  if (int err = file_->Read(buffer_.get(), kBufferSize, &got)) {
    RaiseFileError(read_site_, err, path_);
  }
  pos_ = 0;
  end_ = got;
  eof_ = got == 0;
  return !eof_;
}

bool LineReader::Next(std::string* line) {
  line->clear();
  bool any = false;  // a byte of this line, or its end, has been seen
  for (;;) {
    if (pos_ == end_ && !Fill()) return any;
    any = true;
    const char* begin = buffer_.get() + pos_;
    size_t avail = end_ - pos_;
    const char* stop = static_cast<const char*>(std::memchr(begin, '\n', avail));
    const char* cr =
        static_cast<const char*>(std::memchr(begin, '\r', stop ? stop - begin : avail));
    if (cr != nullptr) stop = cr;
    if (stop == nullptr) {
      line->append(begin, avail);
      pos_ = end_;
      continue;
    }
    line->append(begin, stop - begin);
    pos_ += (stop - begin) + 1;
    // A CR followed by LF ends one line, even when the LF is in the next buffer.
    if (*stop == '\r' && (pos_ < end_ || Fill()) && buffer_[pos_] == '\n') ++pos_;
    return true;
  }
}

LineWriter::LineWriter(std::unique_ptr<WritableFile> file, std::string path)
    : file_(std::move(file)), path_(std::move(path)) {
  buffer_.reserve(kBufferSize);
}

void LineWriter::WriteLine(const std::string& line) {
  if (buffer_.size() + line.size() + 2 > kBufferSize) {
    Flush();
    if (line.size() >= kBufferSize) {
      // A long line goes out directly instead of growing the buffer.
      if (int err = file_->Append(line.data(), line.size())) {
        RaiseFileError(kSiteTempWrite, err, path_);
      }
      buffer_ += "\r\n";
      return;
    }
  }
  buffer_ += line;
  buffer_ += "\r\n";
}

void LineWriter::Flush() {
  if (buffer_.empty()) return;
  if (int err = file_->Append(buffer_.data(), buffer_.size())) {
    RaiseFileError(kSiteTempWrite, err, path_);
  }
  buffer_.clear();
}

void LineWriter::Close() {
  Flush();
  if (int err = file_->Close()) RaiseFileError(kSiteTempClose, err, path_);
}

std::string FileNamePart(const std::string& path) {
  size_t sep = path.find_last_of("\\/:");
  return sep == std::string::npos ? path : path.substr(sep + 1);
}

std::string TempFileName(const std::string& path) {
  size_t mark = path.find_last_of("\\/:.");
  if (mark != std::string::npos && path[mark] == '.') return path.substr(0, mark) + ".$$$";
  return path + ".$$$";
}

}  // namespace quillet
