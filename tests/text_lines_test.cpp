// Text lines: how lines are split on reading (LF, CR LF, lone CR), streamed
// from files of any size, written with CR LF, and how paths are cut.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "run_binary.h"
#include "run_error.h"
#include "text_lines.h"

namespace quillet::testing {
namespace {

constexpr size_t kBuffer = 64 * 1024;  // the reader's buffer size

using Lines = std::vector<std::string>;

struct SplitCase {
  const char* name;
  std::string bytes;
  Lines lines;
};

std::vector<SplitCase> SplitCases() {
  const std::string big(kBuffer - 1, 'a');  // a CR at the last byte of the first buffer
  const std::string huge(3 * kBuffer + 17, 'h');
  return {
      {"empty file has no lines", "", {}},
      {"LF", "one\ntwo\n", {"one", "two"}},
      {"CR LF", "one\r\ntwo\r\n", {"one", "two"}},
      {"lone CR", "one\rtwo\r", {"one", "two"}},
      {"CR CR LF ends two lines", "a\r\r\nb", {"a", "", "b"}},
      {"LF CR ends two lines", "a\n\rb", {"a", "", "b"}},
      {"last line without end", "a\nlast", {"a", "last"}},
      {"only CR LF", "\r\n", {""}},
      {"empty lines", "\n\n\r\n\r", {"", "", "", ""}},
      {"mixed ends", "a\nb\r\nc\rd", {"a", "b", "c", "d"}},
      {"NUL and byte 26 are ordinary bytes",
       std::string("a\0b\x1a"
                   "c\n\x1a\n",
                   8),
       {std::string("a\0b\x1a"
                    "c",
                    5),
        "\x1a"}},
      {"other control bytes stay", "\t\x01\x7f\xff\n", {"\t\x01\x7f\xff"}},
      {"CR LF split across the buffer boundary", big + "\r\nnext\r\n", {big, "next"}},
      {"lone CR at the buffer boundary", big + "\rnext", {big, "next"}},
      {"CR as the last byte, at the boundary", big + "\r", {big}},
      {"CR CR LF across the boundary", big + "\r\r\nx", {big, "", "x"}},
      {"LF exactly at the boundary", big + "\n" + "x", {big, "x"}},
      {"line longer than the buffer", huge + "\r\nend", {huge, "end"}},
      {"line longer than the buffer, no end", "s\n" + huge, {"s", huge}},
  };
}

Lines ReadAll(const std::string& path) {
  std::unique_ptr<SequentialFile> file;
  EXPECT_EQ(CurrentPlatform().OpenRead(path, &file), 0);
  LineReader reader(std::move(file), path, kSiteSourceRead);
  Lines lines;
  std::string line;
  while (reader.Next(&line)) lines.push_back(line);
  // The end stays the end.
  EXPECT_FALSE(reader.Next(&line));
  return lines;
}

TEST(TextLines, SplitAndStreamedReadingAgree) {
  TempDir dir;
  for (const SplitCase& c : SplitCases()) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(SplitTextLines(c.bytes), c.lines);
    dir.Write("in.txt", c.bytes);
    EXPECT_EQ(ReadAll(dir.Path("in.txt")), c.lines);
  }
}

// A writable file that keeps what it was given.
class MemoryFile : public WritableFile {
 public:
  MemoryFile(std::string* sink, bool* closed) : sink_(sink), closed_(closed) {}
  int Append(const char* data, size_t n) override {
    sink_->append(data, n);
    return 0;
  }
  int Close() override {
    *closed_ = true;
    return 0;
  }

 private:
  std::string* sink_;
  bool* closed_;
};

std::string WriteAll(const Lines& lines) {
  std::string sink;
  bool closed = false;
  LineWriter writer(std::make_unique<MemoryFile>(&sink, &closed), "out.$$$");
  for (const std::string& line : lines) writer.WriteLine(line);
  writer.Close();
  EXPECT_TRUE(closed);
  return sink;
}

TEST(LineWriter, EveryLineEndsWithCrLf) {
  EXPECT_EQ(WriteAll({}), "");
  EXPECT_EQ(WriteAll({""}), "\r\n");
  EXPECT_EQ(WriteAll({"a", "", "b"}), "a\r\n\r\nb\r\n");
  // A value holding CR LF becomes two lines of the file.
  EXPECT_EQ(WriteAll({"one\r\ntwo"}), "one\r\ntwo\r\n");
  EXPECT_EQ(WriteAll({std::string("\0\x1a", 2)}), std::string("\0\x1a\r\n", 4));
}

TEST(LineWriter, LongLinesAndManyLinesComeOutWhole) {
  const std::string huge(2 * kBuffer + 5, 'q');
  EXPECT_EQ(WriteAll({"head", huge, "tail"}), "head\r\n" + huge + "\r\ntail\r\n");
  EXPECT_EQ(WriteAll({std::string(kBuffer - 2, 'b')}), std::string(kBuffer - 2, 'b') + "\r\n");

  Lines many;
  std::string expected;
  for (int i = 0; i < 20000; ++i) {
    many.push_back("line " + std::to_string(i));
    expected += many.back() + "\r\n";
  }
  EXPECT_EQ(WriteAll(many), expected);
}

TEST(FileNamePart, TextAfterLastSeparator) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"src\\main.c", "main.c"}, {"a/b/c.h", "c.h"}, {"C:x.c", "x.c"},
      {"plain.c", "plain.c"},    {"dir/", ""},       {"a\\b/c:d.e", "d.e"},
      {"a/b\\c", "c"},           {"", ""},           {"/abs/path/file", "file"},
  };
  for (const auto& [path, part] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(FileNamePart(path), part);
  }
}

TEST(TempFileName, ExtensionReplacedOrAppended) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"src\\main.c", "src\\main.$$$"},
      {"Makefile", "Makefile.$$$"},
      {"lib.d/Makefile", "lib.d/Makefile.$$$"},
      {"data.tar.gz", "data.tar.$$$"},
      {"file.", "file.$$$"},
      {"src\\.project", "src\\.$$$"},
      {"x.$$$", "x.$$$"},
      {"/tmp/q.d/src/main.c", "/tmp/q.d/src/main.$$$"},
      {"C:name", "C:name.$$$"},
  };
  for (const auto& [path, temp] : cases) {
    SCOPED_TRACE(path);
    EXPECT_EQ(TempFileName(path), temp);
  }
}

}  // namespace
}  // namespace quillet::testing
