// Look-ups over the component constants: species record fields and data source titles.
#include "gas/components.hpp"

namespace qmx::GAS1 {

std::string DataSourceTitle(int source) {
  if (const SourceTable* t = Table(source)) return std::string(t->title);
  if (source == GasDataTest) return std::string("Special testing").append(45 - 15, ' ');
  return {};
}

std::string GetSpecies(int component, int field) {
  if (component < 0 || component >= kNComp || field < 0 || field >= kSpeciesFields) return {};
  std::string_view rec = kSpecies[static_cast<std::size_t>(component)];
  for (int f = 0; f < field; ++f) {
    const auto bar = rec.find('|');
    if (bar == std::string_view::npos) return {};
    rec.remove_prefix(bar + 1);
  }
  return std::string(rec.substr(0, rec.find('|')));
}

}  // namespace qmx::GAS1
