// Property: writing the lines read from any bytes gives those bytes with
// every line end as CR LF.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "text_lines.h"

namespace {

class MemoryReader : public quillet::SequentialFile {
 public:
  MemoryReader(const uint8_t* data, size_t size, size_t chunk)
      : data_(data), size_(size), chunk_(chunk) {}
  int Read(char* buf, size_t n, size_t* got) override {
    *got = std::min({n, size_ - pos_, chunk_});
    std::memcpy(buf, data_ + pos_, *got);
    pos_ += *got;
    return 0;
  }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t chunk_;
  size_t pos_ = 0;
};

class MemoryWriter : public quillet::WritableFile {
 public:
  explicit MemoryWriter(std::string* out) : out_(out) {}
  int Append(const char* data, size_t n) override {
    out_->append(data, n);
    return 0;
  }
  int Close() override { return 0; }

 private:
  std::string* out_;
};

std::string Expected(const uint8_t* data, size_t size) {
  std::string out;
  bool open_line = false;
  for (size_t i = 0; i < size; ++i) {
    char c = static_cast<char>(data[i]);
    if (c == '\r' || c == '\n') {
      out += "\r\n";
      if (c == '\r' && i + 1 < size && data[i + 1] == '\n') ++i;
      open_line = false;
    } else {
      out += c;
      open_line = true;
    }
  }
  if (open_line) out += "\r\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Small read chunks put line ends, CR LF pairs among them, on chunk borders.
  size_t chunk = size == 0 ? 1 : 1 + data[0] % 7;
  quillet::LineReader reader(std::make_unique<MemoryReader>(data, size, chunk), "mem", 0);
  std::string written;
  quillet::LineWriter writer(std::make_unique<MemoryWriter>(&written), "out");
  std::string line;
  while (reader.Next(&line)) writer.WriteLine(line);
  writer.Close();
  if (written != Expected(data, size)) std::abort();
  std::vector<std::string> lines = quillet::SplitTextLines(std::string(data, data + size));
  std::string joined;
  for (const std::string& l : lines) joined += l + "\r\n";
  if (joined != written) std::abort();
  return 0;
}
