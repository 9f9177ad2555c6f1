#!/usr/bin/python3
"""Regenerates data/meters/fluids_reference.csv: peer values from python3-fluids
(Debian package) for the differential-pressure equations it implements.

Run with Debian's interpreter:  /usr/bin/python3 tools/dp_reference.py
Columns: case,tap,D,beta,Re,P1,P2,kappa,value
  D in m, Re the pipe Reynolds number, P1/P2 in Pa abs; unused fields are 0.
"""
import csv
import math
import os

import fluids
from fluids import flow_meter as fm

RHO = 1000.0
MU = 1e-3
TAPS = {0: "corner", 1: "flange", 2: "D and D/2"}


def mass_for(Re, D):
    # Re_D = 4 m / (pi D mu)
    return Re * math.pi * D * MU / 4.0


def rows():
    out = []
    # ISO 5167-2:2003 Reader-Harris/Gallagher, with the D < 71.12 mm term.
    for tap in (0, 1, 2):
        for D in (0.05, 0.06, 0.1, 0.3, 1.0):
            for beta in (0.1, 0.2, 0.4, 0.5, 0.6, 0.75):
                for Re in (5e3, 2e4, 1e5, 1e6, 1e8):
                    C = fm.C_Reader_Harris_Gallagher(D, beta * D, RHO, MU, mass_for(Re, D), TAPS[tap])
                    out.append(("rhg", tap, D, beta, Re, 0, 0, 0, C))
    # ISO 5167-1:1991 Stolz equation, as Miller (1996) writes it for corner and flange taps
    # (b = 91.706 beta^2.5 is 0.0029 beta^2.5 (1e6)^0.75; 2.286 and 0.856 are 0.0900 and 0.0337 times 25.4).
    for tap in (0, 1):
        for D in (0.05, 0.1, 0.3):
            for beta in (0.2, 0.4, 0.5, 0.6, 0.75):
                for Re in (1e4, 1e5, 1e6, 1e7):
                    C = fm.C_Miller_1996(D, beta * D, RHO, MU, mass_for(Re, D), subtype="orifice", taps=TAPS[tap])
                    out.append(("stolz", tap, D, beta, Re, 0, 0, 0, C))
    # ISO 5167-3:2003 ISA 1932 and long-radius nozzles.
    for beta in (0.3, 0.44, 0.5, 0.6, 0.8):
        for Re in (2e4, 1e5, 1e6, 1e7):
            D = 0.1
            m = mass_for(Re, D)
            out.append(("isa", 0, D, beta, Re, 0, 0, 0, fm.C_ISA_1932_nozzle(D, beta * D, RHO, MU, m)))
            out.append(("lrn", 0, D, beta, Re, 0, 0, 0, fm.C_long_radius_nozzle(D, beta * D, RHO, MU, m)))
    # Expansibility: ISO 5167-2:2003 orifice, ISO 5167-1:1991 orifice, ISO 5167-3 nozzles.
    for beta in (0.2, 0.5, 0.75):
        for tau in (0.99, 0.9, 0.8, 0.75):
            for k in (1.0001, 1.3, 1.4):
                P1 = 1e6
                P2 = tau * P1
                D = 0.1
                out.append(("eps2003", 0, D, beta, 0, P1, P2, k, fm.orifice_expansibility(D, beta * D, P1, P2, k)))
                out.append(("eps1991", 0, D, beta, 0, P1, P2, k,
                            fm.orifice_expansibility_1989(D, beta * D, P1, P2, k)))
                out.append(("epsnoz", 0, D, beta, 0, P1, P2, k, fm.nozzle_expansibility(D, beta * D, P1, P2, k)))
    # ISO/TR 15377 quarter-circle and eccentric (base polynomial) orifices.
    for beta in (0.245, 0.3, 0.4, 0.5, 0.6, 0.7, 0.84):
        D = 0.2
        out.append(("quad", 0, D, beta, 0, 0, 0, 0, fm.C_quarter_circle_orifice_ISO_15377_1998(D, beta * D)))
        out.append(("ecc", 0, D, beta, 0, 0, 0, 0, fm.C_eccentric_orifice_ISO_15377_1998(D, beta * D)))
    # Miller (1996) segmental orifice (flange and vena-contracta = D and D/2 taps) and conical entrance.
    for D in (0.08, 0.2):
        for beta in (0.35, 0.5, 0.65, 0.75):
            for tap, name in ((1, "flange"), (2, "vena contracta")):
                C = fm.C_Miller_1996(D, beta * D, RHO, MU, mass_for(1e5, D), subtype="segmental orifice", taps=name)
                out.append(("seg", tap, D, beta, 1e5, 0, 0, 0, C))
    for beta in (0.15, 0.25, 0.3):
        D = 0.05
        Re = 300.0 * beta  # inside 250 beta .. 500 beta
        C = fm.C_Miller_1996(D, beta * D, RHO, MU, mass_for(Re, D), subtype="conical orifice", taps="corner")
        out.append(("cone", 0, D, beta, Re, 0, 0, 0, C))
    # Miller wedge: segment-area beta and the wedge coefficient (half-inch and large lines).
    for D, hd in ((0.0127, 0.3), (0.0127, 0.5), (0.3, 0.2), (0.3, 0.35), (0.3, 0.5)):
        H = hd * D
        out.append(("wedgebeta", 0, D, hd, 0, 0, 0, 0, fm.diameter_ratio_wedge_meter(D, H)))
        out.append(("wedgeC", 0, D, hd, 0, 0, 0, 0, fm.C_wedge_meter_Miller(D, H)))
    # Permanent pressure loss of orifices (ISO 5167-2 5.4) and velocity of approach.
    for beta in (0.2, 0.5, 0.7):
        for C in (0.6, 0.61):
            D = 0.1
            P1, P2 = 2e5, 1.5e5
            out.append(("loss", 0, D, beta, 0, P1, P2, C, fm.dP_orifice(D, beta * D, P1, P2, C)))
        out.append(("voa", 0, 0, beta, 0, 0, 0, 0, fm.velocity_of_approach_factor(1.0, beta)))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "data", "meters", "fluids_reference.csv")
    with open(path, "w", newline="") as f:
        w = csv.writer(f)
        w.writerow(["case", "tap", "D", "beta", "Re", "P1", "P2", "kappa", "value"])
        for r in rows():
            w.writerow([r[0], r[1]] + [repr(float(v)) for v in r[2:]])
    print("fluids", fluids.__version__, "rows", len(rows()))


if __name__ == "__main__":
    main()
