#include "numerics/trace.hpp"

#include <utility>

namespace qmx::trace {
namespace {
thread_local Sink current;
}

void SetSink(Sink sink) { current = std::move(sink); }
bool Enabled() noexcept { return static_cast<bool>(current); }
void Write(std::string_view line) {
  if (current) current(line);
}

ScopedSink::ScopedSink(Sink sink) : previous_(std::move(current)) { current = std::move(sink); }
ScopedSink::~ScopedSink() { current = std::move(previous_); }

}  // namespace qmx::trace
