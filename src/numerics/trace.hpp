#pragma once
// Diagnostic trace lines ("\n    RECALC" and the like). They carry no meaning
// for the calculation; by default they are discarded. A test or a program can
// install a sink to capture them. The sink is per thread.
#include <functional>
#include <string_view>

namespace qmx::trace {

using Sink = std::function<void(std::string_view)>;

// Installs a sink for this thread; an empty function restores the discarding default.
void SetSink(Sink sink);
// True when a sink is installed, so callers can skip building a line nobody reads.
bool Enabled() noexcept;
// Hands one line to the sink, if any.
void Write(std::string_view line);

// Installs a sink for the lifetime of the object and restores the previous one.
class ScopedSink {
 public:
  explicit ScopedSink(Sink sink);
  ~ScopedSink();
  ScopedSink(const ScopedSink&) = delete;
  ScopedSink& operator=(const ScopedSink&) = delete;

 private:
  Sink previous_;
};

}  // namespace qmx::trace
