// The project description, the flags and the header engine.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "options.h"
#include "platform/platform.h"

namespace quillet {

constexpr size_t USERSTR_MAX = 20;  // bytes kept of each user text

struct Tprojet {
  std::string PROJECT_BRIEF;
  std::string PROJECT_NAME;
  std::string PROJECT_VERSION;
  std::string AUTHOR;
  std::shared_ptr<TStringList> HEADER_STRINGS;  // the template, one entry a line
  uint8_t LANGUAGE = 0;                         // row of TAB_LANG; 0 = none
  std::string FILENAME;                         // the file being completed
  std::string USERSTR[5];                       // 1..4 used
  std::string LICENCE;
};

extern Tprojet PROJECTDESC;
extern uint8_t LANGUAGE;

// Loads the description file; 0 on success, else 1..7 with the message in RETOUR.
int32_t LOAD_PROJECT_DESC(const std::string& FIN, std::string& RETOUR);
void PROJECT_DESC_FREE();

// The flag vocabulary, for the help screen.
struct Tbalise {
  std::string NOM;
  std::string DESC;
};
extern std::vector<Tbalise> BALISES;
void LOAD_BALISES();
void GET_FLAGS_NAME(TStringList& LISTE);

// Replaces every value flag of a line; FLAGCNT counts the replacements.
std::string TRAITE_LIGNE(std::string CHAINE, uint8_t OPTION, const Tprojet& PROJET,
                         uint16_t& FLAGCNT);
std::string TRAITE_LIGNE(const std::string& CHAINE, uint8_t OPTION, const Tprojet& PROJET);
// The passes of one line end after at most this many beyond its own flags, so
// that a value bringing back a flag (Author = "x$AUTHOR$") cannot loop.
constexpr size_t kExtraFlagPasses = 16;

// The two ways TRAITE_LIGNE replaces flags, without its console line: pass by
// pass, and (where that gives the same line) in one scan; false when it can't.
std::string ReplaceFlagsByPasses(std::string line, const Tprojet& project, uint16_t* count);
bool ReplaceFlagsAtOnce(const std::string& line, const Tprojet& project, std::string* out,
                        uint16_t* count);

std::string CONVERT_LICENCE(const std::string& S);
extern const char* const MONTH_NAME[13];  // 1..12
std::string GET_YEAR(const LocalDate& DATE);
std::string GET_MONTH_NAME(const LocalDate& DATE);
// Reads the user's date format once; done at program start.
void InitShortDateFormat();

// Rewrites one source file in place with its header and flags.
bool COMPLETE_FILE(const std::string& FICH_IN, uint8_t OPTIONS);

class LineWriter;
// Copies an include file into the output with its flags replaced.
void ADD_EXTERNFILE(const std::string& FICHIER, LineWriter& FOUT, uint8_t OPTIONS);

}  // namespace quillet
