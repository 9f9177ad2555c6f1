// Composition-level calculations of the gas engine on plain inputs: the ideal mixing rules
// (DoMix), component look-ups, the heating-value temperature correction, the ideal isentropic
// exponent, dilute-gas viscosity, dry air at base conditions, and the BASE, NORMAL, HEAT and
// GROSS results at base conditions with the methane numbers and water terms. The mix record
// wraps these; nothing here depends on it.
#pragma once

#include <array>
#include <cstdint>

#include "gas/components.hpp"

namespace qmx::GAS1 {

inline constexpr double kRgas = 8314.51;              // J/(kmol K)
inline constexpr double kT60F = 288.7055555555556;    // K
inline constexpr double kT25C = 298.15;               // K
inline constexpr double kTnormal = 273.15;            // K
inline constexpr double kPnormal = 101325.0;          // Pa
inline constexpr double kMair = 28.9625;              // kg/kmol, dry air

// Ideal section in tag order (tags 0..7).
enum IdealTag : int { tHN25 = 0, tPc, tTc, tcW, tMu, tMr, tHC, tkP };

// Result of the ideal mixing rules.
struct IdealMix {
  std::array<double, 8> ideal{};  // HN25 J/kmol, Pc Pa, Tc K, cW, Mu Pa s, M kg/kmol, HC, kP
  double Hm = 0.0;                // mass heating value at the table temperature, J/kg
  double HN = 0.0;                // molar heating value at the table temperature, MJ/kmol
  double HNdry = 0.0;             // the same without water, MJ/kmol
};

// Ideal mixing rules over the present components of the normalised slate X. Raises
// "GAS1.DoMix() invalid table" for a data source outside 0..7.
IdealMix DoMix(int source, int hmethod, const Present& present, const Slate& X);

// One component's value of an ideal tag: 0 molar heating value at the table temperature
// (J/kmol), 1 Pc (Pa), 2 Tc (K), 3 acentric factor, 4 dilute viscosity (Pa s), 5 molar mass,
// 6 hydrogen-to-carbon atom ratio, 7 perfect-gas isentropic exponent Cp/(Cp - R) at 298.15 K.
// Raises "GAS1.GasGetIdeal() invalid table" for a source or tag outside 0..7; a component
// outside 0..28 gives 0.
double GasGetIdeal(int source, int tag, int component);

// Heating value at T1 given HV (J/kmol) at T2 (K), by the H method's heat-capacity set
// (GrossHmethod: unchanged). X holds the mole fractions.
double CorrectHV(double HV, double T1, double T2, int hmethod, const Slate& X);

// Ideal isentropic exponent Cp/(Cp - R) at T (K) from the heat-capacity polynomials.
double IdealExponent(const Present& present, const Slate& X, double T);

// Dilute-gas viscosity at T (Pa s) by the Sutherland form from Mu (Pa s at 60 F), S = 0.9 Tc.
double ViscosityAt(double T, double Tc, double Mu);

// Saturation pressure of water at T (Pa) by IAPWS-IF97, T taken into 273.15..647.096 K; 0 when T is
// not finite.
double WaterVapourPressure(double T);

// Z rounded to a multiple of 1e-5, molar density to a multiple of 1e-6 (halves away from zero).
double RoundZ(double Z);
double RoundMD(double mD);

// A state section (tags 17..23).
struct State {
  double Tt = 0, Pp = 0, RHO = 0, Mut = 0, mD = 0, kI = 0, Z = 0;
};

// Dry air at T, P: false outside 273.15..298.15 K and 71705.475849..110316.11669 Pa (or NaN).
bool AirAt(double T, double P, State& air);
// The base conditions AirAt admits (K, Pa absolute): the gas volume reference must lie inside.
inline constexpr double kAirTmin = 273.15, kAirTmax = 298.15;
inline constexpr double kAirPmin = 71705.475849, kAirPmax = 110316.11669;

// Inputs of the base-condition update.
struct HeatInputs {
  int hmethod = AGA5method;
  Present present{};
  Slate X{};
  IdealMix ideal{};        // from DoMix
  double Tbase = kT60F;    // K
  double Pbase = 101559.77492836994;  // Pa
  double THc = kT60F;      // K, heating-value temperature
  double Zb = 1, mDb = 0;  // from the Z method at base (already rounded when Z rounding is on)
  double Zn = 1, mDn = 0;  // the same at normal conditions
};

// HEAT section values (tags 17..36).
struct Heat {
  State st;
  double THc = 0, HN = 0, Hm = 0, Hv = 0, Pvw = 0, Hvn = 0, WI = 0;
  double Mon1 = 0, Mon2 = 0, Meth1 = 0, Meth2 = 0, vH2O = 0, dH2O = 0;
};

struct BaseResult {
  State air, base, normal;
  Heat heat;
  double gr = 0, mrg = 0, hng = 0, hs = 0;  // GROSS results
};

// AIR, BASE, NORMAL, HEAT and GROSS's gr, mrg, hng, hs at base conditions. Raises
// "GAS1.UpdateHBfromSlate() Invalid base T P" when the air state at base is invalid (check it
// with AirAt before running the Z method to raise first).
BaseResult HeatFromSlate(const HeatInputs& in);

// Methane-number terms from the hydrogen-to-carbon ratio and the slate.
double MethaneNumberHC(double HC);  // Mon1
double MethaneNumberX(const Slate& X);  // Mon2

}  // namespace qmx::GAS1
