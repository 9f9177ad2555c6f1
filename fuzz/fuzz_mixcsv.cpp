// Fuzzes the gas mixture block reader: the input is a file of blocks read in turn into a mix of
// the method chosen by the first byte. Raises (bad blocks, missing keywords, a file ending inside
// a block, refused base conditions) are expected and must leave the mix exactly as it was; a
// crash, a hang or a changed mix after a raise is not.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "gas/gas0.hpp"
#include "gas/gas1.hpp"
#include "gas/mixcsv.hpp"
#include "numerics/error.hpp"

namespace G0 = qmx::GAS0;
namespace G1 = qmx::GAS1;

namespace {

std::string Block(const G0::GMix& mix) {
  std::ostringstream out;
  G1::WriteMixCSV(mix, out);
  return out.str();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool installed = [] {
    G1::InstallStandardMethods();
    return true;
  }();
  (void)installed;
  if (size == 0) return 0;
  const int methods[] = {G0::IdealGasLaw, G0::SKatz, G0::PengR, G0::SgergGCN, G0::AGA8detailed};
  G0::GMix mix = G1::NewMix(methods[data[0] % 5], 0, "fuzz");
  std::istringstream file(std::string(reinterpret_cast<const char*>(data) + 1, size - 1));
  for (int block = 0; block < 4; ++block) {
    const std::string before = Block(mix);
    try {
      G1::ReadMixCSV(mix, file);
    } catch (const qmx::Error&) {
      if (Block(mix) != before) std::abort();  // a failed read must not touch the mix
      break;
    }
    std::ostringstream sheet;
    G1::GasPropertiesCSV(mix, (data[0] & 8) != 0, "fuzz", sheet);
  }
  return 0;
}
