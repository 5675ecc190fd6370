// Micro-benchmarks of the two inner loops of a run: the flag replacement of
// one line and the line reader. Copying a line is timed beside them, since a
// line without "$" should cost no more than that.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>

#include "gest_project.h"
#include "text_lines.h"

namespace {

quillet::Tprojet Project() {
  quillet::Tprojet p;
  p.PROJECT_NAME = "Bench Project";
  p.PROJECT_BRIEF = "A generated tree to time the stamping of sources";
  p.PROJECT_VERSION = "2.4.1";
  p.AUTHOR = "Bench Author";
  p.USERSTR[1] = "Team Bench";
  p.USERSTR[2] = "bench@example.org";
  p.USERSTR[3] = "internal";
  p.USERSTR[4] = "rev B";
  p.LICENCE = "MIT|SPDX-License-Identifier: MIT%Copyright (c) 2025 Bench Author";
  p.FILENAME = "tree/d03/s001/f01234.c";
  return p;
}

const std::string kPlain = "    for (size_t i = 0; i < count_length; ++i) value += buffer[i];";
const std::string kOneFlag = "/* Part of the benchmark tree, file $FILE_NAME$, kept as is */";
const std::string kShell =
    " *   $ for f in $(find $SRC -name x); do cc $CFLAGS -c $f -o ${f%.c}.o $@; done $$ $1";
const std::string kTemplate = " * $PROJECT_NAME$ $PROJECT_VER$ - $FILE_NAME$ by $AUTHOR$ on $DATE$";

void TraiteLigne(benchmark::State& state, const std::string& line) {
  const quillet::Tprojet p = Project();
  for (auto _ : state) {
    std::string out = quillet::TRAITE_LIGNE(line, 0, p);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * line.size()));
}

void BM_CopyLine(benchmark::State& state) {
  for (auto _ : state) {
    std::string out = kPlain;
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kPlain.size()));
}
BENCHMARK(BM_CopyLine);

void BM_TraiteLigne_NoDollar(benchmark::State& s) { TraiteLigne(s, kPlain); }
void BM_TraiteLigne_OneFlag(benchmark::State& s) { TraiteLigne(s, kOneFlag); }
void BM_TraiteLigne_ShellTenDollarsNoFlag(benchmark::State& s) { TraiteLigne(s, kShell); }
void BM_TraiteLigne_TemplateFiveFlags(benchmark::State& s) { TraiteLigne(s, kTemplate); }
BENCHMARK(BM_TraiteLigne_NoDollar);
BENCHMARK(BM_TraiteLigne_OneFlag);
BENCHMARK(BM_TraiteLigne_ShellTenDollarsNoFlag);
BENCHMARK(BM_TraiteLigne_TemplateFiveFlags);

// Hands out a buffer in reads of the size a file would give.
class MemoryFile : public quillet::SequentialFile {
 public:
  explicit MemoryFile(const std::string* data) : data_(data) {}
  int Read(char* buf, size_t n, size_t* got) override {
    *got = std::min(n, data_->size() - pos_);
    std::memcpy(buf, data_->data() + pos_, *got);
    pos_ += *got;
    return 0;
  }

 private:
  const std::string* data_;
  size_t pos_ = 0;
};

// About 1 MB of lines of the given length, LF or CR LF ended.
std::string Text(size_t line_length, const char* end) {
  std::string line(line_length, 'x');
  std::string text;
  while (text.size() < (1u << 20)) text += line + end;
  return text;
}

void ReadLines(benchmark::State& state, const std::string& text) {
  std::string line;
  for (auto _ : state) {
    quillet::LineReader reader(std::make_unique<MemoryFile>(&text), "mem", 0);
    size_t lines = 0;
    while (reader.Next(&line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}

void BM_LineReader_Lf40(benchmark::State& s) {
  static const std::string text = Text(40, "\n");
  ReadLines(s, text);
}
void BM_LineReader_CrLf40(benchmark::State& s) {
  static const std::string text = Text(40, "\r\n");
  ReadLines(s, text);
}
void BM_LineReader_Lf4000(benchmark::State& s) {
  static const std::string text = Text(4000, "\n");
  ReadLines(s, text);
}
void BM_LineReader_OneMegabyteLine(benchmark::State& s) {
  static const std::string text = std::string(1u << 20, 'x');
  ReadLines(s, text);
}
BENCHMARK(BM_LineReader_Lf40);
BENCHMARK(BM_LineReader_CrLf40);
BENCHMARK(BM_LineReader_Lf4000);
BENCHMARK(BM_LineReader_OneMegabyteLine);

}  // namespace

BENCHMARK_MAIN();
