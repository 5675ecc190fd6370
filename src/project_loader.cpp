// The project description file: INI-like items under "[Description]", and
// the header template after the last "[Header]" line.
#include <utility>
#include <vector>

#include "gest_project.h"
#include "language_mgt.h"
#include "platform/platform.h"
#include "run_error.h"
#include "text_lines.h"

namespace quillet {

Tprojet PROJECTDESC;
uint8_t LANGUAGE = 0;

namespace {

struct Section {
  std::string name;
  std::vector<std::pair<std::string, std::string>> items;
};

std::string Strip(const std::string& s) {
  size_t begin = 0;
  size_t end = s.size();
  while (begin < end && static_cast<unsigned char>(s[begin]) <= 32) ++begin;
  while (end > begin && static_cast<unsigned char>(s[end - 1]) <= 32) --end;
  return s.substr(begin, end - begin);
}

char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; }

bool EqualsIgnoringAsciiCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (UpperAscii(a[i]) != UpperAscii(b[i])) return false;
  }
  return true;
}

std::string Unquote(const std::string& value) {
  if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

std::vector<Section> ReadSections(const std::vector<std::string>& lines) {
  std::vector<Section> sections;
  for (const std::string& raw : lines) {
    std::string line = Strip(raw);
    if (line.empty() || line[0] == ';') {
      // A comment inside a section is an item that no lookup finds.
      if (!line.empty() && !sections.empty()) sections.back().items.push_back({";", ""});
      continue;
    }
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      sections.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    if (sections.empty()) continue;  // before the first section: never looked up
    size_t eq = line.find('=');
    if (eq == std::string::npos) {
      sections.back().items.push_back({"", ""});
    } else {
      sections.back().items.push_back({Strip(line.substr(0, eq)), Strip(line.substr(eq + 1))});
    }
  }
  return sections;
}

std::string LookUp(const std::vector<Section>& sections, const std::string& section,
                   const std::string& key, const std::string& fallback) {
  for (const Section& s : sections) {
    if (!EqualsIgnoringAsciiCase(s.name, section)) continue;
    for (const auto& [k, v] : s.items) {
      if (k != ";" && EqualsIgnoringAsciiCase(k, key)) return Unquote(v);
    }
    return fallback;  // only the first section of that name counts
  }
  return fallback;
}

std::string ItemError(const char* item) {
  return std::string("Error inside Description File for item \"") + item + "\"";
}

}  // namespace

int32_t LOAD_PROJECT_DESC(const std::string& FIN, std::string& RETOUR) {
  PROJECTDESC.HEADER_STRINGS = std::make_shared<TStringList>();
  std::string contents;
  if (CurrentPlatform().Stat(FIN) == FileKind::kRegular) {
    if (CurrentPlatform().ReadWholeFile(FIN, &contents) != 0) {
      throw RunError(kSiteDescOpen, "Unable to open file \"" + FIN + "\"");
    }
  }
  std::vector<std::string> lines = SplitTextLines(contents);
  std::vector<Section> sections = ReadSections(lines);
  RETOUR.clear();

  struct Required {
    const char* key;
    std::string Tprojet::*field;
  };
  static const Required kRequired[] = {
      {"Project_name", &Tprojet::PROJECT_NAME},
      {"Project_brief", &Tprojet::PROJECT_BRIEF},
      {"Project_version", &Tprojet::PROJECT_VERSION},
      {"Author", &Tprojet::AUTHOR},
  };
  for (int32_t code = 1; code <= 4; ++code) {
    const Required& item = kRequired[code - 1];
    std::string value = LookUp(sections, "Description", item.key, "!");
    if (value == "!") {
      RETOUR = ItemError(item.key);
      return code;
    }
    PROJECTDESC.*item.field = value;
  }
  for (int n = 1; n <= 4; ++n) {
    std::string value = LookUp(sections, "Description", "User_" + std::to_string(n), "");
    PROJECTDESC.USERSTR[n] = value.substr(0, USERSTR_MAX);
  }
  PROJECTDESC.LICENCE = LookUp(sections, "Description", "Licence", "");

  std::string S = LookUp(sections, "Description", "Language", "!");
  if (S == "!") {
    RETOUR = "Error inside Description File , item \"Language\" is missing!";
    return 5;
  }
  PROJECTDESC.LANGUAGE = 0;
  for (uint8_t i = 1; i <= MAX_LANGUAGE; ++i) {
    if (EqualsIgnoringAsciiCase(S, TAB_LANG[i].IDSTR)) {
      PROJECTDESC.LANGUAGE = i;
      break;
    }
  }
  if (PROJECTDESC.LANGUAGE == 0) {
    RETOUR = "Error inside Description File for item \"Language\": " + S + " isn't valid.";
    return 6;
  }
  LANGUAGE = PROJECTDESC.LANGUAGE;

  size_t header_index = lines.size();
  for (size_t i = 0; i < lines.size(); ++i) {
    if (EqualsIgnoringAsciiCase(lines[i], "[HEADER]")) header_index = i;
  }
  if (header_index == lines.size()) {
    RETOUR = "Error inside Description File, missing \"[Header]\" section !";
    return 7;
  }
  PROJECTDESC.HEADER_STRINGS->assign(lines.begin() + static_cast<long>(header_index) + 1,
                                     lines.end());
  return 0;
}

void PROJECT_DESC_FREE() {
  PROJECTDESC = Tprojet{};
  LANGUAGE = 0;
}

}  // namespace quillet
