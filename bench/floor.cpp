// The I/O floor of a stamping run: for each C source, read it, write the
// same bytes to a temporary file beside it and rename that over the source.
// Nothing else, so the time it takes is what any in-place rewrite must pay.
//
//   quillet_floor DIR           every *.c and *.h below DIR (links not followed)
//   quillet_floor --list FILE   the paths in FILE, one a line
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr size_t kBufferSize = 256 * 1024;

bool IsSource(const char* name) {
  size_t n = std::strlen(name);
  return n > 2 && name[n - 2] == '.' && (name[n - 1] == 'c' || name[n - 1] == 'h');
}

void Walk(const std::string& dir, std::vector<std::string>* out) {
  DIR* d = opendir(dir.c_str());
  if (d == nullptr) {
    std::perror(dir.c_str());
    return;
  }
  while (dirent* e = readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    std::string path = dir + "/" + e->d_name;
    unsigned char type = e->d_type;
    if (type == DT_UNKNOWN) {
      struct stat st;
      if (lstat(path.c_str(), &st) != 0) continue;
      type = S_ISDIR(st.st_mode) ? DT_DIR : S_ISREG(st.st_mode) ? DT_REG : DT_LNK;
    }
    if (type == DT_DIR) {
      Walk(path, out);
    } else if (type == DT_REG && IsSource(e->d_name)) {
      out->push_back(std::move(path));
    }
  }
  closedir(d);
}

std::string TempName(const std::string& path) {
  size_t dot = path.find_last_of("./");
  if (dot != std::string::npos && path[dot] == '.') return path.substr(0, dot) + ".$$$";
  return path + ".$$$";
}

bool WriteAll(int fd, const char* data, size_t n) {
  while (n > 0) {
    ssize_t w = write(fd, data, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += w;
    n -= static_cast<size_t>(w);
  }
  return true;
}

bool Rewrite(const std::string& path, std::vector<char>& buffer) {
  int in = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (in < 0) return false;
  struct stat st;
  if (fstat(in, &st) != 0) {
    close(in);
    return false;
  }
  std::string temp = TempName(path);
  int out = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, st.st_mode & 07777);
  if (out < 0) {
    close(in);
    return false;
  }
  bool ok = true;
  for (;;) {
    ssize_t got = read(in, buffer.data(), buffer.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    if (!WriteAll(out, buffer.data(), static_cast<size_t>(got))) {
      ok = false;
      break;
    }
  }
  close(in);
  if (close(out) != 0) ok = false;
  if (ok && rename(temp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  if (argc == 3 && std::strcmp(argv[1], "--list") == 0) {
    std::ifstream list(argv[2]);
    for (std::string line; std::getline(list, line);) {
      if (!line.empty()) files.push_back(line);
    }
  } else if (argc == 2) {
    Walk(argv[1], &files);
  } else {
    std::fprintf(stderr, "usage: %s DIR | --list FILE\n", argv[0]);
    return 2;
  }
  std::vector<char> buffer(kBufferSize);
  size_t failed = 0;
  for (const std::string& f : files) {
    if (!Rewrite(f, buffer)) {
      std::fprintf(stderr, "%s: %s\n", f.c_str(), std::strerror(errno));
      ++failed;
    }
  }
  std::printf("%zu files, %zu failed\n", files.size(), failed);
  return failed == 0 ? 0 : 1;
}
