// Runs a command and writes its wall, user and system seconds and its peak
// resident set (KB) on one line, with microsecond resolution: GNU time's
// hundredths are too coarse for the short runs of a small tree.
//
//   quillet_rusage OUTFILE COMMAND [ARGS...]
//
// The times and the peak include every descendant the command waited for, so
// a shell or xargs in front of the real program is counted with it.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace {
double Seconds(const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; }
}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s OUTFILE COMMAND [ARGS...]\n", argv[0]);
    return 2;
  }
  auto start = std::chrono::steady_clock::now();
  pid_t pid = fork();
  if (pid < 0) {
    std::perror("fork");
    return 2;
  }
  if (pid == 0) {
    execvp(argv[2], argv + 2);
    std::fprintf(stderr, "%s: %s\n", argv[2], std::strerror(errno));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  while (wait4(pid, &status, 0, &usage) < 0) {
    if (errno != EINTR) {
      std::perror("wait4");
      return 2;
    }
  }
  double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::FILE* out = std::fopen(argv[1], "w");
  if (out == nullptr) {
    std::perror(argv[1]);
    return 2;
  }
  std::fprintf(out, "%.6f %.6f %.6f %ld\n", wall, Seconds(usage.ru_utime), Seconds(usage.ru_stime),
               usage.ru_maxrss);
  std::fclose(out);
  if (WIFEXITED(status)) return WEXITSTATUS(status);
  return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}
