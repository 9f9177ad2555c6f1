// The conformance sources: each reads its table, computes every printed value with the engine
// and keeps the worst deviation in units of the last compared digit.
#include "app/verify.hpp"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>
#include <functional>
#include <limits>
#include <map>
#include <string>

#include "gas/aga8.hpp"
#include "gas/sgerg.hpp"
#include "liquids/mpms1.hpp"
#include "meters/coef.hpp"
#include "numerics/error.hpp"
#include "steam/if97.hpp"

namespace qmx::VERIFY {

namespace {

namespace fs = std::filesystem;
using Row = std::vector<std::string>;

constexpr double kInf = std::numeric_limits<double>::infinity();
// Rows read from one table at most: every shipped table is far smaller.
constexpr std::size_t kMaxRows = 100000;

// The rows of a comma-separated table without its header line and empty lines. Raises when the
// file cannot be read.
std::vector<Row> ReadTable(const fs::path& file) {
  std::ifstream in(file);
  if (!in) Raise(kModule, "cannot read " + file.string(), 1);
  std::vector<Row> rows;
  std::string line;
  bool header = true;
  while (std::getline(in, line) && rows.size() < kMaxRows) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (header) {
      header = false;
      continue;
    }
    Row row;
    std::size_t start = 0;
    while (true) {
      const std::size_t comma = line.find(',', start);
      row.push_back(line.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    rows.push_back(std::move(row));
  }
  return rows;
}

const std::string& Field(const Row& r, std::size_t i) {
  if (i >= r.size()) Raise(kModule, "short row in a verification table", 2);
  return r[i];
}

double Number(const std::string& text) {
  std::size_t used = 0;
  const double v = std::stod(text, &used);
  if (used == 0) Raise(kModule, "not a number: " + text, 3);
  return v;
}

// Deviations of one source.
class Tally {
 public:
  Tally(std::string name, double tolerance) {
    r_.name = std::move(name);
    r_.tolerance = tolerance;
  }
  // Compares a computed value with a printed one; maxDigits caps the significant digits compared.
  void Add(double computed, const std::string& printed, int maxDigits = 99) {
    const double unit = LastDigitUnit(printed, maxDigits);
    const double dev = std::fabs(computed - Number(printed)) / unit;
    ++r_.cases;
    r_.worst = std::isfinite(dev) && unit > 0.0 ? std::max(r_.worst, dev) : kInf;
  }
  // A case the engine refused (a flag or no result).
  void Refused() {
    ++r_.cases;
    r_.worst = kInf;
  }
  SourceResult Done() {
    // A computed value on a rounding tie of the printed digit sits at exactly half a unit; the
    // slack keeps binary rounding of the two numbers from failing it.
    r_.pass = r_.cases > 0 && r_.worst <= r_.tolerance * (1.0 + 1e-6);
    return r_;
  }

 private:
  SourceResult r_;
};

// A source whose table cannot be read or parsed fails with the reason.
SourceResult Guarded(const std::string& name, double tolerance, const std::function<SourceResult()>& run) {
  try {
    return run();
  } catch (const qmx::Error& e) {
    SourceResult r;
    r.name = name;
    r.tolerance = tolerance;
    r.worst = kInf;
    r.error = e.message();
    return r;
  } catch (const std::exception& e) {
    SourceResult r;
    r.name = name;
    r.tolerance = tolerance;
    r.worst = kInf;
    r.error = std::string("bad table: ") + e.what();
    return r;
  }
}

// ---------------------------------------------------------------------------------------------
// IAPWS-IF97: the verification tables of the release (nine significant digits).

SourceResult If97(const fs::path& dir) {
  Tally t("IAPWS-IF97 verification tables", 0.5);
  struct Case {
    std::map<std::string, double> input;
    std::map<std::string, std::string> check;
  };
  std::map<std::string, Case> cases;
  // Columns: table, case, region, quantity, unit, kind, value.
  for (const Row& r : ReadTable(dir / "steam" / "verification.csv")) {
    Case& c = cases[Field(r, 0) + "/" + Field(r, 1)];
    if (Field(r, 5) == "input") {
      c.input[Field(r, 3)] = Number(Field(r, 6));
    } else {
      c.check[Field(r, 3)] = Field(r, 6);
    }
  }
  for (const auto& entry : cases) {
    // A named reference rather than a structured binding: clang 14 cannot capture bindings.
    const std::string& id = entry.first;
    const auto& c = entry.second;
    const std::string table = id.substr(0, id.find('/'));
    auto in = [&c](const char* q) { return c.input.at(q); };
    auto check = [&c](const char* q) -> const std::string& { return c.check.at(q); };
    if (table == "5" || table == "15") {
      const double P = in("p") * 1e6, T = in("T");
      const bool r1 = table == "5";
      t.Add(1.0 / (r1 ? IF97::Rho1(P, T) : IF97::Rho2(P, T)), check("v"));
      t.Add((r1 ? IF97::H1(P, T) : IF97::H2(P, T)) / 1e3, check("h"));
    } else if (table == "33") {
      t.Add(IF97::P3(in("rho"), in("T")) / 1e6, check("p"));
      t.Add(IF97::H3(in("rho"), in("T")) / 1e3, check("h"));
    } else if (table == "35") {
      t.Add(IF97::Psat(in("T")) / 1e6, check("psat"));
    } else if (table == "36") {
      t.Add(IF97::Tsat(in("p") * 1e6), check("Tsat"));
    } else if (table == "B23") {
      t.Add(IF97::B23P(Number(check("T"))) / 1e6, check("p"));
      t.Add(IF97::B23T(Number(check("p")) * 1e6), check("T"));
    }
  }
  return t.Done();
}

// ---------------------------------------------------------------------------------------------
// AGA-8 detail method: Table A.3-1 of the report and the reference routines' tables; values
// printed to full precision are compared to 12 significant digits.

SourceResult Aga8(const fs::path& dir) {
  Tally t("AGA-8 detail example gases", 0.5);
  std::map<std::string, std::array<double, 21>> gases;
  for (const Row& r : ReadTable(dir / "aga8" / "example_gases.csv")) {
    std::array<double, 21> x{};
    for (std::size_t i = 0; i < 21; ++i) x[i] = Number(Field(r, i + 2));
    gases[Field(r, 0)] = x;
  }
  const double lbmPerFt3 = 0.4535924 / 0.02831684659;  // kg/m3 in one lbm/ft3
  const double Pbase = 14.73 * 6894.757, Tbase = (60.0 + 459.67) / 1.8;
  // Columns: source, row, gas, T_K, P_Pa, T_F, P_psia, Z, molar density, mass density, FPV.
  for (const Row& r : ReadTable(dir / "aga8" / "examples.csv")) {
    const auto gas = gases.find(Field(r, 2));
    if (gas == gases.end()) Raise(kModule, "unknown AGA-8 example gas " + Field(r, 2), 4);
    const auto& x = gas->second;
    AGA892::Cache c;
    AGA892::Characterise(c, x);
    const AGA892::Solution s = AGA892::Flowing(c, Number(Field(r, 4)), Number(Field(r, 3)));
    if (s.omens != 0) {
      t.Refused();
      continue;
    }
    t.Add(s.Z, Field(r, 7), 12);
    if (!Field(r, 8).empty()) t.Add(s.D, Field(r, 8), 12);
    if (r.size() > 9 && !r[9].empty()) t.Add(s.D * AGA892::MolarMass(x) / lbmPerFt3, r[9], 12);
    if (r.size() > 10 && !r[10].empty()) {
      AGA892::Cache b;
      const AGA892::Solution base = AGA892::Base(b, x, Pbase, Tbase);
      t.Add(std::sqrt(base.Z / s.Z), r[10], 12);
    }
  }
  return t.Done();
}

// ---------------------------------------------------------------------------------------------
// ISO 12213-3 Annex C: SGERG-88 from Hs, d, CO2 and H2 (CO = 0.0964 H2 where not given), metering
// reference 0 C and combustion 25 C. The printed values come from the standard's program with its
// loose tolerances, so they are met to one unit of the fifth decimal.

SourceResult Sgerg(const fs::path& dir) {
  Tally t("ISO 12213-3 Annex C (SGERG-88)", 1.0);
  const SGERG::Sref ref{298.15, 273.15, 101325.0, 273.15, 101325.0};
  auto one = [&t, &ref](double hsMJ, double d, double co2, double h2, double co, double P, double T,
                        const std::string& Z) {
    SGERG::Gross g;
    g.hs = hsMJ * 1e6;
    g.gr = d;
    g.co2 = co2;
    g.h2 = h2;
    g.co = co;
    const SGERG::RefResult res = SGERG::RefProps(SGERG::GHC, P, T, ref, g);
    if (res.flags != 0) {
      t.Refused();
    } else {
      t.Add(res.Z, Z);
    }
  };
  // Columns: gas, hs_MJ_m3, d, x_CO2, x_H2, P_bar, T_C, Z.
  for (const Row& r : ReadTable(dir / "sgerg88" / "annex_c.csv")) {
    const double h2 = Number(Field(r, 4));
    one(Number(Field(r, 1)), Number(Field(r, 2)), Number(Field(r, 3)), h2, 0.0964 * h2,
        Number(Field(r, 5)) * 1e5, Number(Field(r, 6)) + 273.15, Field(r, 7));
  }
  // Columns: case, hs_MJ_m3, d, x_CO2, x_H2, x_CO, P_bar, T_C, T_K, P_Pa, Z_table, ...
  for (const Row& r : ReadTable(dir / "sgerg88" / "example.csv")) {
    one(Number(Field(r, 1)), Number(Field(r, 2)), Number(Field(r, 3)), Number(Field(r, 4)),
        Number(Field(r, 5)), Number(Field(r, 9)), Number(Field(r, 8)), Field(r, 10));
  }
  return t.Done();
}

// ---------------------------------------------------------------------------------------------
// API MPMS 11.1-2004 worked examples 1 to 6 with their printed intermediate values.

SourceResult Api(const fs::path& dir) {
  Tally t("API MPMS 11.1 worked examples", 0.5);
  constexpr double kRhoWater60 = 999.016;  // the standard's conversion of API gravity and RD
  // Columns: example, product, subgroup, input, T_F, P_psig, t68_F, rho*, alpha60, Fp, CTL, CPL,
  // CTPL.
  for (const Row& r : ReadTable(dir / "liquids" / "api_11_1_examples.csv")) {
    const MPMS1::ApiProduct product =
        Field(r, 1) == "crude oil" ? MPMS1::ApiProduct::CrudeOil : MPMS1::ApiProduct::RefinedProducts;
    const std::string& in = Field(r, 3);
    double rho60 = 0.0;
    if (in.rfind("API ", 0) == 0) {
      rho60 = 141.5 * kRhoWater60 / (131.5 + Number(in.substr(4)));
    } else if (in.rfind("RD ", 0) == 0) {
      rho60 = Number(in.substr(3)) * kRhoWater60;
    } else {
      rho60 = Number(in);
    }
    MPMS1::ApiFlags flags = 0;
    const MPMS1::ApiState60 s =
        MPMS1::Factors60(flags, product, rho60, Number(Field(r, 4)), Number(Field(r, 5)), 0.0);
    if (flags != 0) {
      t.Refused();
      continue;
    }
    t.Add(s.tStar, Field(r, 6));
    t.Add(s.rhoStar, Field(r, 7));
    t.Add(s.alpha60, Field(r, 8));
    t.Add(s.fp, Field(r, 9));
    t.Add(s.ctl, Field(r, 10));
    t.Add(s.cpl, Field(r, 11));
    t.Add(MPMS1::ApiRound(s.ctpl, MPMS1::kFactorIncrement), Field(r, 12));
  }
  return t.Done();
}

// ---------------------------------------------------------------------------------------------
// ISO 5167 coefficient and expansibility equations against the python3-fluids peer values
// (printed to full precision, compared to 10 significant digits).

SourceResult Iso5167(const fs::path& dir) {
  Tally t("ISO 5167 peer values (python3-fluids)", 0.5);
  // Columns: case, tap, D, beta, Re, P1, P2, kappa, value.
  for (const Row& r : ReadTable(dir / "meters" / "fluids_reference.csv")) {
    const std::string& kase = Field(r, 0);
    const auto tap = static_cast<std::uint8_t>(Number(Field(r, 1)));
    const double D = Number(Field(r, 2)), beta = Number(Field(r, 3)), Re = Number(Field(r, 4));
    const double P1 = Number(Field(r, 5)), P2 = Number(Field(r, 6)), kappa = Number(Field(r, 7));
    const std::string& value = Field(r, 8);
    if (kase == "rhg") {
      t.Add(DP0::C_ReaderHarrisGallagher(tap, beta, Re, D), value, 10);
    } else if (kase == "isa") {
      t.Add(DP0::C_ISANozzle(beta, Re), value, 10);
    } else if (kase == "lrn") {
      t.Add(DP0::C_LongRadiusNozzle(beta, Re), value, 10);
    } else if (kase == "eps2003") {
      t.Add(DP0::EpsilonOrifice2003(beta, P2 / P1, kappa), value, 10);
    } else if (kase == "epsnoz") {
      t.Add(DP0::EpsilonNozzle(beta, P2 / P1, kappa), value, 10);
    }
  }
  return t.Done();
}

// ---------------------------------------------------------------------------------------------
// AGA Report No. 3: the Part 4 solution procedure must return the coefficient of the Part 1
// equation at its own Reynolds number (to the procedure's 2e-5), over the equation's range.

SourceResult Aga3() {
  Tally t("AGA-3 flange-tap equation checks", 2.0);
  constexpr double kXc = 1.142139337256165;
  const double pi = std::acos(-1.0);
  const double betas[] = {0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.75};
  const double bores[] = {0.0525, 0.1023, 0.2027, 0.3032};
  const double dps[] = {250.0, 2500.0, 25000.0, 60000.0};
  struct Fluid {
    double rho, mu;
  };
  const Fluid fluids[] = {{50.0, 1.1e-5}, {999.0, 1e-3}};
  for (const double beta : betas) {
    for (const double Dt : bores) {
      for (const double dP : dps) {
        for (const Fluid& f : fluids) {
          DP0::CoefFlags flags = 0;
          const double Cd = DP0::C_AGA3_Procedure(beta, Dt, dP, f.rho, f.mu, 1.0, flags);
          const double d = beta * Dt;
          const double Ev = 1.0 / std::sqrt(1.0 - std::pow(beta, 4));
          const double qm = pi / 4 * Ev * Cd * d * d * std::sqrt(2 * f.rho * dP);
          const double Re = 4 * qm / (pi * Dt * f.mu);
          if (Re < 4000 * kXc) continue;  // the low-Reynolds form is the procedure's own
          if ((flags & DP0::kCoefConvergenceFailure) != 0) {
            t.Refused();
            continue;
          }
          // Five decimals, the digits the report prints its coefficients to.
          const double C1 = DP0::C_AGA3_1990(1, beta, Re, Dt);
          char text[32];
          std::snprintf(text, sizeof text, "%.5f", C1);
          t.Add(Cd, text);
        }
      }
    }
  }
  return t.Done();
}

}  // namespace

double LastDigitUnit(std::string_view printed, int maxDigits) {
  std::size_t i = 0;
  while (i < printed.size() && (printed[i] == ' ' || printed[i] == '+' || printed[i] == '-')) ++i;
  int decimals = 0, significant = 0, digits = 0;
  bool point = false, leading = true;
  for (; i < printed.size(); ++i) {
    const char c = printed[i];
    if (c == '.') {
      if (point) return 0.0;
      point = true;
    } else if (c >= '0' && c <= '9') {
      ++digits;
      if (point) ++decimals;
      if (c != '0') leading = false;
      if (!leading) ++significant;
    } else {
      break;
    }
  }
  if (digits == 0) return 0.0;
  int exponent = 0;
  if (i < printed.size() && (printed[i] == 'e' || printed[i] == 'E')) {
    std::string_view rest = printed.substr(i + 1);
    bool negative = false;
    if (!rest.empty() && (rest[0] == '+' || rest[0] == '-')) {
      negative = rest[0] == '-';
      rest.remove_prefix(1);
    }
    if (rest.empty() || rest.size() > 4) return 0.0;
    const auto res = std::from_chars(rest.data(), rest.data() + rest.size(), exponent);
    if (res.ec != std::errc() || res.ptr != rest.data() + rest.size()) return 0.0;
    if (negative) exponent = -exponent;
  } else if (i != printed.size()) {
    return 0.0;
  }
  int last = exponent - decimals;
  if (significant > maxDigits) last += significant - maxDigits;
  return std::pow(10.0, last);
}

std::vector<SourceResult> RunAll(const fs::path& dataDir) {
  return {
      Guarded("IAPWS-IF97 verification tables", 0.5, [&] { return If97(dataDir); }),
      Guarded("AGA-8 detail example gases", 0.5, [&] { return Aga8(dataDir); }),
      Guarded("ISO 12213-3 Annex C (SGERG-88)", 1.0, [&] { return Sgerg(dataDir); }),
      Guarded("API MPMS 11.1 worked examples", 0.5, [&] { return Api(dataDir); }),
      Guarded("ISO 5167 peer values (python3-fluids)", 0.5, [&] { return Iso5167(dataDir); }),
      Guarded("AGA-3 flange-tap equation checks", 2.0, [] { return Aga3(); }),
  };
}

std::vector<fs::path> DataCandidates(const fs::path& exeDir) {
  std::vector<fs::path> out;
  if (!exeDir.empty()) out.push_back(exeDir / ".." / "share" / "qmx" / "data");
#ifdef QMX_DATA_DIR
  out.emplace_back(QMX_DATA_DIR);
#endif
  return out;
}

}  // namespace qmx::VERIFY
