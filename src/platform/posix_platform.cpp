#include "platform/posix_platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <langinfo.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <clocale>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace quillet {
namespace {

// The temporary file in progress, removed by an interrupting signal so that a
// stopped run leaves the source as it was and nothing beside it.
char* volatile g_pending_temp = nullptr;

void RemovePendingTempAndDie(int sig) {
  char* path = g_pending_temp;
  if (path != nullptr) unlink(path);
  signal(sig, SIG_DFL);
  raise(sig);
}

void WatchTemp(const std::string& path) {
  char* copy = strdup(path.c_str());
  g_pending_temp = copy;
}

void ForgetTemp() {
  char* old = g_pending_temp;
  g_pending_temp = nullptr;
  free(old);
}

bool IsPendingTemp(const std::string& path) {
  return g_pending_temp != nullptr && path == g_pending_temp;
}

// Holds SIGINT and SIGTERM back while the watch of the temporary file changes,
// so that no signal finds a file created but not yet watched.
class InterruptBlock {
 public:
  InterruptBlock() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGHUP);
    sigprocmask(SIG_BLOCK, &set, &old_);
  }
  ~InterruptBlock() { sigprocmask(SIG_SETMASK, &old_, nullptr); }

 private:
  sigset_t old_;
};

void InstallSignalHandlers() {
  // A closed pipe must be an ordinary write error, not a silent death with a
  // temporary file left behind.
  signal(SIGPIPE, SIG_IGN);
  struct sigaction action {};
  action.sa_handler = RemovePendingTempAndDie;
  sigemptyset(&action.sa_mask);
  for (int sig : {SIGINT, SIGTERM, SIGHUP}) sigaction(sig, &action, nullptr);
}

int WriteAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    ssize_t done = write(fd, data, n);
    if (done < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += done;
    n -= static_cast<size_t>(done);
  }
  return 0;
}

class PosixSequentialFile : public SequentialFile {
 public:
  explicit PosixSequentialFile(int fd) : fd_(fd) {}
  ~PosixSequentialFile() override { close(fd_); }

  int Read(char* buf, size_t n, size_t* got) override {
    for (;;) {
      ssize_t done = read(fd_, buf, n);
      if (done >= 0) {
        *got = static_cast<size_t>(done);
        return 0;
      }
      if (errno != EINTR) return errno;
    }
  }

 private:
  int fd_;
};

class PosixWritableFile : public WritableFile {
 public:
  explicit PosixWritableFile(int fd) : fd_(fd) {}
  ~PosixWritableFile() override {
    if (fd_ >= 0) close(fd_);
  }

  int Append(const char* data, size_t n) override { return WriteAll(fd_, data, n); }

  int Close() override {
    int fd = fd_;
    fd_ = -1;
    return close(fd) == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

int OpenForReading(const std::string& path, int* fd) {
  do {
    *fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  } while (*fd < 0 && errno == EINTR);
  return *fd < 0 ? errno : 0;
}

FileKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return FileKind::kRegular;
  if (S_ISDIR(mode)) return FileKind::kDirectory;
  return FileKind::kOther;
}

FileKind KindOfDirent(const std::string& dir, const dirent* entry) {
  switch (entry->d_type) {
    case DT_REG: return FileKind::kRegular;
    case DT_DIR: return FileKind::kDirectory;
    case DT_UNKNOWN: break;
    default: return FileKind::kOther;
  }
  // Only some file systems leave the type open; ask them without following links.
  struct stat info;
  std::string path = dir + "/" + entry->d_name;
  if (lstat(path.c_str(), &info) != 0) return FileKind::kMissing;
  return KindOfMode(info.st_mode);
}

bool IsUnsetLocaleName(const char* name) {
  if (name == nullptr) return true;
  std::string_view n(name);
  return n == "C" || n == "POSIX" || n.starts_with("C.") || n.starts_with("POSIX.");
}

DateLocale ReadDateLocale() {
  DateLocale result;
  const char* name = setlocale(LC_TIME, "");
  result.user_locale = !IsUnsetLocaleName(name);
  result.short_format = nl_langinfo(D_FMT);
  static const nl_item kAbDay[7] = {ABDAY_1, ABDAY_2, ABDAY_3, ABDAY_4, ABDAY_5, ABDAY_6, ABDAY_7};
  static const nl_item kDay[7] = {DAY_1, DAY_2, DAY_3, DAY_4, DAY_5, DAY_6, DAY_7};
  static const nl_item kAbMon[12] = {ABMON_1, ABMON_2, ABMON_3, ABMON_4,  ABMON_5,  ABMON_6,
                                     ABMON_7, ABMON_8, ABMON_9, ABMON_10, ABMON_11, ABMON_12};
  static const nl_item kMon[12] = {MON_1, MON_2, MON_3, MON_4,  MON_5,  MON_6,
                                   MON_7, MON_8, MON_9, MON_10, MON_11, MON_12};
  for (int i = 0; i < 7; ++i) {
    result.abbreviated_days[i] = nl_langinfo(kAbDay[i]);
    result.full_days[i] = nl_langinfo(kDay[i]);
  }
  for (int i = 0; i < 12; ++i) {
    result.abbreviated_months[i] = nl_langinfo(kAbMon[i]);
    result.full_months[i] = nl_langinfo(kMon[i]);
  }
  return result;
}

}  // namespace

PosixPlatform::PosixPlatform()
    : date_locale_(ReadDateLocale()), umask_(umask(0)), euid_(geteuid()), egid_(getegid()) {
  umask(umask_);
  InstallSignalHandlers();
}

int PosixPlatform::WriteStdout(std::string_view bytes) {
  return WriteAll(STDOUT_FILENO, bytes.data(), bytes.size());
}

FileKind PosixPlatform::Stat(const std::string& path) {
  struct stat info;
  if (path.empty() || stat(path.c_str(), &info) != 0) return FileKind::kMissing;
  return KindOfMode(info.st_mode);
}

int PosixPlatform::OpenRead(const std::string& path, std::unique_ptr<SequentialFile>* file) {
  int fd;
  if (int err = OpenForReading(path, &fd)) return err;
  *file = std::make_unique<PosixSequentialFile>(fd);
  return 0;
}

int PosixPlatform::ReadWholeFile(const std::string& path, std::string* contents) {
  std::unique_ptr<SequentialFile> file;
  if (int err = OpenRead(path, &file)) return err;
  contents->clear();
  char buf[65536];
  for (;;) {
    size_t got = 0;
    if (int err = file->Read(buf, sizeof buf, &got)) return err;
    if (got == 0) return 0;
    contents->append(buf, got);
  }
}

int PosixPlatform::InspectSource(const std::string& path, SourceFile* source) {
  struct stat info;
  if (lstat(path.c_str(), &info) != 0) return errno;
  source->target = path;
  if (S_ISLNK(info.st_mode)) {
    char* resolved = realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return errno;
    source->target = resolved;
    free(resolved);
    if (stat(source->target.c_str(), &info) != 0) return errno;
  }
  source->mode = info.st_mode & 07777;
  source->uid = info.st_uid;
  source->gid = info.st_gid;
  // Root may write anything; the bits still say the user wants it left alone.
  source->writable =
      (info.st_mode & 0222) != 0 && (euid_ == 0 || access(source->target.c_str(), W_OK) == 0);
  return 0;
}

int PosixPlatform::CreateLike(const std::string& path, const SourceFile& model,
                              std::unique_ptr<WritableFile>* file) {
  InterruptBlock block;
  int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, model.mode & 0777);
  if (fd < 0) return errno;
  WatchTemp(path);
  int err = 0;
  // Only what creation did not already give is set again: the umask may have
  // narrowed the bits, and root keeps the source's owner.
  bool other_owner = euid_ == 0 && (model.uid != euid_ || model.gid != egid_);
  if (other_owner && fchown(fd, model.uid, model.gid) != 0) err = errno;
  // open() gives at most the 0777 bits, less the umask; set-id and sticky bits need fchmod.
  unsigned given = model.mode & 0777 & ~static_cast<unsigned>(umask_);
  if (err == 0 && (given != model.mode || other_owner) && fchmod(fd, model.mode) != 0) err = errno;
  if (err != 0) {
    close(fd);
    unlink(path.c_str());
    ForgetTemp();
    return err;
  }
  *file = std::make_unique<PosixWritableFile>(fd);
  return 0;
}

// A signal after the rename finds the temporary name gone, and one before it
// removes the temporary file: neither needs the signals held back.
int PosixPlatform::Rename(const std::string& from, const std::string& to) {
  int err = rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
  if (err == 0 && IsPendingTemp(from)) ForgetTemp();
  return err;
}

int PosixPlatform::Remove(const std::string& path) {
  int err = unlink(path.c_str()) == 0 ? 0 : errno;
  if (IsPendingTemp(path)) ForgetTemp();
  return err;
}

bool PosixPlatform::SameFile(const std::string& a, const std::string& b) {
  struct stat sa, sb;
  if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
  return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

int PosixPlatform::ListDir(const std::string& dir, std::vector<DirEntry>* entries) {
  entries->clear();
  DIR* handle = opendir(dir.c_str());
  if (handle == nullptr) return errno;
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(handle);
    if (entry == nullptr) break;
    std::string_view name(entry->d_name);
    if (name == "." || name == "..") continue;
    entries->push_back({std::string(name), KindOfDirent(dir, entry)});
  }
  int err = errno;
  closedir(handle);
  // readdir's order differs between file systems; sorted names make runs reproducible.
  std::sort(entries->begin(), entries->end(),
            [](const DirEntry& a, const DirEntry& b) { return a.name < b.name; });
  return err;
}

LocalDate PosixPlatform::Today() {
  time_t now = time(nullptr);
  struct tm local;
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday};
}

const DateLocale& PosixPlatform::UserDateLocale() { return date_locale_; }

}  // namespace quillet
