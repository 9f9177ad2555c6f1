#pragma once
// Registry of qmxcli subcommands. Each command file defines a setup function
// that adds its subcommand to the application and registers it with
// QMXCLI_COMMAND(setup) at namespace scope.
#include <CLI/CLI.hpp>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qmx::cli {

using SetupFn = void (*)(CLI::App& app);

bool RegisterCommand(SetupFn setup);
void SetupAll(CLI::App& app);

// A usage error: bad or missing arguments. Exits with status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A failure the command reports itself (message on stderr, status 1).
class CommandFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Work done, but part of it failed (batch records with errors); the command has said what on
// standard error. Exits with status 3 and no further message.
class PartialFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Flag texts as the engines write them (" syntax error | dimension error |") joined for one
// line of a message ("syntax error; dimension error"), as the pages break them into lines.
std::string JoinFlagTexts(std::string_view texts);

// The number grammar of every command: blanks around the number are ignored; digits with an
// optional "." (".6" and "6." both), an optional exponent ("1.5E+00", "1e-3"). NaN, infinity,
// hexadecimal, an overflowing value and any other text are refused.
// The number as a text the engines read (".6" becomes "0.6"), or nullopt when refused.
std::optional<std::string> NumberText(std::string_view text);
// The number's value; false (x unchanged) when refused.
bool ReadNumber(std::string_view text, double& x);
// The number's value; throws UsageError naming the option when refused.
double ParseNumber(const std::string& text, const std::string& what);

}  // namespace qmx::cli

#define QMXCLI_CONCAT2(a, b) a##b
#define QMXCLI_CONCAT(a, b) QMXCLI_CONCAT2(a, b)
#define QMXCLI_COMMAND(setup) \
  namespace {                 \
  const bool QMXCLI_CONCAT(qmxcli_registered_, __LINE__) = ::qmx::cli::RegisterCommand(setup); \
  }
