#pragma once
// Reader of text files made of named blocks of separated fields (the gas mixture
// file, for one). A block starts after a line whose first field is a marker word
// and ends at a line holding a marker word alone ("GMIX_END"). Inside a block each
// line holds a label and one value ("line" operations) or several values ("field"
// operations). Once the end of the block has been seen every read does nothing, so
// a caller can read a fixed list of items and simply stop at the marker.
#include <cstddef>
#include <cstdint>
#include <istream>
#include <memory>
#include <string>
#include <string_view>

#include "units/dval.hpp"
#include "units/fi.hpp"

namespace qmx::BR {

inline constexpr const char* kModule = "BR";
// Characters kept of a line; the rest of a longer line is skipped.
inline constexpr std::size_t kLineLength = 1023;

struct BlockReader {
  char separator = ',';
  std::int32_t fieldCounter = 0;
  bool endOfBlock = false;
  std::string line;  // the current line, at most kLineLength characters
};

std::unique_ptr<BlockReader> BRcreate(char separator);
void BRdispose(std::unique_ptr<BlockReader>& reader);

// Reads lines until a non-empty one; at the end of the file sets end-of-block.
void NextLine(BlockReader& reader, std::istream& file);
// Moves to the line after the first line whose field 0 equals marker (clearing
// end-of-block). At the end of the file without the marker it stops silently and
// returns false.
bool ScanForXblock(std::string_view marker, BlockReader& reader, std::istream& file);

// Line operations: the value after the first separator of the current line, then the
// next line. A line without separator made of 0-9, A-Z and "_" only ends the block;
// any other line without separator raises "<op>() invalid block marker <line>" (0);
// a value line that is the last line of the file raises "<op>() unexpected EOF" (0).
void ReadStringLine(std::string& s, BlockReader& reader, std::istream& file);
// True when the value starts (after blanks) with "T", "t", "Y" or "y".
void ReadBoolLine(bool& b, BlockReader& reader, std::istream& file);
// The digits of the value; unchanged when there are none or they overflow.
void ReadCardLine(std::uint32_t& c, BlockReader& reader, std::istream& file);
// As ReadCardLine, negative when the value starts (after blanks) with "-".
void ReadIntLine(std::int32_t& i, BlockReader& reader, std::istream& file);
// Field 1 looked up in names (items separated by the reader's separator); true and the
// 0-based number in ord when found. Empty lines after it are skipped.
bool ReadEnumLine(int& ord, std::string_view names, BlockReader& reader, std::istream& file);

// The whole line read into an initialised value by its record line reader (uCDTstrToDV,
// CDTstrToRV), then the next line.
void ReadDvalLine(FUM::DVal& dv, BlockReader& reader, std::istream& file);
void ReadRvalLine(FI::RVal& rv, BlockReader& reader, std::istream& file);

// Field operations: field n (0 is the label) of the current line; the line advances
// (skipping empty lines) when field n is its last field. A line without separator
// ends the block. A field that does not convert leaves the variable unchanged.
void ReadStringField(std::string& s, int n, BlockReader& reader, std::istream& file);
void ReadBoolField(bool& b, int n, BlockReader& reader, std::istream& file);
void ReadCardField(std::uint32_t& c, int n, BlockReader& reader, std::istream& file);
void ReadIntField(std::int32_t& i, int n, BlockReader& reader, std::istream& file);
// The field tidied (zeros kept) and converted; a field without any digit is refused.
void ReadLRealField(double& x, int n, BlockReader& reader, std::istream& file);
bool ReadEnumField(int& ord, std::string_view names, int n, BlockReader& reader, std::istream& file);

}  // namespace qmx::BR
