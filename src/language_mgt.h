// The supported languages and the recursive search for their source files.
#pragma once

#include <cstdint>
#include <string>

#include "options.h"

namespace quillet {

struct Tlanguage {
  const char* IDSTR;
  const char* DESCRIPTION;
  const char* EXTENSION;  // masks "*.ext" separated by ";"
  uint8_t NB_TAB;
  const char* COMMENT;
};

constexpr uint8_t MAX_LANGUAGE = 6;
extern const Tlanguage TAB_LANG[MAX_LANGUAGE + 1];  // rows 1..MAX_LANGUAGE

void GET_LANGUAGE_NAME(TStringList& LISTE);

// Appends the paths of the language's files below CHEMIN to LISTE, depth first.
void CHERCHE_DIR(const std::string& CHEMIN, uint8_t OPTIONS, uint8_t FILETYPE, TStringList& LISTE);
void CHERCHE_FICH(const std::string& CHEMIN, uint8_t OPTIONS, TStringList& LISTE);

}  // namespace quillet
