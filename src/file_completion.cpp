// Rewriting one source file through its temporary file: the header marker,
// the include marker and the flags of every other line.
#include "console.h"
#include "gest_project.h"
#include "platform/platform.h"
#include "run_error.h"
#include "text_lines.h"

namespace quillet {
namespace {

constexpr std::string_view kHeaderMarker = "$ADD_HEADER$";
constexpr std::string_view kExternMarker = "$EXTERN_FILE$";

// The temporary file being written. It did not exist before the run, so it
// is no include: copying it into itself would never end.
std::string g_temp_in_progress;

// A line without "$" holds no flag: it is written as it is, without a copy.
void WriteExpanded(LineWriter& out, const std::string& line, uint8_t options) {
  if (line.find('$') == std::string::npos) {
    out.WriteLine(line);
  } else {
    out.WriteLine(TRAITE_LIGNE(line, options, PROJECTDESC));
  }
}

std::unique_ptr<SequentialFile> OpenOrRaise(const std::string& path, uint32_t site) {
  std::unique_ptr<SequentialFile> file;
  if (int err = CurrentPlatform().OpenRead(path, &file)) RaiseFileError(site, err, path);
  return file;
}

void WriteHeader(LineWriter& out, uint8_t options) {
  if (IsVerboseConsole(options)) WriteConsoleLine("-------> Header Flag found !");
  if (!PROJECTDESC.HEADER_STRINGS) return;
  for (const std::string& line : *PROJECTDESC.HEADER_STRINGS) {
    WriteExpanded(out, line, options);
  }
}

// The include path starts one character after the marker, whatever that is.
void IncludeExternFile(const std::string& line, size_t marker_at, LineWriter& out,
                       uint8_t options) {
  size_t path_at = marker_at + kExternMarker.size() + 1;
  std::string path = path_at < line.size() ? line.substr(path_at) : "";
  if (path.empty()) {
    WriteConsoleLine("-------> External File not specified !");
  } else if (CurrentPlatform().Stat(path) != FileKind::kRegular ||
             CurrentPlatform().SameFile(path, g_temp_in_progress)) {
    // A FIFO or device is no include: reading it could hang the run.
    WriteConsoleLine("-------> External File " + path + " not found !");
  } else {
    ADD_EXTERNFILE(path, out, options);
  }
}

void CopyLines(LineReader& in, LineWriter& out, uint8_t options) {
  std::string line;
  while (in.Next(&line)) {
    if (line.find(kHeaderMarker) != std::string::npos) {
      WriteHeader(out, options);
      continue;
    }
    size_t extern_at = line.find(kExternMarker);
    if (extern_at != std::string::npos) {
      IncludeExternFile(line, extern_at, out, options);
      continue;
    }
    WriteExpanded(out, line, options);
  }
}

// Writes the completed text beside the source, then renames it over the
// source in one step: at every moment one whole version of the file exists.
void RewriteThroughTemp(const SourceFile& source, LineReader& in, uint8_t options) {
  Platform& platform = CurrentPlatform();
  const std::string& target = source.target;
  std::string temp = TempFileName(target);
  std::unique_ptr<WritableFile> file;
  // An existing file of that name is never overwritten.
  if (int err = platform.CreateLike(temp, source, &file))
    RaiseFileError(kSiteTempCreate, err, temp);
  g_temp_in_progress = temp;
  try {
    LineWriter out(std::move(file), temp);
    CopyLines(in, out, options);
    out.Close();
    if (int err = platform.Rename(temp, target)) RaiseFileError(kSiteReplace, err, target);
  } catch (...) {
    platform.Remove(temp);
    g_temp_in_progress.clear();
    throw;
  }
  g_temp_in_progress.clear();
}

}  // namespace

bool COMPLETE_FILE(const std::string& FICH_IN, uint8_t OPTIONS) {
  if (OPTIONS & CONSOLE_MODE) WriteConsoleLine("Processing " + FileNamePart(FICH_IN));
  Platform& platform = CurrentPlatform();
  // A link stays a link: the file it leads to is rewritten, beside itself.
  SourceFile source;
  if (int err = platform.InspectSource(FICH_IN, &source)) {
    RaiseFileError(kSiteSourceOpen, err, FICH_IN);
  }
  LineReader in(OpenOrRaise(source.target, kSiteSourceOpen), source.target, kSiteSourceRead);
  PROJECTDESC.FILENAME = FICH_IN;
  if (!source.writable) {
    WriteConsoleLine("-------> File " + FICH_IN + " is read-only, left unchanged !");
    return true;
  }
  RewriteThroughTemp(source, in, OPTIONS);
  return true;
}

void ADD_EXTERNFILE(const std::string& FICHIER, LineWriter& FOUT, uint8_t OPTIONS) {
  std::unique_ptr<SequentialFile> file;
  if (CurrentPlatform().OpenRead(FICHIER, &file) != 0) {
    WriteConsoleLine("-------> Error opening external file \"" + FICHIER + "\" !");
    return;
  }
  LineReader in(std::move(file), FICHIER, kSiteIncludeRead);
  std::string line;
  while (in.Next(&line)) WriteExpanded(FOUT, line, OPTIONS);
}

}  // namespace quillet
