#!/usr/bin/python3
"""Regenerates data/meters/wedge_reference.csv: wedge-meter peer values from python3-fluids
(Debian package): the segment-area diameter ratio, the handbook (Miller 1996) coefficient by line
size and the liquid mass flow through the equivalent bore beta D.

Run with Debian's interpreter:  /usr/bin/python3 tools/wedge_reference.py
Columns: D,hD,beta,C,dP,rho,qm  (D in m, hD = h/D, dP in Pa, rho in kg/m3, qm in kg/s)
"""
import csv
import os

from fluids import flow_meter as fm

INCH = 0.0254
RHO = 998.2
P1 = 5e5

# Line sizes inside the handbook's three bands on both sides of the band limits the peer uses
# (0.7 and 1.4 inch) and this program uses (0.99 and 1.7 inch): half-inch, 1 to 1.5 inch, larger.
LINES = (0.0127, 0.0158, 0.0266, 0.0350, 0.0525, 0.1023, 0.2027, 0.3, 0.6)
HD = (0.2, 0.3, 0.4, 0.5, 0.55)
DPS = (2.5e3, 5e4)


def rows():
    out = []
    for D in LINES:
        for hd in HD:
            H = hd * D
            beta = fm.diameter_ratio_wedge_meter(D, H)
            C = fm.C_wedge_meter_Miller(D, H)
            for dP in DPS:
                qm = fm.flow_meter_discharge(D, beta * D, P1, P1 - dP, RHO, C, 1.0)
                out.append((D, hd, beta, C, dP, RHO, qm))
    return out


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = os.path.join(here, "..", "data", "meters", "wedge_reference.csv")
    with open(path, "w", newline="") as f:
        w = csv.writer(f, lineterminator="\n")
        w.writerow(("D", "hD", "beta", "C", "dP", "rho", "qm"))
        for r in rows():
            w.writerow([repr(float(v)) for v in r])


if __name__ == "__main__":
    main()
