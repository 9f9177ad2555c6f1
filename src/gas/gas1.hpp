// Gas mixtures: the method registry, creation, the setters and getters of a mix, the update
// pipeline (composition methods and the SGERG gross-characteristics methods), the flowing state
// with its caching, the omens text and the slate estimate from gross characteristics.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "gas/gas0.hpp"

namespace qmx::GAS1 {

inline constexpr const char* kModule = "GAS1";

// Z and molar density (kmol/m3) of one state.
struct ZD {
  double Z = 1.0;
  double D = 0.0;
};

// A base procedure characterises the mix and returns Z and molar density at (P Pa, T K); a flowing
// procedure returns them at a flowing state; a thermo procedure fills THERMO. Procedures report
// physical trouble through the mix's omens.
using BaseProc = ZD (*)(double P, double T, GAS0::MixRecord& mix);
using FlowProc = ZD (*)(double P, double T, GAS0::MixRecord& mix);
using ThermoProc = void (*)(double P, double T, GAS0::MixRecord& mix);

// ---------------------------------------------------------------------------------------------
// Registry (per thread: install on the thread that uses the mixes).

// Codes 3 and 8..12 fill their own base and flowing slots, 4..7 the shared SGERG base slot and
// their own flowing slot, 0..2 nothing; the code joins the installed set. Codes outside 0..12
// are ignored.
void InstallMethods(BaseProc base, FlowProc flowing, int code);
// Codes 8 and 11 only; any other raises "InstallMethods() invalid thermo method".
void InstallThermoMethods(BaseProc base, FlowProc flowing, ThermoProc thermo, int code);
// The installed set (bit per method code).
std::uint16_t InstalledMethods();
bool IsInstalled(int code);
// Puts every slot back to the ideal-gas stub and the installed set to {0, 1, 2}.
void ResetRegistry();
// The registered procedures of a code (for the base slot of 4..7 the shared SGERG slot).
BaseProc BaseSlot(int code);
FlowProc FlowSlot(int code);

// Z and molar density at (P, T) by the mix's method. Raises "GAS1.MdZflowing() invalid method"
// for a method not installed.
ZD MdZflowing(double P, double T, const GAS0::GMix& mix);

// ---------------------------------------------------------------------------------------------
// Life and identity.

// A new mix of pure methane with the method's defaults (see the mix pipeline). Raises
// "GAS1.NewMix() method not installed" for a method outside the installed set.
GAS0::GMix NewMix(int zMethod, int unitSet, std::string_view name);
// The same with the H method given instead of AGA5method.
GAS0::GMix NewMix(int hMethod, int zMethod, int unitSet, std::string_view name);

void MixSetName(const GAS0::GMix& mix, std::string_view name);  // keeps 31 characters
std::string MixGetName(const GAS0::GMix& mix);

// ---------------------------------------------------------------------------------------------
// Composition.
using Slate = std::array<double, GAS0::kComponents>;

void MixSetSlate(const GAS0::GMix& mix, std::span<const double, GAS0::kComponents> S);
Slate MixGetSlate(const GAS0::GMix& mix);
// One raw entry; a component outside 0..28 is ignored.
void MixSetX(const GAS0::GMix& mix, double value, int component);
// Kind 0 raw entry, 1 normalised fraction, 2 the method's own vector (see the pipeline); 0 for a
// component outside 0..28.
double MixGetX(const GAS0::GMix& mix, int component, int kind);
double MixSumX(const GAS0::GMix& mix, int kind);

// ---------------------------------------------------------------------------------------------
// Gross inputs: store the value, add the tag to the known set, mark dirty.
void MixSetGr(const GAS0::GMix& mix, double gr);
void MixSetHs(const GAS0::GMix& mix, double hs);
void MixSetCO2(const GAS0::GMix& mix, double x);
void MixSetN2(const GAS0::GMix& mix, double x);
void MixSetCO(const GAS0::GMix& mix, double x);
void MixSetH2(const GAS0::GMix& mix, double x);
void MixSetMu(const GAS0::GMix& mix, double mu);
std::uint64_t MixGetKnown(const GAS0::GMix& mix);
void MixClearKnown(const GAS0::GMix& mix, std::uint64_t tags);

// ---------------------------------------------------------------------------------------------
// Conditions and choices.
void MixSetTbase(const GAS0::GMix& mix, double T);
void MixSetPbase(const GAS0::GMix& mix, double P);
void MixSetHTcOverride(const GAS0::GMix& mix, double T);
void MixClearHTcOverride(const GAS0::GMix& mix);
double MixGetHTc(const GAS0::GMix& mix);
void MixSetDataSource(const GAS0::GMix& mix, int code);
int MixGetDataSource(const GAS0::GMix& mix);
std::string MixGetDataSourceName(const GAS0::GMix& mix);
void MixSetWetBasis(const GAS0::GMix& mix, bool on);
void MixSetZrounding(const GAS0::GMix& mix, bool on);
void MixSetHMethod(const GAS0::GMix& mix, int code);
int MixGetHMethod(const GAS0::GMix& mix);
std::string_view MixGetHMethodName(const GAS0::GMix& mix);
int MixGetZMethod(const GAS0::GMix& mix);
// Changes the Z method (estimating a slate when leaving an SGERG method for a composition
// method) and updates the mix.
void MixSetZMethod(const GAS0::GMix& mix, int code);
void MixSetRefTPset(const GAS0::GMix& mix, int code);
int MixGetRefTPset(const GAS0::GMix& mix);
// One SREF value, tags 37..41 only ("GAS1.MixGetSgergRefTPvalue()").
double MixGetSgergRefTPvalue(const GAS0::GMix& mix, int tag);
// Overrides one SREF value (tags 37..41, "GAS1.MixOverrideSgergRefTPvalue()") and sets the
// reference set code to SPLrefTP.
void MixOverrideSgergRefTPvalue(const GAS0::GMix& mix, double value, int tag);

// ---------------------------------------------------------------------------------------------
// Results.
struct Result {
  double value = 0.0;
  GAS0::Omens omens = 0;
};

// Recomputes every section now.
void MixUpdate(const GAS0::GMix& mix);
// Section getters: update when base-dirty, then the value and the omens; a tag outside the
// section gives 0.0 with omens 2046.
Result MixGetIdeal(const GAS0::GMix& mix, int tag);  // 0..7
Result MixGetBase(const GAS0::GMix& mix, int tag);   // 17..23
Result MixGetNormal(const GAS0::GMix& mix, int tag); // 17..23
Result MixGetHeat(const GAS0::GMix& mix, int tag);   // 19..36
Result MixGetGross(const GAS0::GMix& mix, int tag);  // 42..50
// One property at flowing (P, T): IDEAL 0..7, THERMO 8..16, FLOWING 17..23, HEAT 25..36,
// GROSS 42..50; any other tag raises "GAS1.MixGetFlowing()". The flowing state is recomputed
// only when P, T or the mix changed.
Result MixGetFlowing(const GAS0::GMix& mix, int tag, double P, double T);

// Texts of the set bits in bit order, at most 600 characters.
std::string MixOmensText(GAS0::Omens omens);

// Number of flowing-state computations on this thread since the last call (cache checks).
int TakeFlowingUpdates();

// ---------------------------------------------------------------------------------------------
// Update pipeline.

// Slate estimated from gross characteristics (hs in J/m3) for SGERG variant 4..7, normalised by
// absolute values. Raises "GAS1.Estimate() invalid method" for any other code.
Slate Estimate(double n2, double co2, double gr, double hs, int variant);

// Composition methods: normalise, fold into the method's vector, mixing rules, gross values
// from the composition, then the base, normal and heating-value states.
void UpdateIGHBfromSlate(const GAS0::GMix& mix);
// AIR, BASE, NORMAL, HEAT and GROSS from the normalised slate and IDEAL with the Z method's base
// states ("GAS1.UpdateHBfromSlate() Invalid base T P", "GAS1.UpdateHBfromSlate()").
void UpdateHBfromSlate(const GAS0::GMix& mix);
// SGERG methods: the sections from the gross characteristics ("GAS1.UpdateViaGross() invalid
// method", "GAS1.UpdateViaGross() missing data").
void UpdateViaGross(const GAS0::GMix& mix);

// Normalises the raw slate (dry basis) and folds it into the method's own vector: the
// composition a base-dirty method procedure characterises.
void FoldComposition(GAS0::MixRecord& m);

// Installs the AGA-8 detail procedures under code 8 and the SGERG procedures under code 4.
void InstallStandardMethods();

}  // namespace qmx::GAS1
