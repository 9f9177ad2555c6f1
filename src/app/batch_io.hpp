#pragma once
// Record files of batch recalculation: the comma-separated reader (RFC 4180, streaming, quoted
// fields, units in the header's brackets), the row writer (CSV or JSON Lines, SI values with 17
// significant digits, each CSV header naming its unit) and the per-period totals.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "app/batch.hpp"

namespace qmx::BATCH {

// ---- Reading --------------------------------------------------------------------------------

// Streams records out of a byte source. Fields may be quoted ("a, ""b"""), quoted fields may hold
// line breaks; lines end in LF, CRLF or CR; blank lines are no records.
class CsvReader {
 public:
  // Fills the buffer with up to n bytes; 0 at the end of the input.
  using Source = std::function<std::size_t(char* buffer, std::size_t n)>;
  static constexpr std::size_t kMaxRecordBytes = std::size_t{1} << 20;
  static constexpr std::size_t kMaxFields = 4096;

  explicit CsvReader(Source source);
  // The next record's fields; false at the end of the input. `error` receives why a record is
  // damaged (too long, too many fields, an unterminated quote, bytes that are not UTF-8 text),
  // empty otherwise; the fields then hold what could be read.
  bool Next(std::vector<std::string>& fields, std::string& error);
  std::uint64_t BytesRead() const { return consumed_; }

 private:
  int Get();   // the next byte, or -1 at the end
  int Peek();  // the next byte without taking it, or -1
  bool Fill();
  // Keeping the bytes read from here on, until the record ends or they are read again.
  void StartCapture();
  void StopCapture();
  std::size_t CapturedBytes() const;
  // The kept bytes become the next input.
  void ReplayCapture();

  Source source_;
  std::vector<char> buffer_;
  std::size_t pos_ = 0, end_ = 0;
  bool eof_ = false;
  std::uint64_t consumed_ = 0;
  bool capturing_ = false;
  std::string capture_;           // kept bytes that have left the buffer
  std::size_t captureFrom_ = 0;   // where the kept bytes begin in the buffer
};

// What a column of the input holds.
enum class ColumnKind : std::uint8_t {
  Time, Dp, StaticPressure, UpstreamPressure, Temperature, Frequency, Duration, Component, Pass,
};

struct InputColumn {
  ColumnKind kind = ColumnKind::Pass;
  int component = 0;  // for Component: the 21-component index
  std::string name;   // the header text as given, unit included
  std::string unit;   // the unit in brackets; empty for SI
};

struct InputLayout {
  std::vector<InputColumn> columns;
  int time = -1;      // column of the time stamps, -1 when there is none
  int duration = -1;  // column of duration_s, -1 when there is none
  bool upstream = false;
  bool frequency = false;
  bool composition = false;
};

// The layout of a header row. Returns an empty text, or the usage error naming the column: a
// unit that is not in the catalogue or does not fit the column's dimension, a column given
// twice, a missing required column (dp, static_pressure or upstream_pressure,
// flowing_temperature, and time when `needTime`).
std::string ReadHeader(const std::vector<std::string>& fields, bool needTime, InputLayout& layout);

// One input record as read, with the reason it cannot be computed when it cannot.
struct InputRow {
  std::vector<std::string> fields;
  Record record;
  double time = kAbsent;      // seconds (since 1970-01-01 UTC for a date-time)
  double duration = kAbsent;  // seconds, from duration_s
  std::string error;
};

// Reads a data row's fields into its record, or sets its error.
void ReadRow(const InputLayout& layout, InputRow& row);

// A number as every command reads it: blanks around it ignored, ".6" and "6." numbers; NaN,
// infinity, hexadecimal, overflow and any other text refused.
bool ParseNumber(std::string_view text, double& x);
// A time stamp: ISO 8601 date-time "YYYY-MM-DD[T ]hh:mm[:ss[.fff]][Z|+hh:mm|-hh:mm]" (no offset:
// taken as UTC), or seconds as a number. `iso` tells which it was.
bool ParseTime(std::string_view text, double& seconds, bool& iso);
// Seconds since 1970-01-01 UTC as "YYYY-MM-DDThh:mm:ssZ" (fractions of a second kept to ms).
std::string IsoTime(double seconds);

// ---- Writing --------------------------------------------------------------------------------

// A result column: its name (the JSON member), SI unit (empty for a number without one) and value.
struct OutputColumn {
  std::string_view name;
  std::string_view unit;
  double Results::*value;
};
// The numeric output columns in order: the inputs used, then the results.
std::span<const OutputColumn> OutputColumns();

// The unit an output value is written in: the SI value divided by the unit's factor, or converted
// by the unit's formula (C, F, api).
struct DisplayUnit {
  std::string unit;  // empty: the column's SI unit, value unchanged
  double factor = 1.0;
  bool formulaic = false;
};
// The SI value in the display unit; allocates nothing.
double ToDisplay(const DisplayUnit& u, double si);

// The display units of the output: one per output column (OutputColumns order) and those of the
// totals. A column whose unit is empty keeps SI and its plain name.
struct DisplayUnits {
  std::vector<DisplayUnit> columns;
  DisplayUnit mass, stdVolume, energy, dp, pressure, temperature;
};
// The display units of the calling thread's calculation state, taken from the quantity lists that
// were chosen (every list when `everyList`, else those in `lists`): dp, pressures, temperature,
// mass, standard and actual volume (the liquid list for a liquid's actual volume), energy and
// the densities; the totals from the total lists and the dp, pressure and temperature lists.
DisplayUnits StateDisplayUnits(bool everyList, std::span<const int> lists);

// Writes records as CSV (a header row first) or JSON Lines: the time as given, the columns passed
// through (and composition entries) as given, every output column, meter_flags, warning and error.
// With display units, a converted column is written in its unit and its name (CSV header and JSON
// member alike) carries the unit in brackets, as "mass_flow[kg/hr]".
class RowWriter {
 public:
  // `units` (may be null: SI) must outlive the writer.
  RowWriter(const InputLayout& layout, bool jsonl, const DisplayUnits* units = nullptr);
  // The CSV header line (nothing for JSON Lines).
  void Header(std::string& out) const;
  // One record; `results` is null when the record has an error.
  void Row(const InputRow& row, const Results* results, std::string& out) const;

 private:
  bool Converted(std::size_t i) const;
  std::string ColumnName(std::size_t i) const;
  double Value(std::size_t i, const Results& r) const;

  const InputLayout& layout_;
  bool jsonl_;
  bool frequency_;
  const DisplayUnits* units_;
  std::vector<std::string> csvNames_;  // the CSV header text of each output column
  std::vector<std::string> jsonKeys_;  // ',"name":' of each output column
};

// Appends a field quoted as RFC 4180 asks (when it holds a comma, quote or line break).
void AppendCsvField(std::string_view field, std::string& out);
// Appends a JSON string literal; bytes that are not UTF-8 text become U+FFFD.
void AppendJsonString(std::string_view text, std::string& out);
// Appends a number with 17 significant digits; nothing (CSV) or null (JSON) when not finite.
void AppendNumber(double x, bool json, std::string& out);

// ---- Totals ---------------------------------------------------------------------------------

// The totals of one period, as a flow computer's hourly or daily record holds them.
struct PeriodTotals {
  double start = 0.0;       // seconds, as the record times
  double seconds = 0.0;     // flow time integrated
  double mass = 0.0;        // kg
  double stdVolume = 0.0;   // m3 at base conditions
  double energy = 0.0;      // J
  double dp = kAbsent;      // flow-weighted averages: Pa, Pa (upstream, absolute), K
  double pressure = kAbsent;
  double temperature = kAbsent;
  std::uint64_t records = 0;
  std::uint64_t errors = 0;
};

// Integrates records in input order into periods of `periodSeconds`. A record's duration is its
// duration_s, else the time to the next record; the last record takes the interval before it.
// A record belongs wholly to the period its time stamp falls in; a record with an error adds no
// flow. The averages weigh by mass (by time when no mass flowed).
class TotalsAccumulator {
 public:
  explicit TotalsAccumulator(double periodSeconds) : period_(periodSeconds) {}
  // A record with a valid time; `results` null for a record with an error.
  void Add(double time, double duration, const Results* results, std::vector<PeriodTotals>& closed);
  // A record whose time could not be read: counted as an error of the open period.
  void AddUntimed(std::vector<PeriodTotals>& closed);
  // Ends the input: the held record and the open period are closed.
  void Finish(std::vector<PeriodTotals>& closed);
  // How many records had a time before the record ahead of them. Each such step back gives a
  // period a further row and the record before it no flow time.
  std::uint64_t StepsBack() const { return stepsBack_; }

 private:
  struct Pending {
    double time = 0.0, duration = kAbsent;
    bool ok = false;
    double mass = 0.0, stdVolume = 0.0, energy = 0.0, dp = 0.0, pressure = 0.0, temperature = 0.0;
  };
  void Book(const Pending& p, double dt, std::vector<PeriodTotals>& closed);
  void Close(std::vector<PeriodTotals>& closed);

  double period_;
  bool havePending_ = false, haveOpen_ = false, haveInterval_ = false;
  Pending pending_;
  double lastInterval_ = 0.0;
  PeriodTotals open_;
  std::uint64_t untimed_ = 0;
  std::uint64_t stepsBack_ = 0;
  // Weighted sums of the open period.
  double wMass_ = 0.0, wTime_ = 0.0, sDpM_ = 0.0, sPM_ = 0.0, sTM_ = 0.0, sDpT_ = 0.0, sPT_ = 0.0,
         sTT_ = 0.0, sDp_ = 0.0, sP_ = 0.0, sT_ = 0.0;
  std::uint64_t okCount_ = 0;
};

// Writes periods as CSV (header row with units when `header`) or JSON Lines rows with "period";
// the start is written as a date-time when the input times were date-times. With display units
// the mass, volume, energy and averages are written in theirs, named as the record columns are.
void WriteTotalsHeader(std::string& out, const DisplayUnits* units = nullptr);
void WriteTotals(const PeriodTotals& p, bool jsonl, bool isoTimes, std::string& out,
                 const DisplayUnits* units = nullptr);

}  // namespace qmx::BATCH
