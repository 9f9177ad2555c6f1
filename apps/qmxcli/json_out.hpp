#pragma once
// JSON text for the command line: numbers with 17 significant digits (so
// every double round-trips exactly), non-finite numbers as null.
#include <nlohmann/json.hpp>
#include <string>

namespace qmx::cli {

std::string JsonText(const nlohmann::json& value, int indent = 2);
// Writes the value and a newline to standard output.
void PrintJson(const nlohmann::json& value);

}  // namespace qmx::cli
