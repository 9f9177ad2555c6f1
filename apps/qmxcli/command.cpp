#include "command.hpp"

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace qmx::cli {
namespace {
std::vector<SetupFn>& Registry() {
  static std::vector<SetupFn> commands;
  return commands;
}
}  // namespace

bool RegisterCommand(SetupFn setup) {
  Registry().push_back(setup);
  return true;
}

void SetupAll(CLI::App& app) {
  for (SetupFn setup : Registry()) setup(app);
}

double ParseNumber(const std::string& text, const std::string& what) {
  const char* begin = text.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (text.empty() || end == begin || *end != '\0') {
    throw UsageError(what + ": not a number: \"" + text + "\"");
  }
  return value;
}

}  // namespace qmx::cli
