// The driver: banner, options, help screen, run mode, description and the
// loop over the files to stamp.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "console_application.h"

namespace quillet {

constexpr uint8_t UNIQUE_FILE = 1;
constexpr uint8_t RECURSIVE = 2;

struct Tconfig {
  std::string FILENAME;  // the project description file
  uint8_t OPTIONS = 0;
};
extern Tconfig CONFIG;

class TMyApplication : public ConsoleApplication {
 public:
  TMyApplication(std::vector<std::string> args, std::string executable_path);
  ~TMyApplication() override;

  void BANNER();
  virtual void WriteHelp();

 protected:
  void DoRun() override;

 private:
  bool LoadDescription();
  bool FillFileList(uint8_t mode, std::vector<std::string>& liste);
};

// Runs one whole program run; the exit status is always 0.
int RunQuillet(int argc, char** argv);

}  // namespace quillet
