// A platform for in-process tests: the real file system underneath, with a
// fixed clock and date locale, standard output captured, and failures
// injected into chosen operations (so that they fail even for root).
#pragma once

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/posix_platform.h"

namespace quillet::testing {

enum class Op { kStdout, kOpenRead, kRead, kCreate, kWrite, kClose, kRename, kReadWhole, kListDir };

struct Fault {
  Op op;
  std::string path_suffix;  // the operation's path must end with this ("" = any)
  int err;                  // the errno to return
  size_t after_bytes = 0;   // for kRead, kWrite and kStdout: fail once this many went through
};

class FakePlatform : public Platform {
 public:
  FakePlatform();
  ~FakePlatform() override;  // restores the real platform

  void AddFault(Fault fault) { faults_.push_back(std::move(fault)); }
  void SetToday(LocalDate date) { today_ = date; }
  void SetDateLocale(DateLocale locale) { locale_ = std::move(locale); }
  const std::string& out() const { return out_; }

  int WriteStdout(std::string_view bytes) override;
  FileKind Stat(const std::string& path) override { return real_.Stat(path); }
  int OpenRead(const std::string& path, std::unique_ptr<SequentialFile>* file) override;
  int ReadWholeFile(const std::string& path, std::string* contents) override;
  int InspectSource(const std::string& path, SourceFile* source) override {
    return real_.InspectSource(path, source);
  }
  int CreateLike(const std::string& path, const SourceFile& model,
                 std::unique_ptr<WritableFile>* file) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Remove(const std::string& path) override { return real_.Remove(path); }
  bool SameFile(const std::string& a, const std::string& b) override {
    return real_.SameFile(a, b);
  }
  int ListDir(const std::string& dir, std::vector<DirEntry>* entries) override;
  LocalDate Today() override { return today_; }
  const DateLocale& UserDateLocale() override { return locale_; }

  // The fault for `op` on `path`, or nullptr.
  const Fault* FaultFor(Op op, const std::string& path) const;

 private:
  PosixPlatform real_;
  std::vector<Fault> faults_;
  LocalDate today_{2025, 12, 9, 2};
  DateLocale locale_;
  std::string out_;
};

// The English day and month names of the C locale, no user locale set.
DateLocale CLocaleDateNames();

// Runs the application in-process with these arguments on the current platform.
void RunInProcess(const std::vector<std::string>& args);

}  // namespace quillet::testing
