#!/usr/bin/env python3
"""Builds the gas component tables from the published tables in data/gas/.

Writes data/gas/source_tables.csv, data/gas/cp_poly.csv, data/gas/cp_sets.csv and
src/gas/components_tables.cpp. Run from the repository root: python3 tools/gas_tables.py
"""
import csv
import math
import os

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
D = os.path.join(ROOT, "data", "gas")
N = 29
PSI_KPA = 6.894757293168361  # kPa per psi
BTULB_MJKG = 0.002326       # MJ/kg per Btu(IT)/lbm
# Argon has no GPA 2145 row: NIST (Tegeler et al. 1999) critical point, IUPAC molar mass.
ARGON = dict(M=39.948, Tc=150.687, Pc=4863.0)


def rows(name):
    with open(os.path.join(D, name), newline="") as f:
        return list(csv.DictReader(f))


def num(s, default=0.0):
    s = (s or "").strip()
    return float(s) if s else default


species = rows("species.csv")
fps = rows("gpa2145_16_fps.csv")
si = rows("gpa2145_16_si.csv")
g03 = {int(r["index"]): r for r in rows("gpa2145_03_si_partial.csv")}
iso95 = rows("iso6976_1995.csv")
iso16 = rows("iso6976_2016.csv")
poling = rows("poling5_ideal_gas_cp.csv")

# GPA 2145 US table: Pc, Tc and M shared by several sources, and the 60 F mass heating value.
us_pc, us_tc, us_m, us_hv = [], [], [], []
for r in fps:
    i = int(r["index"])
    if i == 20:
        us_pc.append(ARGON["Pc"]); us_tc.append(ARGON["Tc"]); us_m.append(ARGON["M"]); us_hv.append(0.0)
        continue
    us_tc.append(round((num(r["tc_degF"]) + 459.67) / 1.8, 3))
    us_pc.append(round(num(r["pc_psia"]) * PSI_KPA, 2))
    us_m.append(num(r["molar_mass_lbm_per_lbmol"]))
    us_hv.append(round(num(r["ghv_ideal_gas_btu_per_lbm_60F"]) * BTULB_MJKG, 4))

si_hv = [num(r["ghv_ideal_gas_MJ_per_kg_15C"]) for r in si]
si_tc = [num(r["tc_K"]) if r["tc_K"] else ARGON["Tc"] for r in si]
si_pc = [num(r["pc_kPa"]) if r["pc_kPa"] else ARGON["Pc"] for r in si]
si_m = [num(r["molar_mass_kg_per_kmol"]) if r["molar_mass_kg_per_kmol"] else ARGON["M"] for r in si]

# GPA 2145-03 SI: the ten rows found; every other row from the 2016 SI table.
m03, hv03 = list(si_m), list(si_hv)
for i, r in g03.items():
    m03[i] = num(r["molar_mass_kg_per_kmol"])
    hv03[i] = num(r["ghv_ideal_gas_MJ_per_kg"])

iso_m = [num(r["molar_mass_kg_per_kmol"]) for r in iso95]
iso_hv15 = [num(r["hs_molar_15C_kJ_per_mol"]) / m for r, m in zip(iso95, iso_m)]
iso_hv25 = [num(r["hs_molar_25C_kJ_per_mol"]) for r in iso95]
iso16_hv25 = [num(r["hs_molar_25C_kJ_per_mol"]) for r in iso16]

T60F = 288.7055555555556
sources = [
    ("GPA 2145-08, US table", us_pc, us_tc, us_m, us_hv, 0, T60F),
    ("GPA 2145-08, SI table", us_pc, us_tc, us_m, si_hv, 0, 288.15),
    ("AGA-5 2009", us_pc, us_tc, us_m, iso16_hv25, 1, 298.15),
    ("GPA 2145-03 Rev1, US table", us_pc, us_tc, us_m, us_hv, 0, T60F),
    ("GPA 2145-03 Rev1, SI table", us_pc, us_tc, m03, hv03, 0, 288.15),
    ("GPA 2145-93, US table", us_pc, us_tc, us_m, us_hv, 0, T60F),
    ("ISO-6976:1995(E), 15 C table (& corr 1..3)", si_pc, si_tc, iso_m, iso_hv15, 0, 288.15),
    ("ISO-6976:1995(E), 25 C HN table (& corr 1..3)", si_pc, si_tc, iso_m, iso_hv25, 1, 298.15),
]

with open(os.path.join(D, "source_tables.csv"), "w", newline="") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["source", "index", "symbol", "Pc_kPa", "Tc_K", "M_kg_per_kmol", "HV", "HV_unit"])
    for s, (title, pc, tc, m, hv, molar, _) in enumerate(sources):
        for i in range(N):
            w.writerow([s, i, species[i]["symbol"], repr(pc[i]), repr(tc[i]), repr(m[i]),
                        "%.10g" % hv[i], "MJ/kmol" if molar else "MJ/kg"])

# Ideal-gas heat capacity polynomials (Cp/R, T in K). The transcribed 3-methylpentane row gives
# 33.5 J/(mol K) at 298.15 K against its own tabulated 140.1: it is replaced by 2-methylpentane's
# polynomial scaled to reproduce 140.1 J/(mol K) at 298.15 K.
R_POLING = 8.314
poly = [[num(r[k]) for k in ("a0", "a1_per_K", "a2_per_K2", "a3_per_K3", "a4_per_K4")] for r in poling]
cp298 = [num(r["cp_ig_298K_J_per_mol_K"]) for r in poling]


def pval(c, T):
    return sum(c[k] * T ** k for k in range(5))


scale = cp298[23] / (R_POLING * pval(poly[22], 298.15))
poly[23] = [float("%.6g" % (c * scale)) for c in poly[22]]

with open(os.path.join(D, "cp_poly.csv"), "w", newline="") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["index", "symbol", "a0", "a1", "a2", "a3", "a4", "cp_298K_J_per_mol_K", "origin"])
    for i in range(N):
        w.writerow([i, species[i]["symbol"]] + ["%.6g" % c for c in poly[i]] +
                   [cp298[i], "2-methylpentane scaled" if i == 23 else "Poling 5th ed."])


def fit(c):
    """Least-squares Cp/R = a + b t + c t^2 (t in C) over 0..60 C."""
    ts = [k * 0.5 for k in range(121)]
    ys = [pval(c, t + 273.15) for t in ts]
    S = [[sum(t ** (i + j) for t in ts) for j in range(3)] for i in range(3)]
    v = [sum(y * t ** i for t, y in zip(ts, ys)) for i in range(3)]
    # Gaussian elimination on the 3x3 normal equations.
    for k in range(3):
        for r in range(k + 1, 3):
            f_ = S[r][k] / S[k][k]
            for j in range(3):
                S[r][j] -= f_ * S[k][j]
            v[r] -= f_ * v[k]
    x = [0.0] * 3
    for k in (2, 1, 0):
        x[k] = (v[k] - sum(S[k][j] * x[j] for j in range(k + 1, 3))) / S[k][k]
    return [float("%.6g" % a) for a in x]


quoted_a = {0: (4.1947, 0.003639, 1.49e-05), 1: (3.502, 6e-05, 0.0), 2: (4.324, 0.0058, -6.5e-06),
            9: (3.52, 0.00044, 2.8e-06), 29: (4.707, 0.00439, 9e-07), 5: (0.0, 0.0, 0.0),
            19: (2.5, 0.0, 0.0), 20: (2.5, 0.0, 0.0)}
quoted_b = {0: (4.19413, 0.00358295, 1.76836e-05), 5: (4.028, 0.000396163, 2.7421e-06),
            29: (4.68674, 0.00432396, 3.95766e-07)}
setA, setB, origA, origB = [], [], [], []
for i in range(N + 1):
    fitted = fit(poly[i]) if i < N else None
    if i in (19, 20):
        fitted = [2.5, 0.0, 0.0]
    setA.append(list(quoted_a.get(i, fitted))); origA.append("quoted" if i in quoted_a else "fitted")
    setB.append(list(quoted_b.get(i, fitted))); origB.append("quoted" if i in quoted_b else "fitted")

with open(os.path.join(D, "cp_sets.csv"), "w", newline="") as f:
    w = csv.writer(f, lineterminator="\n")
    w.writerow(["index", "species", "A_a", "A_b", "A_c", "A_origin", "B_a", "B_b", "B_c", "B_origin"])
    for i in range(N + 1):
        name = species[i]["symbol"] if i < N else "SO2"
        w.writerow([i, name] + ["%.6g" % a for a in setA[i]] + [origA[i]] +
                   ["%.6g" % a for a in setB[i]] + [origB[i]])

# Dilute-gas viscosity of neohexane at 60 F from the DIPPR equation 102 coefficients of the
# ChemSep database: mu = A T^B / (1 + C/T + D/T^2), Pa s.
A, B, C, Dd = 1.9362e-07, 0.68259, 102.35, -10.082
mu_neohexane = round(A * T60F ** B / (1 + C / T60F + Dd / T60F ** 2) * 1000, 5)

comb = rows("combustion.csv")
presets = rows("presets.csv")


def g(x):
    return repr(float(x))


def arr(vals, fmt=g):
    return "{" + ", ".join(fmt(v) for v in vals) + "}"


out = []
out.append("// Generated by tools/gas_tables.py from data/gas/*.csv (GPA 2145, ISO 6976:1995 and 2016,")
out.append("// Poling et al. 5th ed., fitted heat-capacity sets). Do not edit by hand.")
out.append('#include "gas/components.hpp"')
out.append("")
out.append("namespace qmx::GAS1 {")
out.append("")
out.append("namespace {")
out.append("constexpr SourceTable kTables[kNTables] = {")
for title, pc, tc, m, hv, molar, Tt in sources:
    out.append("    {\"%s\"," % title.ljust(45))
    out.append("     %s," % arr(pc))
    out.append("     %s," % arr(tc))
    out.append("     %s," % arr(m))
    out.append("     %s," % arr(hv, lambda v: "%.10g" % v))
    out.append("     %s, %s}," % ("true" if molar else "false", repr(Tt)))
out.append("};")
out.append("}  // namespace")
out.append("")
out.append("const SourceTable* Table(int source) {")
out.append("  return source >= 0 && source < kNTables ? &kTables[source] : nullptr;")
out.append("}")
out.append("")
out.append("const std::array<int, kNComp> kCarbon = %s;" % arr([int(r["carbon"]) for r in species], str))
out.append("const std::array<int, kNComp> kHydrogen = %s;" % arr([int(r["hydrogen"]) for r in species], str))
out.append("const std::array<double, kNComp> kCp298 = %s;" % arr(cp298))
out.append("const std::array<double, kNComp> kOmega = %s;" % arr([num(r["omega"]) for r in species]))
mus = [mu_neohexane if r["mu_cP"] == "NEOHEXANE" else num(r["mu_cP"]) for r in species]
out.append("const std::array<double, kNComp> kMu = %s;" % arr(mus))
out.append("const std::array<std::array<double, 5>, kNComp> kCpPoly = {{")
for c in poly:
    out.append("    %s," % arr(c, lambda v: "%.6g" % v))
out.append("}};")
for nm, st in (("kCpSetA", setA), ("kCpSetB", setB)):
    out.append("const std::array<std::array<double, 3>, kNSpecies> %s = {{" % nm)
    for c in st:
        out.append("    %s," % arr(c, lambda v: "%.6g" % v))
    out.append("}};")
out.append("const std::array<Combustion, kNComp> kCombustion = {{")
for r in comb:
    out.append("    {%s}," % ", ".join(g(num(r[k])) for k in ("own", "o2", "h2o", "co2", "so2")))
out.append("}};")
out.append("const std::array<std::string_view, kNComp> kSpecies = {")
for r in species:
    rec = "|".join([r["symbol"], r["formula"], r["structural"], r["cas"], r["row"], r["name"], r["synonyms"]])
    out.append('    "%s",' % rec)
out.append("};")
out.append("const std::array<std::string_view, kNComp> kSymbols = {%s};" %
           ", ".join('"%s"' % r["symbol"] for r in species))
out.append("const std::array<std::string_view, kNComp> kFileNames = {")
out.append("    %s};" % ", ".join('"%s"' % r["file_name"] for r in species))
out.append("const std::array<Preset, kNPresets> kPresets = {{")
keys = list(presets[0].keys())[2:]
for r in presets:
    out.append('    {"%s", %s},' % (r["name"], arr([num(r[k]) for k in keys])))
out.append("}};")
out.append("")
out.append("}  // namespace qmx::GAS1")
with open(os.path.join(ROOT, "src", "gas", "components_tables.cpp"), "w") as f:
    f.write("\n".join(out) + "\n")
print("neohexane mu cP", mu_neohexane)
for i in (0, 1, 2, 9):
    print(species[i]["symbol"], "fit", fit(poly[i]), "quotedA", quoted_a.get(i))
print("m3C5 poly", poly[23], "->", R_POLING * pval(poly[23], 298.15))
