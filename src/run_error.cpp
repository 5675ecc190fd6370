#include "run_error.h"

#include <cerrno>
#include <cstdio>

#include "platform/platform.h"

namespace quillet {

int FileErrorCode(int errnum, bool dir_missing) {
  switch (errnum) {
    case ENOENT: return dir_missing ? 3 : 2;
    case EMFILE:
    case ENFILE: return 4;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EEXIST:
    case EROFS:
    case EBUSY:
    case ENOTEMPTY:
    case ETXTBSY: return 5;
    case EBADF: return 6;
    case ENOSPC:
    case EDQUOT: return 101;
    default: return 0;
  }
}

std::string FileErrorMessage(int code) {
  switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "Access denied";
    case 6: return "Invalid file handle";
    case 100: return "Read past end of file";
    case 101: return "Disk Full";
    case 102: return "File not assigned";
    case 103: return "File not open";
    case 105: return "File not open for output";
    case 106: return "Invalid input";
    default: return UnknownErrorMessage(code);
  }
}

std::string UnknownErrorMessage(int number) {
  char text[48];
  std::snprintf(text, sizeof text, "Unknown Run-Time error : %3.3d", number);
  return text;
}

namespace {
std::string DirectoryPart(const std::string& path) {
  size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}
}  // namespace

void RaiseFileError(uint32_t location, int errnum, const std::string& path) {
  bool dir_missing = errnum == ENOENT && !path.empty() &&
                     CurrentPlatform().Stat(DirectoryPart(path)) != FileKind::kDirectory;
  int code = FileErrorCode(errnum, dir_missing);
  // An errno without a code of its own is shown by its own number.
  throw RunError(location, code != 0 ? FileErrorMessage(code) : UnknownErrorMessage(errnum));
}

}  // namespace quillet
