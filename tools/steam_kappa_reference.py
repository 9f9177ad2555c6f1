#!/usr/bin/python3
"""Region-3 isentropic exponents kappa = w^2 rho / p from python3-iapws (Debian package).

Writes data/steam/iapws_kappa3.csv: for each (P, T) of region 3 the density that solves the
region-3 Helmholtz equation at exactly P (from the package's backward-equation density), and
the package's speed of sound there. Run from the repository root:
    /usr/bin/python3 tools/steam_kappa_reference.py
"""
import csv
import iapws
from iapws.iapws97 import IAPWS97, _Region3
from scipy.optimize import newton

STATES = [  # (P Pa, T K), all in region 3: liquid-like, vapour-like and supercritical
    (20e6, 640.0), (25e6, 650.0), (30e6, 675.0), (50e6, 750.0), (100e6, 700.0),
    (100e6, 850.0), (23e6, 647.0), (22e6, 646.0), (20e6, 630.0), (18e6, 633.0),
    (40e6, 700.0), (60e6, 760.0), (17e6, 624.0), (21e6, 645.0), (30e6, 660.0),
]


def main():
    rows = []
    for P, T in STATES:
        w = IAPWS97(P=P / 1e6, T=T)
        assert w.region == 3, (P, T, w.region)
        rho = newton(lambda r: _Region3(r, T)["P"] * 1e6 - P, w.rho, tol=1e-11, maxiter=100)
        r3 = _Region3(rho, T)
        kappa = r3["w"] ** 2 * rho / P
        rows.append([repr(P), repr(T), repr(rho), repr(r3["w"]), repr(kappa)])
    with open("data/steam/iapws_kappa3.csv", "w", newline="") as f:
        out = csv.writer(f, lineterminator="\n")
        out.writerow(["# python3-iapws " + iapws.__version__ + ", tools/steam_kappa_reference.py"])
        out.writerow(["P", "T", "rho", "w", "kappa"])
        out.writerows(rows)


if __name__ == "__main__":
    main()
