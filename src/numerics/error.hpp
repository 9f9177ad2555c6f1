#pragma once
// The one exception type of the system: every raise carries the module that
// raised it, the exact message text and a small number.
#include <stdexcept>
#include <string>
#include <string_view>

namespace qmx {

class Error : public std::runtime_error {
 public:
  Error(std::string_view module, std::string_view message, int code)
      : std::runtime_error(std::string(message)), module_(module), code_(code) {}

  const std::string& module() const noexcept { return module_; }
  std::string message() const { return what(); }
  int code() const noexcept { return code_; }

 private:
  std::string module_;
  int code_;
};

[[noreturn]] inline void Raise(std::string_view module, std::string_view message, int code) {
  throw Error(module, message, code);
}

}  // namespace qmx
