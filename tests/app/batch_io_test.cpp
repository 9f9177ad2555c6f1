// Record files of batch recalculation: the RFC 4180 reader, header units and their dimension
// check, time stamps, the row writer and the per-period totals against hand computations.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/batch_io.hpp"

namespace {

using namespace qmx::BATCH;

// A reader over a text, fed in pieces of `piece` bytes so that records cross buffer ends.
struct TextSource {
  std::string text;
  std::size_t pos = 0, piece = 3;
  std::size_t operator()(char* buffer, std::size_t n) {
    const std::size_t k = std::min({n, piece, text.size() - pos});
    std::memcpy(buffer, text.data() + pos, k);
    pos += k;
    return k;
  }
};

struct Read {
  std::vector<std::string> fields;
  std::string error;
};

std::vector<Read> ReadAll(const std::string& text, std::size_t piece = 3) {
  CsvReader reader{TextSource{text, 0, piece}};
  std::vector<Read> out;
  Read r;
  for (int guard = 0; guard < 100 && reader.Next(r.fields, r.error); ++guard) out.push_back(r);
  return out;
}

TEST(CsvReader, QuotingLineEndsAndDamage) {
  struct Case {
    std::string text;
    std::vector<std::vector<std::string>> records;
    std::vector<std::string> errors;  // a part of each record's error, "" for none
  };
  const Case cases[] = {
      {"a,b\n", {{"a", "b"}}, {""}},
      {"\"a,b\",\"c\"\"d\"\r\nx,y\r\n", {{"a,b", "c\"d"}, {"x", "y"}}, {"", ""}},
      {"\"two\nlines\",x\n", {{"two\nlines", "x"}}, {""}},
      {"a,b", {{"a", "b"}}, {""}},                           // last line without a line end
      {"\n\r\n a\n\n", {{" a"}}, {""}},                       // blank lines are no records
      {"a,,\n", {{"a", "", ""}}, {""}},
      // A quote open at the end of the input ends its record at its first line break; the lines
      // after it are records again.
      {"x,\"open\nmore", {{"x", "open"}, {"more"}}, {"unterminated quoted field", ""}},
      {"x,\"open\r\n1,a\r\n2,c\r\n", {{"x", "open"}, {"1", "a"}, {"2", "c"}},
       {"unterminated quoted field", "", ""}},
      {"x,\"a\nb\",\"c\nd", {{"x", "a"}, {"b\"", "c"}, {"d"}},
       {"unterminated quoted field", "unterminated quoted field", ""}},
      {"a,\xff\xfe\nb,c\n", {{"a", "\xff\xfe"}, {"b", "c"}}, {"not UTF-8 text in field 2", ""}},
      {std::string("a,b\0c\n", 6), {{"a", std::string("b\0c", 3)}}, {"not UTF-8 text"}},
      {"\"a\"b,c\n", {{"ab", "c"}}, {"text after a closing quote"}},
      {"a\rb\n", {{"a"}, {"b"}}, {"", ""}},
  };
  // Byte by byte, in small pieces and whole: runs of ordinary bytes are taken at once when the
  // buffer holds them, so every case is read the three ways.
  for (const std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{1} << 20})
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text + " in pieces of " + std::to_string(piece));
    const std::vector<Read> got = ReadAll(c.text, piece);
    ASSERT_EQ(got.size(), c.records.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].fields, c.records[i]);
      if (c.errors[i].empty()) {
        EXPECT_EQ(got[i].error, "");
      } else {
        EXPECT_NE(got[i].error.find(c.errors[i]), std::string::npos) << got[i].error;
      }
    }
  }
}

TEST(CsvReader, OverlongRecordIsCutAndTheNextIsRead) {
  for (const std::size_t piece : {std::size_t{3}, std::size_t{1} << 16}) {
    std::string text = "a," + std::string(CsvReader::kMaxRecordBytes + 10, 'x') + "\nb,c\n";
    const std::vector<Read> got = ReadAll(text, piece);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_NE(got[0].error.find("longer than"), std::string::npos);
    EXPECT_EQ(got[1].fields, (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(got[1].error, "");
  }
  // Past the limit the quotes are still followed: a line break inside them does not end the
  // record, so its tail is not taken for a record.
  for (const std::size_t piece : {std::size_t{5}, std::size_t{1} << 16}) {
    const std::string text = "a\n1,\"" + std::string(CsvReader::kMaxRecordBytes, 'x') + "\n5,tail\"\n2,c\n";
    const std::vector<Read> got = ReadAll(text, piece);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_NE(got[1].error.find("longer than"), std::string::npos);
    EXPECT_EQ(got[2].fields, (std::vector<std::string>{"2", "c"}));
    EXPECT_EQ(got[2].error, "");
  }
  // The limit counts the bytes of the record without its line end: exactly the limit is read.
  const std::string field(CsvReader::kMaxRecordBytes - 2, 'y');
  for (const std::size_t piece : {std::size_t{7}, std::size_t{1} << 16}) {
    const std::vector<Read> at = ReadAll("a," + field + "\nb\n", piece);
    ASSERT_EQ(at.size(), 2u);
    EXPECT_EQ(at[0].error, "");
    EXPECT_EQ(at[0].fields, (std::vector<std::string>{"a", field}));
    const std::vector<Read> past = ReadAll("a," + field + "z\nb\n", piece);
    ASSERT_EQ(past.size(), 2u);
    EXPECT_NE(past[0].error.find("longer than"), std::string::npos);
    EXPECT_EQ(past[1].fields, (std::vector<std::string>{"b"}));
  }
}

// One stray quote early in a long file: the records after its line are all read, whether the input
// ends inside the quote or the quote runs past the record limit.
TEST(CsvReader, StrayQuoteDoesNotSwallowTheRecordsAfterIt) {
  for (const int lines : {1000, 120000}) {  // about 12 kB, and past the 1 MiB record limit
    std::string text = "time,note\n0,\"12 inch\n";
    for (int i = 1; i <= lines; ++i) text += std::to_string(i) + ",ok\n";
    for (const std::size_t piece : {std::size_t{4096}, std::size_t{1} << 16}) {
      SCOPED_TRACE(std::to_string(lines) + " lines in pieces of " + std::to_string(piece));
      CsvReader reader{TextSource{text, 0, piece}};
      Read r;
      std::vector<Read> got;
      for (int guard = 0; guard < lines + 10 && reader.Next(r.fields, r.error); ++guard) got.push_back(r);
      ASSERT_EQ(got.size(), static_cast<std::size_t>(lines) + 2);
      EXPECT_EQ(got[1].fields, (std::vector<std::string>{"0", "12 inch"}));
      EXPECT_NE(got[1].error.find("unterminated quoted field"), std::string::npos);
      for (int i = 1; i <= lines; ++i) {
        const Read& g = got[static_cast<std::size_t>(i) + 1];
        ASSERT_EQ(g.fields, (std::vector<std::string>{std::to_string(i), "ok"})) << "record " << i;
        ASSERT_EQ(g.error, "");
      }
      EXPECT_EQ(reader.BytesRead(), text.size());
    }
  }
}

TEST(BatchHeader, UnitsConvertAsTheCalculatorDoes) {
  InputLayout layout;
  ASSERT_EQ(ReadHeader({"time", "dp[inw]", "static_pressure [psi]", "flowing_temperature[F]", "tag", "x.C1"}, false,
                       layout),
            "");
  InputRow row;
  row.fields = {"2026-12-07T13:31:45Z", "50", "500", "72", "t1", ""};
  ReadRow(layout, row);
  ASSERT_EQ(row.error, "");
  // The values calc gives for "dp=50 inw", "static_pressure=500 psi", "flowing_temperature=72 F".
  EXPECT_NEAR(row.record.dp, 12432.0505594135, 1e-12 * 12432.0);
  EXPECT_NEAR(row.record.pressure, 3447378.6465841802, 1e-12 * 3.4e6);
  EXPECT_NEAR(row.record.temperature, (72.0 - 32.0) / 1.8 + 273.15, 1e-12 * 300.0);
  EXPECT_FALSE(row.record.upstream);
  EXPECT_TRUE(row.record.hasComposition);
  EXPECT_TRUE(std::isnan(row.record.x[0]));  // an empty cell keeps the configured value
  EXPECT_EQ(row.time, 1796650305.0);
}

TEST(BatchHeader, UsageErrorsNameTheColumn) {
  struct Case {
    std::vector<std::string> header;
    bool needTime;
    std::string error;
  };
  const Case cases[] = {
      {{"dp[F]", "static_pressure", "flowing_temperature"}, false, "\"dp[F]\": unit \"F\" is a"},
      {{"dp[furlong]", "static_pressure", "flowing_temperature"}, false, "not in the unit catalogue"},
      {{"dp", "static_pressure", "flowing_temperature[psi]"}, false, "flowing_temperature[psi]"},
      {{"static_pressure", "flowing_temperature"}, false, "missing column \"dp\""},
      {{"dp", "flowing_temperature"}, false, "missing column \"static_pressure\" or \"upstream_pressure\""},
      {{"dp", "static_pressure", "upstream_pressure", "flowing_temperature"}, false, "not both"},
      {{"dp", "static_pressure"}, false, "missing column \"flowing_temperature\""},
      {{"dp", "dp[kpa]", "static_pressure", "flowing_temperature"}, false, "\"dp\" is given twice"},
      {{"dp", "static_pressure", "flowing_temperature", "x.Xe"}, false, "no such component"},
      {{"dp", "static_pressure", "flowing_temperature"}, true, "missing column \"time\""},
      {{"\xef\xbb\xbf" "dp", "static_pressure", "flowing_temperature"}, true, "missing column \"time\""},
      // A passed column may not take a result's name (a JSON Lines row would hold it twice).
      {{"dp", "static_pressure", "flowing_temperature", "mass_flow"}, false,
       "\"mass_flow\" has the name of a result column; rename it (for example \"logged_mass_flow\")"},
      {{"dp", "static_pressure", "flowing_temperature", "std_volume_flow[m3/h]"}, false, "result column"},
      {{"dp", "static_pressure", "flowing_temperature", "error"}, false, "\"error\" has the name"},
  };
  for (const Case& c : cases) {
    InputLayout layout;
    const std::string error = ReadHeader(c.header, c.needTime, layout);
    EXPECT_NE(error.find(c.error), std::string::npos) << error;
  }
}

TEST(BatchRow, RecordErrors) {
  InputLayout layout;
  ASSERT_EQ(ReadHeader({"time", "dp", "upstream_pressure", "flowing_temperature", "duration_s"}, false, layout), "");
  struct Case {
    std::vector<std::string> fields;
    std::string error;
  };
  const Case cases[] = {
      {{"0", "1000", "2e6", "300", "60"}, ""},
      {{"0", "1000", "2e6", "300", ""}, ""},
      {{"0", "1e3x", "2e6", "300", "60"}, "dp: not a finite number"},
      {{"0", "nan", "2e6", "300", "60"}, "dp: not a finite number"},
      {{"0", "1e999", "2e6", "300", "60"}, "dp: not a finite number"},
      {{"0", "0x10", "2e6", "300", "60"}, "dp: not a finite number"},
      {{"0", "", "2e6", "300", "60"}, "dp: empty"},
      {{"0", "1000", "2e6", "300", "-1"}, "negative duration"},
      {{"yesterday", "1000", "2e6", "300", "60"}, "time: not a date-time"},
      {{"0", "1000", "2e6"}, "truncated record: 3 of 5 fields"},
      {{"0", "1000", "2e6", "300", "60", "9"}, "6 fields, the header has 5"},
  };
  for (const Case& c : cases) {
    InputRow row;
    row.fields = c.fields;
    ReadRow(layout, row);
    if (c.error.empty()) {
      EXPECT_EQ(row.error, "");
      EXPECT_TRUE(row.record.upstream);
      EXPECT_EQ(row.record.pressure, 2e6);
    } else {
      EXPECT_NE(row.error.find(c.error), std::string::npos) << row.error;
    }
  }
}

// A damaged record keeps its time stamp wherever the time column stands, so the totals book it in
// its own period and its interval ends the one before it.
TEST(BatchRow, DamagedRecordKeepsItsTime) {
  for (const bool timeLast : {false, true}) {
    std::vector<std::string> header = {"dp", "upstream_pressure", "flowing_temperature"};
    header.insert(timeLast ? header.end() : header.begin(), "time");
    InputLayout layout;
    ASSERT_EQ(ReadHeader(header, true, layout), "");
    const std::vector<std::vector<std::string>> damaged = {
        {"bad", "2e6", "300"}, {"1000", "", "300"}, {"1000", "2e6", "300", "extra"}};
    for (std::vector<std::string> fields : damaged) {
      fields.insert(timeLast ? fields.begin() + 3 : fields.begin(), "2026-01-01T01:30:00Z");
      InputRow row;
      row.fields = fields;
      ReadRow(layout, row);
      EXPECT_NE(row.error, "");
      EXPECT_EQ(row.time, 1767231000.0) << row.error;
    }
  }
}

TEST(BatchTime, IsoAndSeconds) {
  struct Case {
    const char* text;
    bool ok;
    double seconds;
    bool iso;
  };
  const Case cases[] = {
      {"2026-12-07T13:31:45Z", true, 1796650305.0, true},
      {"2026-12-07 13:31:45", true, 1796650305.0, true},
      {"2026-12-07T14:31:45+01:00", true, 1796650305.0, true},
      {"2026-12-07T13:31:45.250Z", true, 1796650305.25, true},
      {"2024-02-29T00:00Z", true, 1709164800.0, true},
      {"1969-12-31T23:59:59Z", true, -1.0, true},
      {"2025-02-29T00:00:00Z", false, 0.0, false},
      {"2026-13-01T00:00:00Z", false, 0.0, false},
      {"2026-12-07T13:31:45Q", false, 0.0, false},
      {"2026-12-07T24:00:00Z", true, 1796688000.0, true},  // the end of the day
      {"2026-12-07T24:30:00Z", false, 0.0, false},
      {"2016-12-31T23:59:60Z", true, 1483228800.0, true},  // a leap second
      {"2026-12-07T13:30:60Z", false, 0.0, false},
      {"2026-12-07T13:31:45+05:", false, 0.0, false},
      {"2026-12-07T18:31:45+0500", true, 1796650305.0, true},
      {"  3600.5 ", true, 3600.5, false},
      {"inf", false, 0.0, false},
  };
  for (const Case& c : cases) {
    double t = 0.0;
    bool iso = false;
    EXPECT_EQ(ParseTime(c.text, t, iso), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(t, c.seconds) << c.text;
      EXPECT_EQ(iso, c.iso) << c.text;
    }
  }
  EXPECT_EQ(IsoTime(1796650305.0), "2026-12-07T13:31:45Z");
  EXPECT_EQ(IsoTime(1796650305.25), "2026-12-07T13:31:45.250Z");
  EXPECT_EQ(IsoTime(-1.0), "1969-12-31T23:59:59Z");
}

TEST(BatchWriter, CsvAndJsonRowsKeepEveryRecord) {
  InputLayout layout;
  ASSERT_EQ(ReadHeader({"time", "dp", "static_pressure", "flowing_temperature", "note"}, false, layout), "");
  InputRow ok;
  ok.fields = {"t0", "1", "2", "3", "a \"quoted\", note"};
  Results r;
  r.massFlow = 0.1;
  r.energyFlow = kAbsent;
  r.warning = "beta over limit!";
  InputRow bad;
  bad.fields = {"t1", "x", "2", "3", "\xff"};
  bad.error = "dp: not a finite number: \"x\"";
  const RowWriter csv(layout, false);
  std::string out;
  csv.Header(out);
  EXPECT_EQ(out.substr(0, 48), "time,note,dp[pa],static_pressure[pa],upstream_pr");
  EXPECT_NE(out.find(",mass_flow[kg/s],std_volume_flow[m3/s],"), std::string::npos);
  out.clear();
  csv.Row(ok, &r, out);
  EXPECT_EQ(out.substr(0, 29), "t0,\"a \"\"quoted\"\", note\",0,0,0");
  EXPECT_NE(out.find(",0.10000000000000001,"), std::string::npos);  // 17 significant digits
  EXPECT_NE(out.find(",,"), std::string::npos);                      // energy not computed
  out.clear();
  csv.Row(bad, nullptr, out);
  EXPECT_EQ(out.back(), '\n');
  EXPECT_NE(out.find("\"dp: not a finite number: \"\"x\"\"\""), std::string::npos) << out;
  const RowWriter json(layout, true);
  out.clear();
  json.Row(bad, nullptr, out);
  EXPECT_NE(out.find("\"note\":\"\xef\xbf\xbd\""), std::string::npos) << out;
  EXPECT_NE(out.find("\"mass_flow\":null"), std::string::npos);
  EXPECT_NE(out.find("\"error\":\"dp: not a finite number: \\\"x\\\"\"}"), std::string::npos) << out;
}

// Output columns in display units: converted values, the unit in the name of CSV header and JSON
// member alike; columns without a unit stay SI under their SI names.
TEST(BatchWriter, DisplayUnitsConvertAndNameTheirColumns) {
  InputLayout layout;
  ASSERT_EQ(ReadHeader({"time", "dp", "static_pressure", "flowing_temperature"}, false, layout), "");
  DisplayUnits units;
  units.columns.resize(OutputColumns().size());
  std::size_t mass = 0, temperature = 0;
  for (std::size_t i = 0; i < OutputColumns().size(); ++i) {
    if (OutputColumns()[i].name == "mass_flow") mass = i;
    if (OutputColumns()[i].name == "flowing_temperature") temperature = i;
  }
  ASSERT_GT(mass, 0u);
  units.columns[mass] = {"lbm/hr", 0.45359237 / 3600.0, false};  // the pound is 0.45359237 kg
  units.columns[temperature] = {"F", 1.0, true};
  units.mass = {"lbm", 0.45359237, false};
  InputRow row;
  row.fields = {"t0", "1", "2", "3"};
  Results r;
  r.massFlow = 1.0;
  r.temperature = 373.15;  // 212 F
  r.dp = 12.5;
  std::string out;
  const RowWriter csv(layout, false, &units);
  csv.Header(out);
  EXPECT_NE(out.find("time,dp[pa],static_pressure[pa],upstream_pressure[pa],flowing_temperature[F],mass_flow[lbm/hr],"
                     "std_volume_flow[m3/s],"),
            std::string::npos)
      << out;
  out.clear();
  csv.Row(row, &r, out);
  EXPECT_EQ(out.substr(0, 8), "t0,12.5,");
  const RowWriter json(layout, true, &units);
  out.clear();
  json.Row(row, &r, out);
  const std::size_t at = out.find("\"mass_flow[lbm/hr]\":");
  ASSERT_NE(at, std::string::npos) << out;
  EXPECT_NEAR(std::stod(out.substr(at + 20)), 3600.0 / 0.45359237, 1e-15 * 7936.64);
  const std::size_t t = out.find("\"flowing_temperature[F]\":");
  ASSERT_NE(t, std::string::npos) << out;
  EXPECT_NEAR(std::stod(out.substr(t + 25)), 212.0, 1e-12);
  EXPECT_NE(out.find("\"dp\":12.5,"), std::string::npos) << out;
  EXPECT_TRUE(std::isnan(ToDisplay(units.columns[mass], kAbsent)));
  EXPECT_EQ(ToDisplay(DisplayUnit{}, 2.5), 2.5);
  // Totals: the mass in its unit, the rest SI.
  out.clear();
  WriteTotalsHeader(out, &units);
  EXPECT_EQ(out, "period,records,errors,duration[s],mass[lbm],std_volume[m3],energy[j],dp[pa],upstream_pressure[pa],"
                 "flowing_temperature[K]\n");
  PeriodTotals p;
  p.mass = 0.45359237 * 3.0;
  out.clear();
  WriteTotals(p, true, false, out, &units);
  EXPECT_NE(out.find("\"mass[lbm]\":3,"), std::string::npos) << out;
}

Results Flow(double mass, double dp, double p, double t) {
  Results r;
  r.massFlow = mass;
  r.stdVolumeFlow = 10.0 * mass;
  r.energyFlow = 100.0 * mass;
  r.dp = dp;
  r.upstreamPressure = p;
  r.temperature = t;
  return r;
}

// Four half-hourly records over two hours: each lasts until the next, the last as long as the
// interval before it. Hour 0: 1 kg/s and 2 kg/s for 1800 s each; hour 1: 3 and 4 kg/s.
TEST(BatchTotals, HourlyAgainstHandComputation) {
  TotalsAccumulator acc(3600.0);
  std::vector<PeriodTotals> periods;
  const Results r[] = {Flow(1, 1000, 2e6, 300), Flow(2, 2000, 3e6, 310), Flow(3, 3000, 4e6, 320),
                       Flow(4, 4000, 5e6, 330)};
  for (int i = 0; i < 4; ++i) acc.Add(1800.0 * i, kAbsent, &r[i], periods);
  EXPECT_EQ(periods.size(), 1u);  // hour 0 closes when hour 1 starts
  acc.Finish(periods);
  ASSERT_EQ(periods.size(), 2u);
  const PeriodTotals& h0 = periods[0];
  EXPECT_EQ(h0.start, 0.0);
  EXPECT_EQ(h0.records, 2u);
  EXPECT_DOUBLE_EQ(h0.seconds, 3600.0);
  EXPECT_DOUBLE_EQ(h0.mass, 5400.0);
  EXPECT_DOUBLE_EQ(h0.stdVolume, 54000.0);
  EXPECT_DOUBLE_EQ(h0.energy, 540000.0);
  EXPECT_DOUBLE_EQ(h0.dp, (1000.0 * 1800 + 2000.0 * 3600) / 5400.0);
  EXPECT_DOUBLE_EQ(h0.pressure, (2e6 * 1800 + 3e6 * 3600) / 5400.0);
  EXPECT_DOUBLE_EQ(h0.temperature, (300.0 * 1800 + 310.0 * 3600) / 5400.0);
  const PeriodTotals& h1 = periods[1];
  EXPECT_EQ(h1.start, 3600.0);
  EXPECT_DOUBLE_EQ(h1.mass, 3.0 * 1800 + 4.0 * 1800);
  EXPECT_DOUBLE_EQ(h1.dp, (3000.0 * 5400 + 4000.0 * 7200) / 12600.0);
}

// An error record adds no flow but is counted; duration_s overrides the time to the next record.
TEST(BatchTotals, ErrorsAndDurations) {
  TotalsAccumulator acc(86400.0);
  std::vector<PeriodTotals> periods;
  const Results a = Flow(1, 100, 1e6, 290);
  acc.Add(0.0, kAbsent, &a, periods);    // lasts 600 s, to the next record
  acc.Add(600.0, kAbsent, nullptr, periods);
  acc.Add(1200.0, 60.0, &a, periods);    // 60 s by its duration
  acc.AddUntimed(periods);
  acc.Add(86400.0 + 5.0, kAbsent, &a, periods);  // next day; the last takes the interval before
  acc.Finish(periods);
  ASSERT_EQ(periods.size(), 2u);
  EXPECT_EQ(periods[0].records, 4u);
  EXPECT_EQ(periods[0].errors, 2u);
  EXPECT_DOUBLE_EQ(periods[0].mass, 660.0);
  EXPECT_DOUBLE_EQ(periods[0].dp, 100.0);
  EXPECT_EQ(periods[1].start, 86400.0);
  EXPECT_DOUBLE_EQ(periods[1].mass, 86400.0 + 5.0 - 1200.0);
  std::string text;
  WriteTotals(periods[1], false, true, text);
  EXPECT_EQ(text.substr(0, 26), "1970-01-02T00:00:00Z,1,0,8");
  EXPECT_EQ(acc.StepsBack(), 0u);
}

// A clock set back: the records keep their order, the period it returns to gets a second row, the
// record before the step no flow time, and the step is counted for the summary to report.
TEST(BatchTotals, TimeGoingBackIsCounted) {
  TotalsAccumulator acc(3600.0);
  std::vector<PeriodTotals> periods;
  const Results a = Flow(1, 100, 1e6, 290);
  for (const double t : {1800.0, 5400.0, 2700.0, 6300.0}) acc.Add(t, kAbsent, &a, periods);
  acc.Finish(periods);
  EXPECT_EQ(acc.StepsBack(), 1u);
  ASSERT_EQ(periods.size(), 4u);
  const double starts[] = {0.0, 3600.0, 0.0, 3600.0};
  const double masses[] = {3600.0, 0.0, 3600.0, 3600.0};
  for (std::size_t i = 0; i < 4; ++i) {
    EXPECT_EQ(periods[i].start, starts[i]) << i;
    EXPECT_DOUBLE_EQ(periods[i].mass, masses[i]) << i;
  }
}

}  // namespace
