#include "run_binary.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <unistd.h>
#include <csignal>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace quillet::testing {
namespace fs = std::filesystem;

TempDir::TempDir() {
  std::string pattern = (fs::temp_directory_path() / "quillet-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ec;
  fs::remove_all(path_, ec);
}

void TempDir::Write(const std::string& relative, const std::string& bytes) const {
  fs::path p = Path(relative);
  fs::create_directories(p.parent_path());
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + p.string());
}

std::string TempDir::Read(const std::string& relative) const {
  std::ifstream in(Path(relative), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + relative);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

bool TempDir::Exists(const std::string& relative) const {
  std::error_code ec;
  return fs::symlink_status(Path(relative), ec).type() != fs::file_type::not_found;
}

void TempDir::MakeDir(const std::string& relative) const { fs::create_directories(Path(relative)); }

std::vector<std::string> TempDir::List(const std::string& relative) const {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(Path(relative))) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

RunningQuillet StartQuillet(const std::vector<std::string>& args, const std::string& cwd,
                            const RunOptions& options) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  pid_t pid = fork();
  if (pid == 0) {
    if (chdir(cwd.c_str()) != 0) _exit(127);
    if (options.stdout_path.empty()) {
      dup2(pipe_fds[1], STDOUT_FILENO);
    } else {
      int fd = open(options.stdout_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
      dup2(fd, STDOUT_FILENO);
    }
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    if (options.file_size_limit > 0) {
      struct rlimit limit {};
      limit.rlim_cur = limit.rlim_max = static_cast<rlim_t>(options.file_size_limit);
      setrlimit(RLIMIT_FSIZE, &limit);
      signal(SIGXFSZ, SIG_IGN);
    }
    setenv("LC_ALL", "C", 1);
    for (const std::string& entry : options.env) putenv(const_cast<char*>(entry.c_str()));
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>("quillet"));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(QUILLET_BINARY, argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  return {pid, pipe_fds[0]};
}

RunResult FinishQuillet(RunningQuillet running) {
  RunResult result;
  char buf[65536];
  ssize_t got;
  while ((got = read(running.stdout_fd, buf, sizeof buf)) > 0) result.out.append(buf, got);
  close(running.stdout_fd);
  int status = 0;
  waitpid(running.pid, &status, 0);
  if (WIFEXITED(status)) result.exit_code = WEXITSTATUS(status);
  if (WIFSIGNALED(status)) result.term_signal = WTERMSIG(status);
  return result;
}

RunResult RunQuillet(const std::vector<std::string>& args, const std::string& cwd,
                     const RunOptions& options) {
  return FinishQuillet(StartQuillet(args, cwd, options));
}

int FeedFifo(const std::string& path, const std::string& bytes) {
  pid_t pid = fork();
  if (pid == 0) {
    int fd = open(path.c_str(), O_WRONLY);
    if (fd >= 0) {
      ssize_t ignored = write(fd, bytes.data(), bytes.size());
      (void)ignored;
      close(fd);
    }
    _exit(0);
  }
  return pid;
}

void StopFeeder(int pid) {
  if (pid <= 0) return;
  kill(pid, SIGKILL);
  waitpid(pid, nullptr, 0);
}

bool IsReport(const std::string& text, const std::string& message) {
  const std::string head = "exception at ";
  if (text.size() != head.size() + 8 + 2 + message.size() + 1) return false;
  if (text.compare(0, head.size(), head) != 0) return false;
  for (size_t i = head.size(); i < head.size() + 8; ++i) {
    char c = text[i];
    if (!std::isdigit(static_cast<unsigned char>(c)) && !(c >= 'A' && c <= 'F')) return false;
  }
  return text.substr(head.size() + 8) == ":\n" + message + "\n";
}

std::string BannerText() {
  return "\nquillet Version 1.5.00 - 2020/03/01\n"
         "Quillet stamps your source files with your project's header.\n";
}

std::string HelpText() {
  return "Usage: quillet (options) \n"
         " -h or --help displays this help\n"
         " -c or --config=<filename> config filename\n"
         " -f or --file=<filename> filename to proceed\n"
         " -r or --recursive=<directory> directory to explore\n"
         " -v or --verbose to enable others informations \n"
         "\n"
         "Languages available are :\n"
         "--------------------------\n"
         "C files (*.c;*.h)\t\t\tLanguage identifier = \"c\".\n"
         "Pascal files (*.pas;*.inc;*.lpr)\tLanguage identifier = \"pascal\".\n"
         "Basic files (*.bas)\t\t\tLanguage identifier = \"basic\".\n"
         "Batch files (*.bat)\t\t\tLanguage identifier = \"batch\".\n"
         "Shell files (*.sh)\t\t\tLanguage identifier = \"shell\".\n"
         "Arduino files (*.ino;*.cpp;*.h)\t\tLanguage identifier = \"arduino\".\n"
         "\n"
         "Flags available are :\n"
         "--------------------------\n"
         "$ADD_HEADER$\t\t\t\tcompletes the header\n"
         "$PROJECT_NAME$\t\t\t\tsets the name of the project.\n"
         "$PROJECT_BRIEF$\t\t\t\tsets the brief description of the project.\n"
         "$PROJECT_VER$\t\t\t\tsets the version of the project.\n"
         "$AUTHOR$\t\t\t\tsets the author.\n"
         "$DATE$\t\t\t\t\tsets the date.\n"
         "$MONTH$\t\t\t\t\tsets the month in 3 caracters format.\n"
         "$YEAR$\t\t\t\t\tsets the year.\n"
         "$FILE_NAME$\t\t\t\tsets the filename.\n"
         "$FILE_NAME_EXT$\t\t\t\tsets the filename with path.\n"
         "$USER_1$\t\t\t\tsets the 1st user text.\n"
         "$USER_2$\t\t\t\tsets the 2nd user text.\n"
         "$USER_3$\t\t\t\tsets the 3rd user text.\n"
         "$USER_4$\t\t\t\tsets the 4th user text.\n"
         "$LICENCE$\t\t\t\tsets the licence(% for CRLF).\n"
         "$EXTERN_FILE$\t\t\t\tadds an external file.\n"
         "\n"
         "Happy coding :-)\n";
}

}  // namespace quillet::testing
