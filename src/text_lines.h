// Text-line conventions shared by the source, temporary and include files:
// a line ends at LF, CR LF or a lone CR; every line is written with CR LF.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quillet {

// Splits bytes into lines; a line end at the very end starts no further line.
std::vector<std::string> SplitTextLines(const std::string& bytes);

// Streams lines from a file, one buffer at a time, whatever their length.
class LineReader {
 public:
  LineReader(std::unique_ptr<SequentialFile> file, std::string path, uint32_t read_site);
  // False at the end of the file; a read failure raises a RunError.
  bool Next(std::string* line);

 private:
  bool Fill();  // false at end of file

  std::unique_ptr<SequentialFile> file_;
  std::string path_;
  uint32_t read_site_;
  std::unique_ptr<char[]> buffer_;
  size_t pos_ = 0;
  size_t end_ = 0;
  bool eof_ = false;
};

// Buffers output lines, each followed by CR LF; failures raise a RunError.
class LineWriter {
 public:
  LineWriter(std::unique_ptr<WritableFile> file, std::string path);
  void WriteLine(const std::string& line);
  void Close();  // flushes, then closes

 private:
  void Flush();

  std::unique_ptr<WritableFile> file_;
  std::string path_;
  std::string buffer_;
};

// The text after the last "\", "/" or ":"; the whole path when it has none.
std::string FileNamePart(const std::string& path);
// The source path with its extension replaced by ".$$$" (or ".$$$" appended).
std::string TempFileName(const std::string& path);

}  // namespace quillet
