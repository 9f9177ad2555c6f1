#include "units/utf8.hpp"

namespace qmx::UTF8 {
namespace {

// Length of the sequence starting at text[i] when it is a well-formed UTF-8 character, else 0.
std::size_t SequenceAt(std::string_view text, std::size_t i) noexcept {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char b0 = byte(i);
  if (b0 < 0x80) return 1;
  std::size_t n = 0;
  unsigned char lo = 0x80, hi = 0xBF;  // range of the second byte (RFC 3629 table)
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3;
    if (b0 == 0xE0) lo = 0xA0;  // no overlong forms
    if (b0 == 0xED) hi = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4;
    if (b0 == 0xF0) lo = 0x90;  // no overlong forms
    if (b0 == 0xF4) hi = 0x8F;  // nothing above U+10FFFF
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  if (byte(i + 1) < lo || byte(i + 1) > hi) return 0;
  for (std::size_t k = 2; k < n; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return n;
}

}  // namespace

std::optional<std::size_t> Length(std::string_view text) noexcept {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); ++count) {
    const std::size_t n = SequenceAt(text, i);
    if (n == 0) return std::nullopt;
    i += n;
  }
  return count;
}

std::size_t PrefixBytes(std::string_view text, std::size_t characters) noexcept {
  std::size_t i = 0;
  for (std::size_t count = 0; count < characters && i < text.size(); ++count) {
    const std::size_t n = SequenceAt(text, i);
    i += n == 0 ? 1 : n;  // an invalid byte counts as one character
  }
  return i;
}

}  // namespace qmx::UTF8
