// The one seam between Quillet and the operating system. Everything that
// touches files, the console, the clock or the locale goes through here, so
// tests can swap in a platform that injects failures.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// What a path names. Links are followed by Stat, never by ListDir.
enum class FileKind { kMissing, kRegular, kDirectory, kOther };

struct DirEntry {
  std::string name;
  FileKind kind;  // a symbolic link is kOther: the search never follows it
};

struct LocalDate {
  int year;
  int month;    // 1..12
  int day;      // 1..31
  int weekday;  // 0 = Sunday
};

// The user's date conventions. `user_locale` is false when no locale is set
// (C or POSIX), and then the fixed fallback format is used.
struct DateLocale {
  bool user_locale = false;
  std::string short_format;  // strftime style, as the locale gives it
  std::string abbreviated_days[7];
  std::string full_days[7];
  std::string abbreviated_months[12];
  std::string full_months[12];
};

// What rewriting a source needs to know of it.
struct SourceFile {
  std::string target;  // the file a chain of symbolic links ends at; the path itself otherwise
  unsigned mode = 0;   // permission bits
  unsigned uid = 0;
  unsigned gid = 0;
  // False when the permission bits grant no write access or the user may not
  // write the file.
  bool writable = false;
};

// Every operation returns 0 or an errno value.
class SequentialFile {
 public:
  virtual ~SequentialFile() = default;
  // Reads up to n bytes; *got == 0 means end of file.
  virtual int Read(char* buf, size_t n, size_t* got) = 0;
};

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual int Append(const char* data, size_t n) = 0;
  virtual int Close() = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  virtual int WriteStdout(std::string_view bytes) = 0;

  virtual FileKind Stat(const std::string& path) = 0;
  virtual int OpenRead(const std::string& path, std::unique_ptr<SequentialFile>* file) = 0;
  virtual int ReadWholeFile(const std::string& path, std::string* contents) = 0;
  virtual int InspectSource(const std::string& path, SourceFile* source) = 0;
  // Creates `path`, which must not exist yet, with the permission bits (and,
  // for root, the owner) of `model`. While it exists, an interrupting signal
  // removes it before the process ends; Rename and Remove end that watch.
  virtual int CreateLike(const std::string& path, const SourceFile& model,
                         std::unique_ptr<WritableFile>* file) = 0;
  virtual int Rename(const std::string& from, const std::string& to) = 0;
  virtual int Remove(const std::string& path) = 0;
  // True when both paths name one existing file.
  virtual bool SameFile(const std::string& a, const std::string& b) = 0;
  // Entries of a directory, "." and ".." left out, in ascending byte order.
  virtual int ListDir(const std::string& dir, std::vector<DirEntry>* entries) = 0;

  virtual LocalDate Today() = 0;
  virtual const DateLocale& UserDateLocale() = 0;
};

// The platform the program runs on; tests replace it.
Platform& CurrentPlatform();
void SetCurrentPlatform(Platform* platform);  // nullptr restores the real one

}  // namespace quillet
