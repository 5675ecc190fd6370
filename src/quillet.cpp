#include "quillet.h"

#include "console.h"
#include "gest_project.h"
#include "language_mgt.h"
#include "platform/platform.h"
#include "versionunit.h"

namespace quillet {

Tconfig CONFIG;

namespace {
const char* const kDefaultDescription = "Project_desc.cfg";
const std::vector<std::string> kLongOptions = {"help", "verbose", "config:", "file:", "recursive:"};

bool NamesExistingFile(const std::string& path) {
  return !path.empty() && CurrentPlatform().Stat(path) == FileKind::kRegular;
}

void PrintList(const TStringList& lines) {
  for (const std::string& line : lines) WriteConsoleLine(line);
}
}  // namespace

TMyApplication::TMyApplication(std::vector<std::string> args, std::string executable_path)
    : ConsoleApplication(std::move(args), std::move(executable_path)) {
  SetStopOnException(true);
  InitShortDateFormat();
}

TMyApplication::~TMyApplication() { PROJECT_DESC_FREE(); }

void TMyApplication::BANNER() {
  WriteConsoleLine(ExeName() + " Version " + VERSION_STRING() + " - " + VERSION_DATE());
  WriteConsoleLine("Quillet stamps your source files with your project's header.");
}

void TMyApplication::WriteHelp() {
  TStringList LISTE;
  WriteConsoleLine("Usage: " + ExeName() + " (options) ");
  WriteConsoleLine(" -h or --help displays this help");
  WriteConsoleLine(" -c or --config=<filename> config filename");
  WriteConsoleLine(" -f or --file=<filename> filename to proceed");
  WriteConsoleLine(" -r or --recursive=<directory> directory to explore");
  WriteConsoleLine(" -v or --verbose to enable others informations ");
  WriteConsoleLine("");
  WriteConsoleLine("Languages available are :");
  WriteConsoleLine("--------------------------");
  GET_LANGUAGE_NAME(LISTE);
  PrintList(LISTE);
  WriteConsoleLine("");
  LISTE.clear();
  WriteConsoleLine("Flags available are :");
  WriteConsoleLine("--------------------------");
  GET_FLAGS_NAME(LISTE);
  PrintList(LISTE);
  WriteConsoleLine("");
  WriteConsoleLine("Happy coding :-)");
}

void TMyApplication::DoRun() {
  // Every path ends the run; an error raised below ends it through the frame.
  Terminate();
  WriteConsoleLine("");
  BANNER();
  CONFIG.OPTIONS = CONSOLE_MODE;
  std::string ERRORMSG = CheckOptions("hvr:c:f:", kLongOptions);
  if (!ERRORMSG.empty()) {
    WriteConsoleLine("ERROR in options : " + ERRORMSG);
    WriteConsoleLine("");
    WriteHelp();
    return;
  }
  if (ParamCount() == 0 || HasOption('h', "help")) {
    WriteHelp();
    WriteConsoleLine("");
    return;
  }
  if (HasOption('v', "verbose")) CONFIG.OPTIONS |= VERBOSE;

  uint8_t MODE = 0;
  if (HasOption('f', "file")) MODE = UNIQUE_FILE;
  if (HasOption('r', "recursive")) {
    if (MODE == UNIQUE_FILE) {
      WriteConsoleLine("ERROR in options : \"f\" and \"r\" can't be used together ");
      WriteConsoleLine("");
      return;
    }
    MODE = RECURSIVE;
  }
  if (!LoadDescription()) return;

  std::vector<std::string> LISTE;
  if (!FillFileList(MODE, LISTE)) return;
  const size_t count = LISTE.size();
  for (size_t INDEX = 0; INDEX < count; ++INDEX) COMPLETE_FILE(LISTE[INDEX], CONFIG.OPTIONS);
  WriteConsoleLine("");
  WriteConsoleLine("Job complete !");
  WriteConsoleLine("");
}

bool TMyApplication::LoadDescription() {
  CONFIG.FILENAME = HasOption('c', "config") ? GetOptionValue('c', "config") : kDefaultDescription;
  if (!NamesExistingFile(CONFIG.FILENAME)) {
    WriteConsoleLine("ERROR loading Project Description, file not found!");
    WriteConsoleLine("");
    return false;
  }
  std::string S;
  if (LOAD_PROJECT_DESC(CONFIG.FILENAME, S) != 0) {
    WriteConsoleLine("ERROR loading Project Description file!");
    WriteConsoleLine(S);
    WriteConsoleLine("");
    return false;
  }
  return true;
}

bool TMyApplication::FillFileList(uint8_t mode, std::vector<std::string>& liste) {
  if (mode == UNIQUE_FILE) {
    std::string S = GetOptionValue('f', "file");
    if (!NamesExistingFile(S)) {
      WriteConsoleLine("ERROR with file " + S + " , file not found!");
      WriteConsoleLine("");
      return false;
    }
    liste.push_back(S);
  } else if (mode == RECURSIVE) {
    std::string S = GetOptionValue('r', "recursive");
    if (S.empty() || CurrentPlatform().Stat(S) != FileKind::kDirectory) {
      WriteConsoleLine("ERROR with directory " + S + " , directory not found!");
      WriteConsoleLine("");
      return false;
    }
    CHERCHE_DIR(S, CONFIG.OPTIONS, LANGUAGE, liste);
  }
  return true;
}

int RunQuillet(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  TMyApplication APPLICATION(std::move(args), argc > 0 ? argv[0] : "quillet");
  APPLICATION.Run();
  return 0;
}

}  // namespace quillet
