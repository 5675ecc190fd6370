// Helpers for end-to-end tests: a scratch directory and a run of the built
// quillet binary inside it.
#pragma once

#include <string>
#include <vector>

namespace quillet::testing {

// A fresh directory below the system's temporary folder, removed afterwards.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string Path(const std::string& relative) const { return path_ + "/" + relative; }
  // Writes bytes exactly, making parent directories as needed.
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;
  void MakeDir(const std::string& relative) const;
  // Names in the directory (not recursive), sorted.
  std::vector<std::string> List(const std::string& relative = ".") const;

 private:
  std::string path_;
};

struct RunResult {
  std::string out;  // standard output, byte for byte
  int exit_code = -1;
  int term_signal = 0;
};

struct RunOptions {
  std::vector<std::string> env;  // extra "NAME=value" entries; LC_ALL=C unless given
  std::string stdout_path;       // when set, standard output goes to this file
  long file_size_limit = 0;      // when set, RLIMIT_FSIZE in bytes, with SIGXFSZ ignored
};

// A run in the background, for tests that interrupt it.
struct RunningQuillet {
  int pid = -1;
  int stdout_fd = -1;
};
RunningQuillet StartQuillet(const std::vector<std::string>& args, const std::string& cwd,
                            const RunOptions& options = {});
// Reads the rest of its output and waits for it to end.
RunResult FinishQuillet(RunningQuillet running);

// Runs the quillet binary with `args` in directory `cwd`.
RunResult RunQuillet(const std::vector<std::string>& args, const std::string& cwd,
                     const RunOptions& options = {});

// Opens the FIFO for writing in a child process and writes `bytes`, so that a
// program that wrongly reads the FIFO gets data and an end instead of hanging.
// The child waits in open() while nobody reads; StopFeeder ends it.
int FeedFifo(const std::string& path, const std::string& bytes);
void StopFeeder(int pid);

// True when `text` is exactly the frame's error report for `message`:
// "exception at " + 8 upper-case hex digits + ":" LF + message + LF.
bool IsReport(const std::string& text, const std::string& message);

// The banner lines of the binary: the empty line, name line and notice line.
std::string BannerText();
// The help screen of the binary, every line ended by "\n".
std::string HelpText();

}  // namespace quillet::testing
