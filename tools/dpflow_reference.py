#!/usr/bin/python3
"""Reference mass flows for tests/meters/dpflow_test.cpp from the fluids library
(Debian python3-fluids): its ISO 5167 solvers serve as an independent peer.
Writes data/meters/dpflow_reference.csv on standard output, one row per case:
type, tap or convergent, D, d, dp, P1, rho, mu, kappa, compressible, qm, C, epsilon (SI)."""
from fluids.flow_meter import differential_pressure_meter_solver, differential_pressure_meter_C_epsilon

# (our meter key, fluids meter type, taps, D m, d m, dP Pa, P1 Pa, rho, mu, kappa, compressible)
cases = [
    ("Orf_ISO", "ISO 5167 orifice", "flange", 3.068 * 0.0254, 1.534 * 0.0254, 12e3, 3593.7e3, 27.0, 1.1e-5, 1.3, True),
    ("Orf_ISO", "ISO 5167 orifice", "corner", 3.068 * 0.0254, 1.534 * 0.0254, 12e3, 3593.7e3, 27.0, 1.1e-5, 1.3, True),
    ("Orf_ISO", "ISO 5167 orifice", "D and D/2", 3.068 * 0.0254, 1.534 * 0.0254, 12e3, 3593.7e3, 27.0, 1.1e-5, 1.3, True),
    ("Orf_ISO", "ISO 5167 orifice", "flange", 2.067 * 0.0254, 1.2 * 0.0254, 25e3, 1.0e6, 8.0, 1.1e-5, 1.31, True),
    ("Orf_ISO", "ISO 5167 orifice", "corner", 0.3, 0.2, 5e4, 2.0e6, 998.2, 1.0e-3, 1.0, False),
    ("Orf_ISO", "ISO 5167 orifice", "D and D/2", 0.1, 0.07, 2e3, 3.0e5, 998.2, 1.0e-3, 1.0, False),
    ("Noz_ISA", "ISA 1932 nozzle", None, 0.2, 0.12, 4e4, 5.0e6, 40.0, 1.2e-5, 1.3, True),
    ("Noz_LR", "long radius nozzle", None, 0.15, 0.075, 3e4, 1.0e6, 998.2, 1.0e-3, 1.0, False),
    ("Vent_Cl", "machined convergent venturi tube", 2, 0.15, 0.075, 5e4, 2.0e6, 20.0, 1.1e-5, 1.3, True),
    ("Vent_Cl", "as cast convergent venturi tube", 1, 0.3, 0.15, 1e5, 2.0e6, 20.0, 1.1e-5, 1.3, True),
    ("Vent_Cl", "rough welded convergent venturi tube", 0, 0.5, 0.3, 2e4, 1.0e6, 998.2, 1.0e-3, 1.0, False),
    ("Vent_Noz", "venuri nozzle", None, 0.2, 0.1, 5e4, 2.0e6, 20.0, 1.1e-5, 1.4, True),
]
print("type,tap,D,d,dp,P1,rho,mu,kappa,compressible,qm,C,epsilon")
for key, mtype, taps, D, d, dp, P1, rho, mu, k, comp in cases:
    P2 = P1 - dp
    kw = {"taps": taps} if isinstance(taps, str) else {}
    m = differential_pressure_meter_solver(D=D, D2=d, P1=P1, P2=P2, rho=rho, mu=mu, k=k, meter_type=mtype, **kw)
    C, eps = differential_pressure_meter_C_epsilon(D=D, D2=d, m=m, P1=P1, P2=P2, rho=rho, mu=mu, k=k,
                                                   meter_type=mtype, **kw)
    if not comp:
        eps = 1.0
        # The solver always applies expansibility; redo the mass flow incompressibly (eps = 1).
        from math import sqrt, pi
        beta = d / D
        for _ in range(50):
            m = C / sqrt(1 - beta**4) * pi / 4 * d * d * sqrt(2 * dp * rho)
            C, _e = differential_pressure_meter_C_epsilon(D=D, D2=d, m=m, P1=P1, P2=P2, rho=rho, mu=mu, k=k,
                                                          meter_type=mtype, **kw)
    if mtype == "venuri nozzle":
        # fluids 1.0.22 codes 0.198 where ISO 5167-3:2003 5.3.4.2 (and its own docstring) has 0.196;
        # C is independent of Re, so the flow scales with the ISO coefficient.
        C_iso = 0.9858 - 0.196 * (d / D) ** 4.5
        m *= C_iso / C
        C = C_iso
    # The orifice tap, or the Venturi convergent (0 rough-welded, 1 as-cast, 2 machined).
    tap = taps if isinstance(taps, int) else {"corner": 0, "flange": 1, "D and D/2": 2, None: 1}[taps]
    print("%s,%d,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%.17g,%d,%.17g,%.17g,%.17g"
          % (key, tap, D, d, dp, P1, rho, mu, k, 1 if comp else 0, m, C, eps))
