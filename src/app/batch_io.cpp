// Record files of batch recalculation: reader, header layout, row writer and totals.
#include "app/batch_io.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "app/display_units.hpp"
#include "gas/components.hpp"
#include "numerics/error.hpp"
#include "numerics/format_g17.hpp"
#include "units/dval.hpp"
#include "units/fum.hpp"
#include "units/utf8.hpp"

namespace qmx::BATCH {

// ---- CsvReader ------------------------------------------------------------------------------

namespace {
constexpr std::size_t kReadChunk = std::size_t{1} << 16;
}  // namespace

CsvReader::CsvReader(Source source) : source_(std::move(source)), buffer_(kReadChunk) {}

bool CsvReader::Fill() {
  if (eof_) return false;
  if (capturing_) {
    // The bytes after a quoted line break are kept until the record's end shows whether the
    // quote closes.
    capture_.append(buffer_.data() + captureFrom_, end_ - captureFrom_);
    captureFrom_ = 0;
  }
  if (buffer_.size() < kReadChunk) buffer_.resize(kReadChunk);
  pos_ = 0;
  end_ = source_ ? source_(buffer_.data(), buffer_.size()) : 0;
  if (end_ > buffer_.size()) end_ = buffer_.size();
  if (end_ == 0) eof_ = true;
  return end_ > 0;
}

int CsvReader::Get() {
  if (pos_ >= end_ && !Fill()) return -1;
  ++consumed_;
  return static_cast<unsigned char>(buffer_[pos_++]);
}

int CsvReader::Peek() {
  if (pos_ >= end_ && !Fill()) return -1;
  return static_cast<unsigned char>(buffer_[pos_]);
}

void CsvReader::StartCapture() {
  capturing_ = true;
  capture_.clear();
  captureFrom_ = pos_;
}

void CsvReader::StopCapture() {
  capturing_ = false;
  capture_.clear();
  if (capture_.capacity() > kReadChunk) std::string().swap(capture_);
}

std::size_t CsvReader::CapturedBytes() const { return capture_.size() + (pos_ - captureFrom_); }

void CsvReader::ReplayCapture() {
  // What followed the quoted line break, and what is buffered beyond it, become the unread input.
  std::vector<char> unread;
  unread.reserve(std::max(capture_.size() + (end_ - captureFrom_), kReadChunk));
  unread.insert(unread.end(), capture_.begin(), capture_.end());
  unread.insert(unread.end(), buffer_.begin() + static_cast<std::ptrdiff_t>(captureFrom_),
                buffer_.begin() + static_cast<std::ptrdiff_t>(end_));
  consumed_ -= capture_.size() + (pos_ - captureFrom_);
  end_ = unread.size();
  pos_ = 0;
  buffer_ = std::move(unread);
  StopCapture();
}

bool CsvReader::Next(std::vector<std::string>& fields, std::string& error) {
  enum class S { FieldStart, Unquoted, Quoted, AfterQuote };
  error.clear();
  // Blank lines are skipped; each pass of the outer loop takes at least one byte or ends.
  for (;;) {
    std::size_t count = 0;
    std::size_t bytes = 0;
    // Past the record limit the bytes are read only to find the record's end, quotes included.
    bool overflow = false;
    auto field = [&]() -> std::string* {
      if (overflow || count > kMaxFields) return nullptr;
      if (fields.size() < count + 1) fields.resize(count + 1);
      return &fields[count];
    };
    // The first line break inside quotes: when the quote never closes (the input ends, or the
    // record passes its limit inside it) the record ends there and what followed is read again,
    // so one stray quote cannot swallow the records after it.
    std::size_t cutCount = 0;
    std::size_t cutSize = std::string::npos;
    auto cut = [&](std::string why) {
      ReplayCapture();
      fields.resize(std::min(cutCount + 1, kMaxFields + 1));
      if (cutCount < fields.size() && fields[cutCount].size() > cutSize) fields[cutCount].resize(cutSize);
      error = std::move(why);
    };
    const std::string unclosed =
        "unterminated quoted field (no closing quote within " + std::to_string(kMaxRecordBytes) + " bytes)";
    if (std::string* f = field()) f->clear();
    S state = S::FieldStart;
    bool any = false;  // a byte of this record was read
    bool blank = true;
    for (;;) {
      // A run of ordinary bytes of an unquoted field is taken at once; the byte that ends it (or
      // the byte past the record limit) goes through the state machine below.
      if (!overflow && pos_ < end_ &&
          (state == S::Unquoted || (state == S::FieldStart && buffer_[pos_] != '"'))) {
        const std::size_t room = std::min(end_ - pos_, kMaxRecordBytes - bytes);
        std::size_t run = 0;
        while (run < room) {
          const char b = buffer_[pos_ + run];
          if (b == ',' || b == '\n' || b == '\r') break;
          ++run;
        }
        if (run > 0) {
          if (std::string* f = field()) f->append(buffer_.data() + pos_, run);
          pos_ += run;
          consumed_ += run;
          bytes += run;
          any = true;
          blank = false;
          state = S::Unquoted;
          continue;
        }
      }
      const int c = Get();
      if (c < 0) {
        if (!any) {
          fields.clear();
          return false;
        }
        if (state == S::Quoted) {
          if (capturing_) {
            cut("unterminated quoted field (the input ends inside quotes)");
            return true;
          }
          if (error.empty()) error = "unterminated quoted field (the input ends inside quotes)";
        }
        break;
      }
      any = true;
      const bool lineEnd = c == '\n' || c == '\r';
      // The line end closes the record and is no part of it (inside quotes it is field text).
      if (lineEnd && state != S::Quoted) {
        if (c == '\r' && Peek() == '\n') Get();
        break;
      }
      if (!overflow && ++bytes > kMaxRecordBytes) {
        overflow = true;
        error = "record longer than " + std::to_string(kMaxRecordBytes) + " bytes";
        if (state == S::Quoted && capturing_) {
          cut(unclosed);
          return true;
        }
      }
      // Kept bytes stay bounded: past the limit, a quote still open ends the record at its first
      // line break; a closed one leaves nothing worth keeping.
      if (capturing_ && CapturedBytes() > kMaxRecordBytes) {
        if (state == S::Quoted) {
          cut(unclosed);
          return true;
        }
        StopCapture();
      }
      if (state == S::Quoted) {
        if (c == '"') {
          state = S::AfterQuote;
        } else {
          if (lineEnd && !capturing_) {
            StartCapture();
            cutCount = count;
            cutSize = !overflow && count < fields.size() ? fields[count].size() : std::string::npos;
          }
          if (std::string* f = field()) f->push_back(static_cast<char>(c));
        }
        continue;
      }
      blank = false;
      if (c == ',') {
        ++count;
        if (count > kMaxFields) {
          if (error.empty()) error = "more than " + std::to_string(kMaxFields) + " fields";
        } else if (std::string* f = field()) {
          f->clear();
        }
        state = S::FieldStart;
        continue;
      }
      if (state == S::FieldStart && c == '"') {
        state = S::Quoted;
        continue;
      }
      if (state == S::AfterQuote) {
        if (c == '"') {
          if (std::string* f = field()) f->push_back('"');
          state = S::Quoted;
          continue;
        }
        if (error.empty()) error = "text after a closing quote in field " + std::to_string(count + 1);
      }
      state = S::Unquoted;
      if (std::string* f = field()) f->push_back(static_cast<char>(c));
    }
    if (capturing_) StopCapture();
    if (blank && count == 0 && state == S::FieldStart && error.empty()) {
      if (!any) {
        fields.clear();
        return false;
      }
      continue;  // a blank line
    }
    fields.resize(std::min(count + 1, kMaxFields + 1));
    if (error.empty()) {
      for (std::size_t i = 0; i < fields.size(); ++i) {
        const std::string& f = fields[i];
        // Bytes 1..127 are UTF-8 text as they stand; anything else is looked at closely.
        const bool plain = std::all_of(f.begin(), f.end(), [](char b) {
          return static_cast<unsigned char>(b) - 1u < 0x7fu;
        });
        if (!plain && (f.find('\0') != std::string::npos || !UTF8::Length(f))) {
          error = "bytes that are not UTF-8 text in field " + std::to_string(i + 1);
          break;
        }
      }
    }
    return true;
  }
}

// ---- Numbers and times ----------------------------------------------------------------------

bool ParseNumber(std::string_view text, double& x) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const std::string_view digits = !text.empty() && text.front() == '-' ? text.substr(1) : text;
  // Digits or a point first: "inf", "nan" and a second sign are refused.
  if (digits.empty() || !((digits.front() >= '0' && digits.front() <= '9') || digits.front() == '.')) return false;
  double v = 0.0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, std::chars_format::general);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(v)) return false;
  x = v;
  return true;
}

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
std::int64_t DaysFromCivil(std::int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
  const auto yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<std::int64_t>(doe) - 719468;
}

void CivilFromDays(std::int64_t z, std::int64_t& y, unsigned& m, unsigned& d) {
  z += 719468;
  const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const auto doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  y = static_cast<std::int64_t>(yoe) + era * 400;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = doy - (153 * mp + 2) / 5 + 1;
  m = mp < 10 ? mp + 3 : mp - 9;
  y += m <= 2;
}

// Exactly n digits at text[pos].
bool Digits(std::string_view text, std::size_t pos, std::size_t n, int& value) {
  if (pos + n > text.size()) return false;
  value = 0;
  for (std::size_t i = pos; i < pos + n; ++i) {
    if (text[i] < '0' || text[i] > '9') return false;
    value = value * 10 + (text[i] - '0');
  }
  return true;
}

}  // namespace

bool ParseTime(std::string_view text, double& seconds, bool& iso) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  if (text.size() >= 16 && Digits(text, 0, 4, year) && text[4] == '-' && Digits(text, 5, 2, month) &&
      text[7] == '-' && Digits(text, 8, 2, day) && (text[10] == 'T' || text[10] == ' ') &&
      Digits(text, 11, 2, hour) && text[13] == ':' && Digits(text, 14, 2, minute)) {
    std::size_t pos = 16;
    double fraction = 0.0;
    if (pos < text.size() && text[pos] == ':') {
      if (!Digits(text, pos + 1, 2, second)) return false;
      pos += 3;
      if (pos < text.size() && (text[pos] == '.' || text[pos] == ',')) {
        std::size_t end = pos + 1;
        double scale = 0.1;
        // At most nine decimals: the loop is bounded by the text and by the digit count.
        while (end < text.size() && end - pos <= 9 && text[end] >= '0' && text[end] <= '9') {
          fraction += (text[end] - '0') * scale;
          scale /= 10.0;
          ++end;
        }
        if (end == pos + 1) return false;
        pos = end;
      }
    }
    int offset = 0;  // minutes east of UTC
    if (pos < text.size()) {
      const char c = text[pos];
      int oh = 0, om = 0;
      if (c == 'Z' && pos + 1 == text.size()) {
        pos += 1;
      } else if ((c == '+' || c == '-') && Digits(text, pos + 1, 2, oh)) {
        std::size_t end = pos + 3;
        const bool colon = end < text.size() && text[end] == ':';
        if (colon) ++end;
        if (end < text.size() || colon) {
          if (!Digits(text, end, 2, om)) return false;
          end += 2;
        }
        if (end != text.size() || oh > 23 || om > 59) return false;
        offset = (c == '-' ? -1 : 1) * (oh * 60 + om);
        pos = end;
      } else {
        return false;
      }
    }
    static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    // 24:00 is the end of a day, never a time within one; a leap second ends a minute.
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] || hour > 24 || minute > 59 ||
        second > 60 || (hour == 24 && (minute != 0 || second != 0 || fraction != 0.0)) ||
        (second == 60 && minute != 59))
      return false;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (month == 2 && day == 29 && !leap) return false;
    const std::int64_t days = DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day));
    seconds = static_cast<double>(days * 86400 + hour * 3600 + minute * 60 + second - offset * 60) + fraction;
    iso = true;
    return true;
  }
  double x = 0.0;
  if (!ParseNumber(text, x)) return false;
  seconds = x;
  iso = false;
  return true;
}

std::string IsoTime(double seconds) {
  if (!std::isfinite(seconds) || std::fabs(seconds) > 1e14) return "";
  const double whole = std::floor(seconds);
  auto ms = static_cast<int>(std::lround((seconds - whole) * 1000.0));
  auto t = static_cast<std::int64_t>(whole);
  if (ms >= 1000) {
    ms -= 1000;
    ++t;
  }
  std::int64_t days = t / 86400;
  std::int64_t rest = t % 86400;
  if (rest < 0) {
    rest += 86400;
    --days;
  }
  std::int64_t y = 0;
  unsigned m = 0, d = 0;
  CivilFromDays(days, y, m, d);
  char text[64];
  const int h = static_cast<int>(rest / 3600), mi = static_cast<int>(rest % 3600 / 60), s = static_cast<int>(rest % 60);
  if (ms != 0) {
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02d.%03dZ", static_cast<long long>(y), m, d, h, mi, s, ms);
  } else {
    std::snprintf(text, sizeof text, "%04lld-%02u-%02uT%02d:%02d:%02dZ", static_cast<long long>(y), m, d, h, mi, s);
  }
  return text;
}

// ---- Header ---------------------------------------------------------------------------------

namespace {

constexpr FUM::Dims kPressure = {-1, 1, -2, 0, 0, 0, 0, 0};
constexpr FUM::Dims kTemperature = {0, 0, 0, 1, 0, 0, 0, 0};
constexpr FUM::Dims kFrequency = {0, 0, -1, 0, 0, 0, 0, 0};
constexpr FUM::Dims kTime = {0, 0, 1, 0, 0, 0, 0, 0};

bool SameDims(const FUM::Dims& a, const FUM::Dims& b) { return std::equal(a.begin(), a.begin() + 7, b.begin()); }

std::string DimensionName(const FUM::Dims& dims) {
  std::string text;
  FUM::uDimensionName(dims, text);
  return text;
}

// A value in `unit` to SI; false when it does not convert.
bool ToSi(const std::string& unit, double value, double& si) {
  if (unit.empty()) {
    si = value;
    return true;
  }
  FUM::UnitErrors errors = 0;
  bool formulaic = false;
  FUM::Dims dims{};
  double s = value;
  try {
    FUM::uConvert(errors, formulaic, dims, unit, s, true, value);
  } catch (const Error&) {
    return false;
  }
  if (errors != 0 || !std::isfinite(s)) return false;
  si = s;
  return true;
}

}  // namespace

namespace {
// The columns after the results in every row.
constexpr std::string_view kStatusColumns[] = {"meter_flags", "warning", "error"};

bool IsResultName(std::string_view key) {
  if (std::find(std::begin(kStatusColumns), std::end(kStatusColumns), key) != std::end(kStatusColumns)) return true;
  return std::any_of(OutputColumns().begin(), OutputColumns().end(),
                     [key](const OutputColumn& c) { return c.name == key; });
}
}  // namespace

std::string ReadHeader(const std::vector<std::string>& fields, bool needTime, InputLayout& layout) {
  layout = InputLayout{};
  std::vector<std::string> seen;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    InputColumn col;
    col.name = fields[i];
    std::string_view text(fields[i]);
    // A byte-order mark, as spreadsheet programs write it, is not part of the first name.
    if (i == 0 && text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    std::string_view key = text;
    std::string_view unit;
    if (const auto open = text.find('['); open != std::string_view::npos && text.back() == ']') {
      key = text.substr(0, open);
      unit = text.substr(open + 1, text.size() - open - 2);
      while (!key.empty() && key.back() == ' ') key.remove_suffix(1);
    }
    const FUM::Dims* dims = nullptr;
    if (key == "time") {
      col.kind = ColumnKind::Time;
      dims = &kTime;
    } else if (key == "dp") {
      col.kind = ColumnKind::Dp;
      dims = &kPressure;
    } else if (key == "static_pressure") {
      col.kind = ColumnKind::StaticPressure;
      dims = &kPressure;
    } else if (key == "upstream_pressure") {
      col.kind = ColumnKind::UpstreamPressure;
      dims = &kPressure;
    } else if (key == "flowing_temperature") {
      col.kind = ColumnKind::Temperature;
      dims = &kTemperature;
    } else if (key == "frequency") {
      col.kind = ColumnKind::Frequency;
      dims = &kFrequency;
    } else if (key == "duration_s") {
      col.kind = ColumnKind::Duration;
      dims = &kTime;
    } else if (key.substr(0, 2) == "x.") {
      for (int c = 0; c < kComponents; ++c) {
        if (key.substr(2) == GAS1::kSymbols[static_cast<std::size_t>(c)]) {
          col.kind = ColumnKind::Component;
          col.component = c;
        }
      }
      if (col.kind != ColumnKind::Component) {
        return "column \"" + col.name + "\": no such component (x.C1, x.N2, x.CO2, ... x.He, x.Ar)";
      }
    }
    if (col.kind == ColumnKind::Pass) {
      // A passed column named as a result would give a JSON Lines row two members of one name,
      // and readers keep only the last: the logged value would be lost beside the recalculated.
      if (IsResultName(key)) {
        return "column \"" + col.name + "\" has the name of a result column; rename it (for example \"logged_" +
               std::string(key) + "\")";
      }
      layout.columns.push_back(std::move(col));
      continue;
    }
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
      return "column \"" + std::string(key) + "\" is given twice";
    }
    seen.emplace_back(key);
    if (!unit.empty()) {
      if (dims == nullptr) return "column \"" + col.name + "\": mole percent takes no unit";
      FUM::UnitErrors errors = 0;
      bool formulaic = false;
      FUM::Dims got{};
      double si = 1.0;
      bool raised = false;
      try {
        FUM::uConvert(errors, formulaic, got, unit, si, true, 1.0);
      } catch (const Error&) {
        raised = true;
      }
      if (raised || errors != 0) {
        std::string why;
        FUM::uErrorText(errors, why);
        return "column \"" + col.name + "\": unit \"" + std::string(unit) + "\" is not in the unit catalogue" +
               (why.empty() ? "" : " (" + why + ")");
      }
      if (!SameDims(got, *dims)) {
        return "column \"" + col.name + "\": unit \"" + std::string(unit) + "\" is a " + DimensionName(got) +
               ", the column holds a " + DimensionName(*dims);
      }
      col.unit = std::string(unit);
    }
    const int index = static_cast<int>(layout.columns.size());
    switch (col.kind) {
      case ColumnKind::Time: layout.time = index; break;
      case ColumnKind::Duration: layout.duration = index; break;
      case ColumnKind::UpstreamPressure: layout.upstream = true; break;
      case ColumnKind::Frequency: layout.frequency = true; break;
      case ColumnKind::Component: layout.composition = true; break;
      default: break;
    }
    layout.columns.push_back(std::move(col));
  }
  auto has = [&](std::string_view key) { return std::find(seen.begin(), seen.end(), key) != seen.end(); };
  if (!has("dp")) return "missing column \"dp\"";
  if (has("static_pressure") && has("upstream_pressure")) {
    return "columns \"static_pressure\" and \"upstream_pressure\": give one of them, not both";
  }
  if (!has("static_pressure") && !has("upstream_pressure")) {
    return "missing column \"static_pressure\" or \"upstream_pressure\"";
  }
  if (!has("flowing_temperature")) return "missing column \"flowing_temperature\"";
  if (needTime && !has("time")) return "missing column \"time\" (the totals need the record times)";
  return {};
}

void ReadRow(const InputLayout& layout, InputRow& row) {
  row.error.clear();
  row.record = Record{};
  row.record.upstream = layout.upstream;
  row.record.hasComposition = layout.composition;
  row.record.x.fill(kAbsent);
  row.time = kAbsent;
  row.duration = kAbsent;
  const std::size_t n = layout.columns.size();
  // The time first, whatever the column order and whatever else is wrong with the record, so that
  // a damaged record still ends the interval before it and is booked in its own period.
  if (layout.time >= 0 && static_cast<std::size_t>(layout.time) < row.fields.size()) {
    const InputColumn& col = layout.columns[static_cast<std::size_t>(layout.time)];
    const std::string& text = row.fields[static_cast<std::size_t>(layout.time)];
    bool iso = false;
    double t = 0.0;
    if (!ParseTime(text, t, iso)) {
      row.error = "time: not a date-time or a number of seconds: \"" + text + "\"";
      return;
    }
    if (!iso && !ToSi(col.unit, t, t)) {
      row.error = "time: does not convert";
      return;
    }
    row.time = t;
  }
  if (row.fields.size() < n) {
    row.error = "truncated record: " + std::to_string(row.fields.size()) + " of " + std::to_string(n) + " fields";
    return;
  }
  if (row.fields.size() > n) {
    row.error = std::to_string(row.fields.size()) + " fields, the header has " + std::to_string(n);
    return;
  }
  for (std::size_t i = 0; i < n; ++i) {
    const InputColumn& col = layout.columns[i];
    const std::string& text = row.fields[i];
    if (col.kind == ColumnKind::Pass || col.kind == ColumnKind::Time) continue;
    const bool optional = col.kind == ColumnKind::Frequency || col.kind == ColumnKind::Component ||
                          col.kind == ColumnKind::Duration;
    if (text.find_first_not_of(" \t") == std::string::npos) {
      if (optional) continue;
      row.error = col.name + ": empty";
      return;
    }
    double v = 0.0;
    if (!ParseNumber(text, v)) {
      row.error = col.name + ": not a finite number: \"" + text + "\"";
      return;
    }
    double si = v;
    if (!ToSi(col.unit, v, si)) {
      row.error = col.name + ": \"" + text + "\" does not convert to SI";
      return;
    }
    switch (col.kind) {
      case ColumnKind::Dp: row.record.dp = si; break;
      case ColumnKind::StaticPressure:
      case ColumnKind::UpstreamPressure: row.record.pressure = si; break;
      case ColumnKind::Temperature: row.record.temperature = si; break;
      case ColumnKind::Frequency: row.record.frequency = si; break;
      case ColumnKind::Duration:
        if (si < 0.0) {
          row.error = col.name + ": a negative duration: \"" + text + "\"";
          return;
        }
        row.duration = si;
        break;
      case ColumnKind::Component: row.record.x[static_cast<std::size_t>(col.component)] = si; break;
      default: break;
    }
  }
}

// ---- Writing --------------------------------------------------------------------------------

namespace {

// Frequency (index 4) is written only when the input carries it.
constexpr std::size_t kFrequencyColumn = 4;
constexpr OutputColumn kColumns[] = {
    {"dp", "pa", &Results::dp},
    {"static_pressure", "pa", &Results::staticPressure},
    {"upstream_pressure", "pa", &Results::upstreamPressure},
    {"flowing_temperature", "K", &Results::temperature},
    {"frequency", "1/s", &Results::frequency},
    {"mass_flow", "kg/s", &Results::massFlow},
    {"std_volume_flow", "m3/s", &Results::stdVolumeFlow},
    {"actual_volume_flow", "m3/s", &Results::actualVolumeFlow},
    {"energy_flow", "watt", &Results::energyFlow},
    {"cd", "", &Results::cd},
    {"expansion_factor", "", &Results::expansionFactor},
    {"reynolds", "", &Results::reynolds},
    {"z_flowing", "", &Results::zFlowing},
    {"z_base", "", &Results::zBase},
    {"density_flowing", "kg/m3", &Results::densityFlowing},
    {"density_base", "kg/m3", &Results::densityBase},
};

bool NeedsQuotes(std::string_view field) {
  return field.find_first_of(",\"\r\n") != std::string_view::npos ||
         (!field.empty() && (field.front() == ' ' || field.back() == ' '));
}

}  // namespace

std::span<const OutputColumn> OutputColumns() { return kColumns; }

void AppendCsvField(std::string_view field, std::string& out) {
  if (!NeedsQuotes(field)) {
    out.append(field);
    return;
  }
  out.push_back('"');
  for (const char c : field) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

void AppendJsonString(std::string_view text, std::string& out) {
  out.push_back('"');
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20 || c == 0x7f) {
            char esc[8];
            std::snprintf(esc, sizeof esc, "\\u%04x", c);
            out += esc;
          } else {
            out.push_back(static_cast<char>(c));
          }
      }
      ++i;
      continue;
    }
    // The longest valid UTF-8 sequence starting here, else one replaced byte.
    std::size_t len = c >= 0xf0 ? 4 : c >= 0xe0 ? 3 : c >= 0xc0 ? 2 : 1;
    if (len > 1 && i + len <= text.size() && UTF8::Length(text.substr(i, len)) == std::size_t{1}) {
      out.append(text.substr(i, len));
      i += len;
    } else {
      out += "\xef\xbf\xbd";
      ++i;
    }
  }
  out.push_back('"');
}

void AppendNumber(double x, bool json, std::string& out) {
  if (!std::isfinite(x)) {
    if (json) out += "null";
    return;
  }
  // The same text as printf "%.17g", written in place when the line has room (no copy, no allocation).
  const std::size_t size = out.size();
  if (out.capacity() - size < Numerics::kFormatG17Max) {
    char buffer[Numerics::kFormatG17Max];
    out.append(buffer, Numerics::FormatG17(x, buffer));
    return;
  }
  out.resize(size + Numerics::kFormatG17Max);
  char* end = Numerics::FormatG17(x, out.data() + size);
  out.resize(static_cast<std::size_t>(end - out.data()));
}

double ToDisplay(const DisplayUnit& u, double si) {
  if (u.unit.empty() || !std::isfinite(si)) return si;
  if (!u.formulaic) return si / u.factor;
  FUM::UnitErrors errors = 0;
  bool formulaic = false;
  FUM::Dims dims{};
  double result = si;
  try {
    FUM::uConvert(errors, formulaic, dims, u.unit, result, false, si);
  } catch (const Error&) {
    return kAbsent;
  }
  // A value outside the formula's range has no display value; it is written as absent.
  return errors == 0 && std::isfinite(result) ? result : kAbsent;
}

DisplayUnits StateDisplayUnits(bool everyList, std::span<const int> lists) {
  using QMXcalc::State;
  const State& s = QMXcalc::Calc();
  auto chosen = [&](int list) { return everyList || std::find(lists.begin(), lists.end(), list) != lists.end(); };
  // The unit a value of the state shows, so a column reads as calc shows the same quantity.
  auto ofValue = [&](int list, const QMXcalc::DV& dv) {
    DisplayUnit u;
    if (list < 0 || !chosen(list) || !dv) return u;
    FUM::uDVgetUnits(u.unit, *dv);
    u.formulaic = FUM::uDVisFormulaic(*dv);
    if (!u.formulaic) FUM::uDVgetFactor(u.factor, *dv);
    return u;
  };
  // The unit of a list that governs no value of the state (the totals).
  auto ofList = [&](int list) {
    DisplayUnit u;
    if (!chosen(list)) return u;
    u.unit = QMXcalc::ListUnits(list);
    u.formulaic = FUM::uIsFormulaic(u.unit);
    if (!u.formulaic) {
      FUM::UnitErrors errors = 0;
      bool formulaic = false;
      FUM::Dims dims{};
      double si = 1.0;
      FUM::uConvert(errors, formulaic, dims, u.unit, si, true, 1.0);
      if (errors != 0 || !(si > 0.0) || !std::isfinite(si)) return DisplayUnit{};
      u.factor = si;
    }
    return u;
  };
  const bool liquid = s.fluid == QMXcalc::kGenericLiquid || s.fluid == QMXcalc::kHydrocarbonLiquid;
  struct Governed {
    int list;
    QMXcalc::DV State::*field;
  };
  // In the order of kColumns; list -1 for a column no list governs.
  const Governed governed[] = {
      {QMXcalc::kDpUnits, &State::dp},
      {QMXcalc::kPressureUnits, &State::staticPressure},
      {QMXcalc::kPressureUnits, &State::upstreamPressure},
      {QMXcalc::kTemperatureUnits, &State::flowingTemperature},
      {-1, nullptr},
      {QMXcalc::kMassFlowUnits, &State::massFlow},
      {QMXcalc::kGasVolumeFlowUnits, &State::stdVolumeFlow},
      {liquid ? QMXcalc::kLiquidVolumeFlowUnits : QMXcalc::kGasVolumeFlowUnits, &State::actualVolumeFlow},
      {QMXcalc::kEnergyFlowUnits, &State::energyFlow},
      {-1, nullptr},
      {-1, nullptr},
      {-1, nullptr},
      {-1, nullptr},
      {-1, nullptr},
      {QMXcalc::kGasDensityUnits, &State::densityFlowing},
      {QMXcalc::kGasDensityUnits, &State::densityBase},
  };
  static_assert(std::size(governed) == std::size(kColumns));
  DisplayUnits units;
  units.columns.resize(std::size(kColumns));
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    if (governed[i].field != nullptr) units.columns[i] = ofValue(governed[i].list, s.*governed[i].field);
  }
  units.mass = ofList(QMXcalc::kMassTotalUnits);
  // The standard volume total follows the same list family as the standard volume flow.
  units.stdVolume = ofList(QMXcalc::kGasVolumeTotalUnits);
  units.energy = ofList(QMXcalc::kEnergyTotalUnits);
  units.dp = units.columns[0];
  units.pressure = units.columns[2];
  units.temperature = units.columns[3];
  return units;
}

RowWriter::RowWriter(const InputLayout& layout, bool jsonl, const DisplayUnits* units)
    : layout_(layout), jsonl_(jsonl), frequency_(layout.frequency), units_(units) {
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    const std::string name = ColumnName(i);
    csvNames_.push_back(name);
    std::string key = ",";
    AppendJsonString(Converted(i) ? std::string_view(name) : kColumns[i].name, key);
    key.push_back(':');
    jsonKeys_.push_back(std::move(key));
  }
}

bool RowWriter::Converted(std::size_t i) const {
  return units_ != nullptr && i < units_->columns.size() && !units_->columns[i].unit.empty();
}

std::string RowWriter::ColumnName(std::size_t i) const {
  const OutputColumn& c = kColumns[i];
  if (Converted(i)) return std::string(c.name) + "[" + units_->columns[i].unit + "]";
  return c.unit.empty() ? std::string(c.name) : std::string(c.name) + "[" + std::string(c.unit) + "]";
}

double RowWriter::Value(std::size_t i, const Results& r) const {
  const double si = r.*kColumns[i].value;
  return Converted(i) ? ToDisplay(units_->columns[i], si) : si;
}

void RowWriter::Header(std::string& out) const {
  if (jsonl_) return;
  bool first = true;
  auto field = [&](std::string_view text) {
    if (!first) out.push_back(',');
    first = false;
    AppendCsvField(text, out);
  };
  field("time");
  for (const InputColumn& c : layout_.columns) {
    if (c.kind == ColumnKind::Pass || c.kind == ColumnKind::Component || c.kind == ColumnKind::Duration) field(c.name);
  }
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    if (i == kFrequencyColumn && !frequency_) continue;
    field(csvNames_[i]);
  }
  for (const std::string_view name : kStatusColumns) field(name);
  out.push_back('\n');
}

void RowWriter::Row(const InputRow& row, const Results* results, std::string& out) const {
  const std::string_view time =
      layout_.time >= 0 && static_cast<std::size_t>(layout_.time) < row.fields.size()
          ? std::string_view(row.fields[static_cast<std::size_t>(layout_.time)])
          : std::string_view();
  auto passed = [&](std::size_t i) -> std::string_view {
    return i < row.fields.size() ? std::string_view(row.fields[i]) : std::string_view();
  };
  if (jsonl_) {
    out += "{\"time\":";
    AppendJsonString(time, out);
    for (std::size_t i = 0; i < layout_.columns.size(); ++i) {
      const InputColumn& c = layout_.columns[i];
      if (c.kind != ColumnKind::Pass && c.kind != ColumnKind::Component && c.kind != ColumnKind::Duration) continue;
      out.push_back(',');
      AppendJsonString(c.name, out);
      out.push_back(':');
      AppendJsonString(passed(i), out);
    }
    for (std::size_t i = 0; i < std::size(kColumns); ++i) {
      if (i == kFrequencyColumn && !frequency_) continue;
      out += jsonKeys_[i];
      AppendNumber(results != nullptr ? Value(i, *results) : kAbsent, true, out);
    }
    out += ",\"meter_flags\":";
    if (results != nullptr) {
      out += std::to_string(results->meterFlags);
    } else {
      out += "null";
    }
    out += ",\"warning\":";
    AppendJsonString(results != nullptr ? std::string_view(results->warning) : std::string_view(), out);
    out += ",\"error\":";
    if (results != nullptr) {
      out += "null";
    } else {
      AppendJsonString(row.error, out);
    }
    out += "}\n";
    return;
  }
  AppendCsvField(time, out);
  for (std::size_t i = 0; i < layout_.columns.size(); ++i) {
    const InputColumn& c = layout_.columns[i];
    if (c.kind != ColumnKind::Pass && c.kind != ColumnKind::Component && c.kind != ColumnKind::Duration) continue;
    out.push_back(',');
    AppendCsvField(passed(i), out);
  }
  for (std::size_t i = 0; i < std::size(kColumns); ++i) {
    if (i == kFrequencyColumn && !frequency_) continue;
    out.push_back(',');
    if (results != nullptr) AppendNumber(Value(i, *results), false, out);
  }
  out.push_back(',');
  if (results != nullptr) out += std::to_string(results->meterFlags);
  out.push_back(',');
  if (results != nullptr) AppendCsvField(results->warning, out);
  out.push_back(',');
  if (results == nullptr) AppendCsvField(row.error, out);
  out.push_back('\n');
}

// ---- Totals ---------------------------------------------------------------------------------

void TotalsAccumulator::Close(std::vector<PeriodTotals>& closed) {
  if (!haveOpen_) return;
  PeriodTotals& p = open_;
  if (wMass_ > 0.0) {
    p.dp = sDpM_ / wMass_;
    p.pressure = sPM_ / wMass_;
    p.temperature = sTM_ / wMass_;
  } else if (wTime_ > 0.0) {
    p.dp = sDpT_ / wTime_;
    p.pressure = sPT_ / wTime_;
    p.temperature = sTT_ / wTime_;
  } else if (okCount_ > 0) {
    const auto n = static_cast<double>(okCount_);
    p.dp = sDp_ / n;
    p.pressure = sP_ / n;
    p.temperature = sT_ / n;
  }
  closed.push_back(p);
  haveOpen_ = false;
  wMass_ = wTime_ = sDpM_ = sPM_ = sTM_ = sDpT_ = sPT_ = sTT_ = sDp_ = sP_ = sT_ = 0.0;
  okCount_ = 0;
}

void TotalsAccumulator::Book(const Pending& r, double dt, std::vector<PeriodTotals>& closed) {
  const double start = std::floor(r.time / period_) * period_;
  if (haveOpen_ && start != open_.start) Close(closed);
  if (!haveOpen_) {
    open_ = PeriodTotals{};
    open_.start = start;
    open_.errors = untimed_;
    open_.records = untimed_;
    untimed_ = 0;
    haveOpen_ = true;
  }
  ++open_.records;
  if (!r.ok) {
    ++open_.errors;
    return;
  }
  const double dm = r.mass * dt;
  open_.seconds += dt;
  open_.mass += dm;
  open_.stdVolume += r.stdVolume * dt;
  open_.energy += std::isfinite(r.energy) ? r.energy * dt : 0.0;
  wMass_ += dm;
  sDpM_ += r.dp * dm;
  sPM_ += r.pressure * dm;
  sTM_ += r.temperature * dm;
  wTime_ += dt;
  sDpT_ += r.dp * dt;
  sPT_ += r.pressure * dt;
  sTT_ += r.temperature * dt;
  sDp_ += r.dp;
  sP_ += r.pressure;
  sT_ += r.temperature;
  ++okCount_;
}

void TotalsAccumulator::Add(double time, double duration, const Results* results,
                            std::vector<PeriodTotals>& closed) {
  if (havePending_) {
    if (time < pending_.time) ++stepsBack_;
    double dt = pending_.duration;
    if (std::isnan(dt)) {
      // Times that go backwards give the record no flow time rather than a negative one.
      dt = std::max(0.0, time - pending_.time);
    }
    lastInterval_ = std::max(0.0, time - pending_.time);
    haveInterval_ = true;
    Book(pending_, dt, closed);
  }
  Pending p;
  p.time = time;
  p.duration = duration;
  p.ok = results != nullptr;
  if (results != nullptr) {
    p.mass = results->massFlow;
    p.stdVolume = results->stdVolumeFlow;
    p.energy = results->energyFlow;
    p.dp = results->dp;
    p.pressure = results->upstreamPressure;
    p.temperature = results->temperature;
  }
  pending_ = p;
  havePending_ = true;
}

void TotalsAccumulator::AddUntimed(std::vector<PeriodTotals>&) {
  if (haveOpen_) {
    ++open_.records;
    ++open_.errors;
  } else {
    ++untimed_;
  }
}

void TotalsAccumulator::Finish(std::vector<PeriodTotals>& closed) {
  if (havePending_) {
    const double dt = !std::isnan(pending_.duration) ? pending_.duration : haveInterval_ ? lastInterval_ : 0.0;
    Book(pending_, dt, closed);
    havePending_ = false;
  }
  Close(closed);
  if (untimed_ > 0) {
    // Only records without a readable time: one period of errors with no start.
    PeriodTotals p;
    p.start = kAbsent;
    p.records = p.errors = untimed_;
    untimed_ = 0;
    closed.push_back(p);
  }
}

namespace {

// The converted totals columns: mass, std_volume, energy, dp, upstream_pressure,
// flowing_temperature (after records, errors and duration).
struct TotalsColumn {
  std::string_view name;
  std::string_view unit;
  const DisplayUnit DisplayUnits::*display;
};
constexpr TotalsColumn kTotalsColumns[] = {
    {"duration", "s", nullptr},
    {"mass", "kg", &DisplayUnits::mass},
    {"std_volume", "m3", &DisplayUnits::stdVolume},
    {"energy", "j", &DisplayUnits::energy},
    {"dp", "pa", &DisplayUnits::dp},
    {"upstream_pressure", "pa", &DisplayUnits::pressure},
    {"flowing_temperature", "K", &DisplayUnits::temperature},
};

const DisplayUnit* TotalsUnit(const TotalsColumn& c, const DisplayUnits* units) {
  if (units == nullptr || c.display == nullptr || (units->*c.display).unit.empty()) return nullptr;
  return &(units->*c.display);
}

}  // namespace

void WriteTotalsHeader(std::string& out, const DisplayUnits* units) {
  out += "period,records,errors";
  for (const TotalsColumn& c : kTotalsColumns) {
    const DisplayUnit* u = TotalsUnit(c, units);
    out.push_back(',');
    AppendCsvField(std::string(c.name) + "[" + (u != nullptr ? u->unit : std::string(c.unit)) + "]", out);
  }
  out.push_back('\n');
}

void WriteTotals(const PeriodTotals& p, bool jsonl, bool isoTimes, std::string& out, const DisplayUnits* units) {
  std::string start;
  if (isoTimes) {
    start = IsoTime(p.start);
  } else {
    AppendNumber(p.start, false, start);
  }
  const double si[] = {p.seconds, p.mass, p.stdVolume, p.energy, p.dp, p.pressure, p.temperature};
  static_assert(std::size(si) == std::size(kTotalsColumns));
  double values[std::size(si)];
  for (std::size_t i = 0; i < std::size(si); ++i) {
    const DisplayUnit* u = TotalsUnit(kTotalsColumns[i], units);
    values[i] = u != nullptr ? ToDisplay(*u, si[i]) : si[i];
  }
  if (jsonl) {
    out += "{\"period\":";
    if (start.empty()) {
      out += "null";
    } else {
      AppendJsonString(start, out);
    }
    out += ",\"records\":" + std::to_string(p.records) + ",\"errors\":" + std::to_string(p.errors);
    for (std::size_t i = 0; i < std::size(values); ++i) {
      const DisplayUnit* u = TotalsUnit(kTotalsColumns[i], units);
      out.push_back(',');
      AppendJsonString(u != nullptr ? std::string(kTotalsColumns[i].name) + "[" + u->unit + "]"
                                    : std::string(kTotalsColumns[i].name),
                       out);
      out.push_back(':');
      AppendNumber(values[i], true, out);
    }
    out += "}\n";
    return;
  }
  AppendCsvField(start, out);
  out += "," + std::to_string(p.records) + "," + std::to_string(p.errors);
  for (const double v : values) {
    out.push_back(',');
    AppendNumber(v, false, out);
  }
  out.push_back('\n');
}

}  // namespace qmx::BATCH
