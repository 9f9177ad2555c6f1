#!/usr/bin/env python3
"""Writes the seed corpora of the calculation fuzz targets: realistic edit sequences for
fuzz_calc (binary: op byte, argument byte, then an 8-byte double or a text where the op takes
one), KEY=VALUE lines for fuzz_calckeys and header texts and names for fuzz_reportsave.
Run from the repository root; the output is committed under fuzz/corpus/."""
import os
import struct

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "fuzz", "corpus")

# fuzz_calc ops (op % 16): 0 fluid, 1 meter (arg & 1 = turbine method, arg % 41 = code), 2 taps,
# 3 probe, 4/5 materials, 6 product, 7 preset, 8 heating table, 9 energy method, 10 entry text
# (arg & 0x80: fraction field arg % 9, else dimensioned field arg % 19), 11 raw value,
# 12 component text (length arg % 24, component arg % 22), 13 update, 14 viscosity, 15 calculate.
DV = {"dp": 0, "static": 1, "atm": 2, "p1": 3, "t": 4, "tbase": 5, "pbase": 6, "D": 7, "d": 8,
      "k": 11, "gcn_hv": 12, "gcn_mu": 13, "api": 14, "rho_base": 15, "rho_liq": 17, "mu_liq": 18}
RV = {"freq": 0, "beta": 1, "cd": 2, "gcn_gr": 3, "gcn_co2": 4, "gcn_n2": 5, "rd_liq": 8}


def rv_arg(index):
    return next(a for a in range(128, 256) if a % 9 == index)


def entry(field, value, fraction=False):
    arg = rv_arg(RV[field]) if fraction else DV[field]
    return bytes([10, arg]) + struct.pack("<d", value)


def op(code, arg=0):
    return bytes([code, arg])


def component(index, text):
    data = text.encode()
    # Length and component share a factor 2 in the argument: a leading zero fixes the parity.
    if (len(data) - index) % 2:
        data = b"0" + data
    arg = next(a for a in range(256) if a % 24 == len(data) and a % 22 == index)
    return bytes([12, arg]) + data


CALC = {
    "gas_orifice": op(0, 0) + op(1, 12) + op(2, 1) + entry("dp", 12000) + entry("static", 3.5e6)
    + op(13, 0) + entry("t", 288.15) + entry("D", 0.10226) + entry("beta", 0.5, True) + op(13, 3)
    + op(7, 2) + op(15),
    "gas_composition": op(0, 0) + component(0, "90.5") + component(1, "2.1") + component(2, "1.4")
    + component(3, "4.2") + component(4, "1.1") + component(10, "0.3") + component(11, "0.4") + op(15),
    "gcn_venturi": op(0, 2) + op(1, 0) + entry("gcn_gr", 0.62, True) + entry("gcn_co2", 0.015, True)
    + entry("gcn_hv", 3.8e7) + entry("dp", 25000) + entry("p1", 5e6) + op(13, 1) + op(15),
    "steam_nozzle": op(0, 1) + op(1, 7) + entry("dp", 40000) + entry("p1", 1.0e6) + op(13, 1)
    + entry("t", 453.0) + op(15) + op(0, 5) + entry("t", 573.15) + op(15),
    "liquid_cone": op(0, 3) + op(1, 3) + entry("rho_liq", 998.2) + entry("mu_liq", 1.0e-3)
    + entry("dp", 15000) + entry("beta", 0.55, True) + op(13, 3) + op(15),
    "hcliquid_orifice": op(0, 4) + op(6, 0) + entry("api", 35.0) + op(13, 4) + op(1, 14) + op(2, 1)
    + entry("dp", 20000) + entry("t", 303.15) + op(14) + op(15),
    "turbine": op(0, 0) + op(1, 39 + 82) + entry("k", 35314.7) + entry("freq", 1000.0, True)
    + entry("static", 2e6) + op(13, 0) + op(15),
    "pitot_probe": op(0, 0) + op(1, 33) + op(3, 5) + entry("D", 0.3048) + entry("dp", 500) + op(15),
    "base_edits": op(0, 0) + entry("tbase", 288.15) + entry("pbase", 101325) + op(8, 6) + op(9, 2)
    + op(4, 3) + op(5, 4) + op(15),
}

# Whole sessions: one page after another, as a user works through a calculation.
CALC["session_gas_steam_liquid"] = CALC["gas_orifice"] + CALC["steam_nozzle"] + CALC["liquid_cone"]
CALC["session_gcn_turbine"] = CALC["gcn_venturi"] + CALC["turbine"] + CALC["base_edits"]
CALC["session_all"] = b"".join(CALC[k] for k in list(CALC)[:9])

CALCKEYS = {
    "gas_orifice": "meter=12\ntaps=1\ndp=12 kpa\nstatic_pressure=3500 kpa\nflowing_temperature=15 C\n"
    "pipe_diameter=102.26 mm\nbeta=0.5\ncompany=Acme Gas\n",
    "gas_composition": "x.C1=90.5\nx.N2=2.1\nx.CO2=1.4\nx.C2=4.2\nx.C3=1.1\nx.iC4=0.3\nx.nC4=0.4\n"
    "heating_value_table=6\nenergy_method=2\n",
    "steam": "fluid=drysteam\nmeter=7\ndp=40 kpa\nupstream_pressure=1 mpa\nflowing_temperature=300 C\n",
    "liquid": "fluid=hcliquid\nliquid_product=1\napi_gravity=35\nmeter=14\nflowing_temperature=30 C\n",
    "turbine": "meter=39\nk_factor=1000 pulse/ft3\nfrequency=250\nbase_pressure=14.73 psi\n",
    "pitot": "meter=33\nprobe_model=5\npipe_diameter=12 in\ndp=2 inw\ntube_material=SS316\n",
    "numbers": "dp=.6 kpa\nbeta=0.6\nstatic_pressure= 500  psi \nwell=12-B  north\nmeter_tag=FT, \"101\"\n",
}

REPORTSAVE = {
    # mode byte: fluid (low 3 bits), csv (0x08), action (bits 4-5), then zero-ended texts.
    "text_replace": bytes([0x00]) + b"Acme Gas\0Field 7\012-B\0FT-101\0J. Doe\0report.txt\0",
    "csv_blanks": bytes([0x08]) + b"A  B\0x, \"y\"\0 lead\0tail \0line\nbreak\0r.csv\0",
    "csv_new_names": bytes([0x38]) + b"Acme\0\0\0\0\0\0",
    "link": bytes([0x12]) + b"Caf\xc3\xa9\0\0\0\0\0target.txt\0",
    "fifo": bytes([0x23]) + b"x\0\0\0\0\0pipe\0",
}


def write(folder, name, data):
    path = os.path.join(ROOT, folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data if isinstance(data, bytes) else data.encode())


def main():
    for name, data in CALC.items():
        write("calc", name, data)
    for name, data in CALCKEYS.items():
        write("calckeys", name, data)
    for name, data in REPORTSAVE.items():
        write("reportsave", name, data)


if __name__ == "__main__":
    main()
