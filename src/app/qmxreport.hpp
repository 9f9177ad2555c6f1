#pragma once
// The flow report of the calculation state: the state's display texts gathered into the
// report record, and the report of the current state written to a file.
#include <string>

#include "reports/report.hpp"

namespace qmx::QMXcalc {

// Heating value table and energy method names as the report prints them ("" out of range).
std::string_view HeatingValueTableName(int code);
std::string_view EnergyMethodName(int code);

// Fills `data` from the current state (Initialize must have run); nothing is recalculated.
void FillReport(Report::ReportData& data);
// Writes the report of the current state to `path`, text form or comma-separated form.
void SaveReport(bool csv, const std::string& path);
// Writes the report of the current state as a new file at `path` or the next free
// numbered name (claimed atomically); `path` receives the name used.
void SaveNewReport(bool csv, std::string& path);

}  // namespace qmx::QMXcalc
