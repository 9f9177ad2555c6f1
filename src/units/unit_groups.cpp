#include "units/unit_groups.hpp"

#include <algorithm>

namespace qmx::FUM {

std::vector<int> GroupRecords(const UnitGroup& group) {
  std::vector<int> records;
  int index = 0;
  // uNextUnitSameDims only moves forward, at most once per catalogue record.
  while (records.size() < static_cast<std::size_t>(kUnitCount) && uNextUnitSameDims(index, group.dims)) {
    records.push_back(index);
  }
  std::stable_sort(records.begin(), records.end(),
                   [](int a, int b) { return uUnitFactor(a) < uUnitFactor(b); });
  return records;
}

}  // namespace qmx::FUM
