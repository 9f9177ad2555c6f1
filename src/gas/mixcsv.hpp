// The gas mixture block file and the gas properties sheet. A mix is written as one
// comma-separated block between "GMIX_START" and "GMIX_END" (settings, raw slate, every property
// section in MKS and US units, the method's internal state, the omens) and read back from it; the
// sheet is a one-page summary of a mix in US or metric display units.
#pragma once

#include <iosfwd>
#include <string_view>

#include "gas/gas0.hpp"

namespace qmx::GAS1 {

// Writes the block of a mix (brought up to date first when its inputs changed). False, with
// nothing written, for an invalid handle; false too when the stream fails while writing.
bool WriteMixCSV(const GAS0::GMix& mix, std::ostream& file);

// Reads the next block of the file into an existing mix and recomputes it at the block's flowing
// state. The block is read into a copy: the mix changes only when the whole block was read and
// recomputed. An overridden heating-value temperature is taken from the HEAT section. Raises "GAS1.ReadMixCSV() invalid mix", "GAS1.ReadMixCSV() invalid ZMethod",
// "GAS1.ReadMixCSV() method not installed", "GAS1.ReadMixCSV.ScanFor() file error -- missing
// <keyword>" and the block reader's own messages.
void ReadMixCSV(GAS0::GMix& mix, std::istream& file);

// The Z method code of the next block of the file (its settings line), so that a caller can
// create a mix of the right method before reading it. Raises as ReadMixCSV does.
int ReadMixCSVZMethod(std::istream& file);

// Z method code of a name in the block's settings line: blanks, tabs and line ends are removed
// and the rest must equal one entry of the method list; "Gerg04detailed" is the older name of
// GergDetailed. -1 when nothing matches.
int MatchZMethodName(std::string_view field);

// Writes the one-page gas properties sheet: display values in US units when `us`, else in
// metric units. False for an invalid handle or a failed stream.
bool GasPropertiesCSV(const GAS0::GMix& mix, bool us, std::string_view analysisId, std::ostream& file);

}  // namespace qmx::GAS1
