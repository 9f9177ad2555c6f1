#pragma once
// Registry of qmxcli subcommands. Each command file defines a setup function
// that adds its subcommand to the application and registers it with
// QMXCLI_COMMAND(setup) at namespace scope.
#include <CLI/CLI.hpp>
#include <stdexcept>
#include <string>

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

// Parses a whole text as a finite or infinite double; throws UsageError naming the option otherwise.
double ParseNumber(const std::string& text, const std::string& what);

}  // namespace qmx::cli

#define QMXCLI_CONCAT2(a, b) a##b
#define QMXCLI_CONCAT(a, b) QMXCLI_CONCAT2(a, b)
#define QMXCLI_COMMAND(setup) \
  namespace {                 \
  const bool QMXCLI_CONCAT(qmxcli_registered_, __LINE__) = ::qmx::cli::RegisterCommand(setup); \
  }
