#include "console_application.h"

#include <cstdio>

#include "platform/platform.h"
#include "text_lines.h"

namespace quillet {
namespace {

constexpr size_t kMaxReportLength = 255;

std::string PositionText(size_t index) { return std::to_string(index + 1); }

// The argument as the presence test compares it: without its "-", or its
// "--" and everything from the first "=" on.
std::string Reduced(const std::string& arg) {
  std::string rest = arg.substr(1);
  if (!rest.empty() && rest[0] == '-') {
    rest = rest.substr(1);
    size_t eq = rest.find('=');
    if (eq != std::string::npos) rest.resize(eq);
  }
  return rest;
}

bool CountsAsValue(const std::vector<std::string>& args, size_t index) {
  return index < args.size() && !args[index].empty() && args[index][0] != '-';
}

std::string CheckLongOption(const std::string& arg, size_t index,
                            const std::vector<std::string>& long_options) {
  std::string name = arg.substr(2);
  size_t eq = name.find('=');
  bool has_value = eq != std::string::npos;
  if (has_value) name.resize(eq);
  for (const std::string& option : long_options) {
    bool needs_value = !option.empty() && option.back() == ':';
    std::string option_name = needs_value ? option.substr(0, option.size() - 1) : option;
    if (name.empty() || option_name != name) continue;
    if (!needs_value && has_value) {
      return "Option at position " + PositionText(index) + " does not allow an argument: " + name;
    }
    if (needs_value && !has_value) {
      return "Option at position " + PositionText(index) + " needs an argument : " + name;
    }
    return "";
  }
  return "Invalid option at position " + PositionText(index) + ": \"" + name + "\"";
}

}  // namespace

ConsoleApplication::ConsoleApplication(std::vector<std::string> args, std::string executable_path)
    : args_(std::move(args)), executable_path_(std::move(executable_path)) {}

std::string ConsoleApplication::ExeName() const {
  size_t slash = executable_path_.rfind('/');
  return slash == std::string::npos ? executable_path_ : executable_path_.substr(slash + 1);
}

void ConsoleApplication::Run() {
  while (!terminated_) {
    try {
      DoRun();
    } catch (const RunError& error) {
      ShowException(error);
      if (stop_on_exception_) Terminate();
    }
  }
}

std::string ConsoleApplication::ErrorReport(const RunError& error) {
  char location[16];
  std::snprintf(location, sizeof location, "%08X", static_cast<unsigned>(error.location()));
  std::string message = error.what();
  if (message.empty() || message.back() != '.') message += '.';
  std::string report = std::string("exception at ") + location + ":\n" + message;
  if (report.size() > kMaxReportLength) report.resize(kMaxReportLength);
  return report;
}

void ConsoleApplication::ShowException(const RunError& error) {
  // Nothing more can be said when the console itself fails.
  CurrentPlatform().WriteStdout(ErrorReport(error) + "\n");
}

std::string ConsoleApplication::CheckOptions(const std::string& short_options,
                                             const std::vector<std::string>& long_options) const {
  for (size_t i = 0; i < args_.size(); ++i) {
    const std::string& arg = args_[i];
    if (arg.empty() || arg[0] != '-') continue;
    if (arg == "-") return "Invalid option at position " + PositionText(i) + ": \"-\"";
    if (arg[1] == '-') {
      std::string error = CheckLongOption(arg, i, long_options);
      if (!error.empty()) return error;
      continue;
    }
    bool consumed_next = false;
    for (size_t c = 1; c < arg.size(); ++c) {
      char letter = arg[c];
      size_t letter_at = letter == ':' ? std::string::npos : short_options.find(letter);
      if (letter_at == std::string::npos) {
        return "Invalid option at position " + PositionText(i) + ": \"" + std::string(1, letter) +
               "\"";
      }
      bool needs_value =
          letter_at + 1 < short_options.size() && short_options[letter_at + 1] == ':';
      if (!needs_value) continue;
      if (c + 1 != arg.size() || !CountsAsValue(args_, i + 1)) {
        return "Option at position " + PositionText(i) +
               " needs an argument : " + std::string(1, letter);
      }
      consumed_next = true;
    }
    if (consumed_next) ++i;  // the value is no option
  }
  return "";
}

bool ConsoleApplication::HasOption(char letter, const std::string& name) const {
  for (const std::string& arg : args_) {
    if (arg.empty() || arg[0] != '-') continue;
    std::string reduced = Reduced(arg);
    if (reduced == std::string(1, letter) || reduced == name) return true;
  }
  return false;
}

std::string ConsoleApplication::GetOptionValue(char letter, const std::string& name) const {
  // The short form wins wherever it stands; within a form the last one wins.
  for (const std::string& wanted : {std::string(1, letter), name}) {
    for (size_t i = args_.size(); i-- > 0;) {
      const std::string& arg = args_[i];
      if (arg.empty() || arg[0] != '-' || Reduced(arg) != wanted) continue;
      if (arg.size() >= 2 && arg[1] == '-') {
        size_t eq = arg.find('=');
        return eq == std::string::npos ? "" : arg.substr(eq + 1);
      }
      bool has_next = i + 1 < args_.size() && (args_[i + 1].empty() || args_[i + 1][0] != '-');
      return has_next ? args_[i + 1] : "";
    }
  }
  return "";
}

}  // namespace quillet
