// qmxcli version: prints the program's version text.
#include <iostream>

#include "command.hpp"

namespace {

constexpr const char* kVersionText = "b 0.1.2.2";

void Setup(CLI::App& app) {
  auto* sub = app.add_subcommand("version", "Print the version text");
  sub->callback([] { std::cout << kVersionText << '\n'; });
}

}  // namespace

QMXCLI_COMMAND(Setup)
