#include "language_mgt.h"

#include <vector>

#include "console.h"
#include "platform/platform.h"

namespace quillet {

const Tlanguage TAB_LANG[MAX_LANGUAGE + 1] = {
    {"", "", "", 0, ""},
    {"c", "C files (*.c;*.h)", "*.c;*.h", 3, ""},
    {"pascal", "Pascal files (*.pas;*.inc;*.lpr)", "*.pas;*.inc;*.lpr", 1, ""},
    {"basic", "Basic files (*.bas)", "*.bas", 3, ""},
    {"batch", "Batch files (*.bat)", "*.bat", 3, ""},
    {"shell", "Shell files (*.sh)", "*.sh", 3, ""},
    {"arduino", "Arduino files (*.ino;*.cpp;*.h)", "*.ino;*.cpp;*.h", 2, ""},
};

namespace {
// The masks of the language being searched; exists only during a search.
TStringList* EXTENS = nullptr;

TStringList SplitMasks(const std::string& extension) {
  TStringList masks;
  size_t start = 0;
  for (;;) {
    size_t semi = extension.find(';', start);
    masks.push_back(extension.substr(start, semi - start));
    if (semi == std::string::npos) return masks;
    start = semi + 1;
  }
}

// "*" + the text from the last "." on, or "*" when the name has no dot.
std::string CandidateMask(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? "*" : "*" + name.substr(dot);
}
}  // namespace

void GET_LANGUAGE_NAME(TStringList& LISTE) {
  LISTE.clear();
  for (uint8_t i = 1; i <= MAX_LANGUAGE; ++i) {
    const Tlanguage& row = TAB_LANG[i];
    LISTE.push_back(std::string(row.DESCRIPTION) + std::string(row.NB_TAB, '\t') +
                    "Language identifier = \"" + row.IDSTR + "\".");
  }
}

void CHERCHE_DIR(const std::string& CHEMIN, uint8_t OPTIONS, uint8_t FILETYPE, TStringList& LISTE) {
  if (FILETYPE == 0 || FILETYPE > MAX_LANGUAGE) return;
  TStringList masks = SplitMasks(TAB_LANG[FILETYPE].EXTENSION);
  EXTENS = &masks;
  if (OPTIONS & CONSOLE_MODE) {
    WriteConsoleLine(std::string("Recursive search for ") + TAB_LANG[FILETYPE].DESCRIPTION +
                     " inside " + CHEMIN + " in progress ...");
  }
  std::string prefix = CHEMIN;
  if (prefix.empty() || (prefix.back() != '\\' && prefix.back() != '/')) prefix += '/';
  try {
    CHERCHE_FICH(prefix, OPTIONS, LISTE);
    if (OPTIONS & CONSOLE_MODE) {
      WriteConsoleLine("Search finished, found :" + std::to_string(LISTE.size()) + " file(s)");
      WriteConsoleLine("");
    }
  } catch (...) {
    EXTENS = nullptr;
    throw;
  }
  EXTENS = nullptr;
}

void CHERCHE_FICH(const std::string& CHEMIN, uint8_t OPTIONS, TStringList& LISTE) {
  std::vector<DirEntry> entries;
  // A directory that cannot be listed is passed over silently.
  if (CurrentPlatform().ListDir(CHEMIN, &entries) != 0) return;
  for (const DirEntry& entry : entries) {
    if (entry.kind == FileKind::kDirectory) {
      CHERCHE_FICH(CHEMIN + entry.name + "/", OPTIONS, LISTE);
      continue;
    }
    if (entry.kind != FileKind::kRegular) continue;
    std::string candidate = CandidateMask(entry.name);
    for (const std::string& mask : *EXTENS) {
      if (mask != candidate) continue;
      std::string path = CHEMIN + entry.name;
      if (IsVerboseConsole(OPTIONS)) WriteConsoleLine("Found : " + path);
      LISTE.push_back(std::move(path));
    }
  }
}

}  // namespace quillet
