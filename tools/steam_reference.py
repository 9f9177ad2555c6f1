#!/usr/bin/python3
"""Peer values for the IF97 engine from python3-iapws (Debian package).

Writes data/steam/iapws_peer.csv: single-phase states (region, density, enthalpy)
and saturated states by pressure and by temperature (liquid and vapour density and
enthalpy), with the package's viscosity (IAPWS 2008 formulation) for a loose
plausibility check of the 1985 equation. Run from the repository root:
    /usr/bin/python3 tools/steam_reference.py
"""
import csv
import iapws
from iapws.iapws97 import IAPWS97, _Bound_TP, _PSat_T, _Region3, _Backward3_sat_v_P
from iapws._iapws import _Viscosity
from scipy.optimize import newton

SINGLE = [  # (P Pa, T K)
    (0.1e6, 300.0), (1e6, 300.0), (10e6, 450.0), (50e6, 600.0), (100e6, 273.15),
    (100e6, 623.15), (20e6, 620.0), (3e6, 473.15), (611.657, 273.16),
    (1e3, 300.0), (0.1e6, 400.0), (1e6, 500.0), (10e6, 700.0), (30e6, 1073.15),
    (100e6, 1073.15), (16e6, 650.0), (50e6, 900.0), (1e6, 1000.0),
    (25e6, 650.0), (30e6, 700.0), (100e6, 700.0), (50e6, 750.0), (20e6, 640.0),
    (20e6, 630.0), (22e6, 646.0), (22e6, 647.5), (100e6, 850.0), (23e6, 647.0),
]
SAT_P = [1e3, 101325.0, 1e6, 10e6, 16e6, 17e6, 18e6, 20e6, 21e6, 22e6]
SAT_T = [273.15, 300.0, 373.15, 500.0, 600.0, 623.15, 630.0, 640.0, 645.0, 647.0]


class Sat3:
    """A saturated state above 623.15 K: the region-3 root at (Psat(T), T)."""
    def __init__(self, T, x):
        P = _PSat_T(T)
        rho = newton(lambda r: _Region3(r, T)["P"] - P, 1.0 / _Backward3_sat_v_P(P, T, x),
                     tol=1e-9, maxiter=100)
        self.P, self.T, self.rho = P, T, rho
        self.h = _Region3(rho, T)["h"]
        self.mu = _Viscosity(rho, T)


def main():
    rows = []
    for P, T in SINGLE:
        w = IAPWS97(P=P / 1e6, T=T)
        rows.append(["single", repr(P), repr(T), _Bound_TP(T, P / 1e6),
                     repr(w.rho), repr(w.h * 1e3), repr(w.mu), "", "", ""])
    for kind, values in (("satP", SAT_P), ("satT", SAT_T)):
        for v in values:
            if kind == "satP":
                liq, vap = IAPWS97(P=v / 1e6, x=0.0), IAPWS97(P=v / 1e6, x=1.0)
            elif v <= 623.15:
                liq, vap = IAPWS97(T=v, x=0.0), IAPWS97(T=v, x=1.0)
            else:
                # The package takes the backward-equation density here; solve the region-3
                # pressure at exactly (Psat(T), T) instead, from that density.
                liq, vap = Sat3(v, 0), Sat3(v, 1)
            rows.append([kind, repr(liq.P * 1e6), repr(liq.T), 4,
                         repr(liq.rho), repr(liq.h * 1e3), repr(liq.mu),
                         repr(vap.rho), repr(vap.h * 1e3), repr(vap.mu)])
    with open("data/steam/iapws_peer.csv", "w", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["# python3-iapws " + iapws.__version__ + ", tools/steam_reference.py"])
        out.writerow(["kind", "P", "T", "region", "rho", "h", "mu", "rhoV", "hV", "muV"])
        out.writerows(rows)


if __name__ == "__main__":
    main()
