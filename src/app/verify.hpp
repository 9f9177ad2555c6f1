// Conformance check of an installation: the published verification data kept in the data folder
// (IAPWS-IF97 verification tables, AGA-8 example gases, ISO 12213-3 Annex C, API MPMS 11.1 worked
// examples, ISO 5167 peer values, AGA-3 equation checks) run through the engines. Deviations are
// counted in units of the last digit each value is compared to: the digits printed by the source,
// or a stated number of significant digits for values printed to full precision.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace qmx::VERIFY {

inline constexpr const char* kModule = "VERIFY";

struct SourceResult {
  std::string name;
  int cases = 0;             // values compared
  double worst = 0.0;        // largest deviation, units of the last compared digit
  double tolerance = 0.5;    // allowed deviation, same units
  bool pass = false;
  std::string error;         // why the source could not be run (empty when it ran)
};

// Unit of the last digit of a printed number ("0.100215168e-2" gives 1e-11), counting at most
// `maxDigits` significant digits; 0 for a text that is no number.
double LastDigitUnit(std::string_view printed, int maxDigits = 99);

// Runs every source against the tables under dataDir.
std::vector<SourceResult> RunAll(const std::filesystem::path& dataDir);

// Data folders to try, in order: <exeDir>/../share/qmx/data, then the build tree's data folder.
std::vector<std::filesystem::path> DataCandidates(const std::filesystem::path& exeDir);

}  // namespace qmx::VERIFY
