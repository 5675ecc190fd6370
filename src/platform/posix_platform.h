#pragma once

#include <sys/types.h>

#include "platform/platform.h"

namespace quillet {

// The Linux implementation: the only code in Quillet that makes system calls.
class PosixPlatform : public Platform {
 public:
  PosixPlatform();

  int WriteStdout(std::string_view bytes) override;
  FileKind Stat(const std::string& path) override;
  int OpenRead(const std::string& path, std::unique_ptr<SequentialFile>* file) override;
  int ReadWholeFile(const std::string& path, std::string* contents) override;
  int InspectSource(const std::string& path, SourceFile* source) override;
  int CreateLike(const std::string& path, const SourceFile& model,
                 std::unique_ptr<WritableFile>* file) override;
  int Rename(const std::string& from, const std::string& to) override;
  int Remove(const std::string& path) override;
  bool SameFile(const std::string& a, const std::string& b) override;
  int ListDir(const std::string& dir, std::vector<DirEntry>* entries) override;
  LocalDate Today() override;
  const DateLocale& UserDateLocale() override;

 private:
  DateLocale date_locale_;
  mode_t umask_;
  uid_t euid_;
  gid_t egid_;
};

}  // namespace quillet
