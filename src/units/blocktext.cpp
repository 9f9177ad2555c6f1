#include "units/blocktext.hpp"

#include <charconv>
#include <string>
#include <string_view>

#include "numerics/error.hpp"
#include "units/fe.hpp"

namespace qmx::BR {

namespace {

bool AtEnd(std::istream& file) { return !file.good() || file.peek() == std::istream::traits_type::eof(); }

// Reads one line of the file into the buffer: it ends at a line feed, a carriage return
// (with a following line feed) or the end of the file; a NUL ends the text kept, and so
// does the length limit (the rest of the line is skipped).
void ReadLine(BlockReader& r, std::istream& file) {
  using traits = std::istream::traits_type;
  r.line.clear();
  bool cut = false;
  while (true) {
    const traits::int_type c = file.get();
    if (c == traits::eof()) break;
    const char ch = traits::to_char_type(c);
    if (ch == '\n') break;
    if (ch == '\r') {
      if (file.peek() == '\n') file.get();
      break;
    }
    if (ch == '\0') cut = true;
    if (!cut && r.line.size() < kLineLength) r.line.push_back(ch);
  }
}

bool IsMarker(std::string_view line) {
  for (const char c : line) {
    if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || c == '_')) return false;
  }
  return true;
}

[[noreturn]] void RaiseEof(std::string_view op) { Raise(kModule, std::string(op) + "() unexpected EOF", 0); }

// Steps 1-4 of a line operation: false when the block has ended (now or before); else the
// text after the first separator.
bool LineValue(std::string_view op, BlockReader& r, std::string& value) {
  if (r.endOfBlock) return false;
  const std::size_t sep = r.line.find(r.separator);
  if (sep == std::string::npos) {
    if (IsMarker(r.line)) {
      r.endOfBlock = true;
      return false;
    }
    Raise(kModule, FE::FmtToString(std::string(op) + "() invalid block marker %s", r.line), 0);
  }
  value = r.line.substr(sep + 1);
  return true;
}

// Step 6: the next line, or the unexpected-EOF message at the end of the file.
void Advance(std::string_view op, BlockReader& r, std::istream& file) {
  if (AtEnd(file)) RaiseEof(op);
  ReadLine(r, file);
}

bool ToBool(std::string text) {
  FE::RemoveChars(" \t\r\n", text);
  if (text.empty()) return false;
  const char c = text.front();
  return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

// The digits of the text as a whole number; false when there are none or they overflow.
bool ToCard(std::uint32_t& c, std::string text) {
  FE::KeepChars("0123456789", text);
  if (text.empty()) return false;
  std::uint32_t v = 0;
  const auto res = std::from_chars(text.data(), text.data() + text.size(), v);
  if (res.ec != std::errc() || res.ptr != text.data() + text.size()) return false;
  c = v;
  return true;
}

// As ToCard, negative when the first character that is no blank or tab is "-".
bool ToInt(std::int32_t& i, const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  const bool negative = first != std::string::npos && text[first] == '-';
  std::string digits = text;
  FE::KeepChars("0123456789", digits);
  if (digits.empty()) return false;
  std::int64_t v = 0;
  const auto res = std::from_chars(digits.data(), digits.data() + digits.size(), v);
  if (res.ec != std::errc() || res.ptr != digits.data() + digits.size()) return false;
  if (negative) v = -v;
  if (v < INT32_MIN || v > INT32_MAX) return false;
  i = static_cast<std::int32_t>(v);
  return true;
}

// The name looked up in names (items separated by the reader's separator). An empty name
// never matches, so a trailing separator of the list is no valid choice.
bool Lookup(int& ord, std::string name, std::string_view names, char separator) {
  FE::RemoveChars(" \t\r\n", name);
  if (name.empty()) return false;
  int index = 0;
  if (!FE::FindItem(index, std::string_view(&separator, 1), name, names)) return false;
  ord = index;
  return true;
}

// Steps 1-3 of a field operation: false when the block has ended (now or before); else field n
// and whether it is the last field of the line.
bool FieldValue(int n, BlockReader& r, std::string& field, bool& last) {
  if (r.endOfBlock) return false;
  if (r.line.find(r.separator) == std::string::npos) {
    r.endOfBlock = true;
    return false;
  }
  FE::GetItem(last, n, std::string_view(&r.separator, 1), r.line, field);
  return true;
}

// Step 4: after the last field of the line, the next non-empty line.
void AdvanceField(std::string_view op, bool last, BlockReader& r, std::istream& file) {
  if (!last) return;
  if (AtEnd(file)) RaiseEof(op);
  NextLine(r, file);
}

}  // namespace

std::unique_ptr<BlockReader> BRcreate(char separator) {
  auto r = std::make_unique<BlockReader>();
  r->separator = separator;
  return r;
}

void BRdispose(std::unique_ptr<BlockReader>& reader) { reader.reset(); }

void NextLine(BlockReader& reader, std::istream& file) {
  ReadLine(reader, file);
  while (reader.line.empty() && !AtEnd(file)) ReadLine(reader, file);
  if (AtEnd(file)) reader.endOfBlock = true;
}

bool ScanForXblock(std::string_view marker, BlockReader& reader, std::istream& file) {
  reader.endOfBlock = false;
  const std::string_view sep(&reader.separator, 1);
  std::string field;
  bool last = false;
  while (true) {
    FE::GetItem(last, 0, sep, reader.line, field);
    ReadLine(reader, file);
    if (field == marker) return true;
    if (AtEnd(file)) return false;
  }
}

void ReadStringLine(std::string& s, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadStringLine", reader, v)) return;
  s = v;
  Advance("ReadStringLine", reader, file);
}

void ReadBoolLine(bool& b, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadBoolLine", reader, v)) return;
  b = ToBool(v);
  Advance("ReadBoolLine", reader, file);
}

void ReadCardLine(std::uint32_t& c, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadCardLine", reader, v)) return;
  ToCard(c, v);
  Advance("ReadCardLine", reader, file);
}

void ReadIntLine(std::int32_t& i, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadIntLine", reader, v)) return;
  ToInt(i, v);
  Advance("ReadIntLine", reader, file);
}

bool ReadEnumLine(int& ord, std::string_view names, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadEnumLine", reader, v)) return false;
  std::string field;
  bool last = false;
  FE::GetItem(last, 1, std::string_view(&reader.separator, 1), reader.line, field);
  const bool found = Lookup(ord, field, names, reader.separator);
  if (AtEnd(file)) RaiseEof("ReadEnumLine");
  NextLine(reader, file);
  return found;
}

void ReadDvalLine(FUM::DVal& dv, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadDvalLine", reader, v)) return;
  std::string name;
  FUM::uCDTstrToDV(&dv, name, reader.line);
  Advance("ReadDvalLine", reader, file);
}

void ReadRvalLine(FI::RVal& rv, BlockReader& reader, std::istream& file) {
  std::string v;
  if (!LineValue("ReadRvalLine", reader, v)) return;
  std::string name;
  FI::CDTstrToRV(rv, name, reader.line);
  Advance("ReadRvalLine", reader, file);
}

void ReadStringField(std::string& s, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return;
  s = f;
  AdvanceField("ReadStringField", last, reader, file);
}

void ReadBoolField(bool& b, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return;
  b = ToBool(f);
  AdvanceField("ReadBoolField", last, reader, file);
}

void ReadCardField(std::uint32_t& c, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return;
  ToCard(c, f);
  AdvanceField("ReadCardField", last, reader, file);
}

void ReadIntField(std::int32_t& i, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return;
  ToInt(i, f);
  AdvanceField("ReadIntField", last, reader, file);
}

void ReadLRealField(double& x, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return;
  // A field without any digit would be tidied to "0" and enter a silent zero.
  if (f.find_first_of("0123456789") != std::string::npos) {
    FE::TidyNumber(false, f);
    double v = 0.0;
    if (FE::StrToReal(f, v)) x = v;
  }
  AdvanceField("ReadLRealField", last, reader, file);
}

bool ReadEnumField(int& ord, std::string_view names, int n, BlockReader& reader, std::istream& file) {
  std::string f;
  bool last = false;
  if (!FieldValue(n, reader, f, last)) return false;
  const bool found = Lookup(ord, f, names, reader.separator);
  AdvanceField("ReadEnumField", last, reader, file);
  return found;
}

}  // namespace qmx::BR
