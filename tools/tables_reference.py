#!/usr/bin/python3
"""Regenerates data/reports/tables_reference.csv: reference cells of the standards
tables 0, 1, 2, 3 and 5 over their full axes.

Run with Debian's interpreter:  /usr/bin/python3 tools/tables_reference.py
Columns: table,tap,D,row,column,kappa,value
  table the table number; tap 0 corner, 1 flange, 2 D and D/2; D the pipe inside
  diameter in m (0 where unused); row and column the axis values; kappa 0 where unused.

Tables 1, 2, 3 and 5 come from python3-fluids (fluids.flow_meter). python3-fluids has
no AGA Report No. 3 equation, so table 0 is evaluated here from the AGA-3 (1990) Part 1
flange-tap equation with the constants the report prints.
"""
import csv
import math
import os

from fluids import flow_meter as fm

RHO = 1000.0
MU = 1e-3
TAPS = {0: "corner", 1: "flange", 2: "D and D/2"}


def frange(a, b, step, extra=()):
    n = round((b - a) / step)
    return [round(a + i * step, 6) for i in range(n + 1)] + list(extra)


def mass_for(Re, D):
    # Re_D = 4 m / (pi D mu)
    return Re * math.pi * D * MU / 4.0


# AGA Report No. 3 (1990) Part 1, equations 1-4 .. 1-12 (flange taps, L1 = L2 = 1 in / D).
A0, A1, A2, A3, A4, A5, A6 = 0.5961, 0.0291, -0.2290, 0.003, 2.8, 0.000511, 0.0210
S1, S2, S3, S4, S5, S6, S7, S8 = 0.0049, 0.0433, 0.0712, -0.1145, -0.2300, -0.0116, -0.5200, -0.1400


def aga3_flange(beta, Re, D_in):
    L = 1.0 / D_in
    M2 = 2.0 * L / (1.0 - beta)
    A = (19000.0 * beta / Re) ** 0.8
    Tu = (S2 + S3 * math.exp(-8.5 * L) + S4 * math.exp(-6.0 * L)) * beta ** 4 / (1.0 - beta ** 4)
    Td = S6 * (M2 + S7 * M2 ** 1.3) * beta ** 1.1
    Ts = A3 * (1.0 - beta) * (A4 - D_in) if D_in < A4 else 0.0
    Ci_ft = A0 + A1 * beta ** 2 + A2 * beta ** 8 + Tu * (1.0 + S5 * A) + Td * (1.0 + S8 * A) + Ts
    return Ci_ft + A5 * (1e6 * beta / Re) ** 0.7 + (A6 + S1 * A) * beta ** 4 * (1e6 / Re) ** 0.35


def rows():
    out = []
    # Table 0: AGA-3 Part 1, flange taps, at three of the offered inside diameters.
    re0 = [4000.0, 10000.0, 50000.0, 100000.0, 500000.0, 1e6, 5e6, 10e6, 50e6, 100e6]
    for D_in in (1.939, 7.625, 29.0):
        for beta in frange(0.02, 0.74, 0.02, (0.75,)):
            for Re in re0:
                out.append((0, 1, D_in * 0.0254, beta, Re, 0, aga3_flange(beta, Re, D_in)))
    # Table 1: ISO 5167-2:2003 Reader-Harris/Gallagher, every tapping, two diameters.
    re1 = [5e3, 1e4, 2e4, 3e4, 4e4, 5e4, 7e4, 1e5, 3e5, 1e6, 1e7, 1e8, 9.9e99]
    for tap in (0, 1, 2):
        for D in (0.05, 0.15):
            for beta in frange(0.10, 0.74, 0.02, (0.75,)):
                for Re in re1:
                    C = fm.C_Reader_Harris_Gallagher(D, beta * D, RHO, MU, mass_for(Re, D), TAPS[tap])
                    out.append((1, tap, D, beta, Re, 0, C))
    # Tables 2 and 3: ISO 5167-3:2003 ISA 1932 and long-radius nozzles.
    D = 0.1
    for beta in frange(0.30, 0.80, 0.02):
        for Re in [2e4, 3e4, 5e4, 7e4, 1e5, 3e5, 1e6, 2e6, 1e7]:
            out.append((2, 0, 0, beta, Re, 0, fm.C_ISA_1932_nozzle(D, beta * D, RHO, MU, mass_for(Re, D))))
    for beta in frange(0.20, 0.80, 0.02):
        for Re in [1e4, 2e4, 5e4, 1e5, 2e5, 5e5, 1e6, 5e6, 1e7]:
            out.append((3, 0, 0, beta, Re, 0, fm.C_long_radius_nozzle(D, beta * D, RHO, MU, mass_for(Re, D))))
    # Table 5: ISO 5167-2:2003 orifice expansibility, P1 = 100, P2 = 100 p2/p1.
    for kappa in (1.66, 1.3, 1.4):
        for beta in (0.1, 0.5263, 0.6887, 0.7401, 0.75):
            for tau in (0.98, 0.96, 0.94, 0.92, 0.90, 0.85, 0.80, 0.75):
                eps = fm.orifice_expansibility(D, beta * D, 100.0, 100.0 * tau, kappa)
                out.append((5, 0, 0, beta, tau, kappa, eps))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "data", "reports", "tables_reference.csv")
    with open(path, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(["table", "tap", "D", "row", "column", "kappa", "value"])
        for r in rows():
            w.writerow([r[0], r[1], repr(float(r[2])), repr(float(r[3])), repr(float(r[4])),
                        repr(float(r[5])), repr(float(r[6]))])


if __name__ == "__main__":
    main()
