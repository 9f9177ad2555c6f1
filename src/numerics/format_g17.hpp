#pragma once
// Shortest exact text of a double at 17 significant digits, as printf "%.17g" writes it in the C locale.
#include <cstddef>

namespace qmx::Numerics {

// The most characters FormatG17 writes ("-1.2345678901234567e-308" is 24).
inline constexpr std::size_t kFormatG17Max = 32;

// Writes x as std::to_chars(first, last, x, std::chars_format::general, 17) does, byte for byte
// (signed zero, subnormals, "inf" and "nan" included), and returns the end of the text.
// first must have room for kFormatG17Max characters: bytes after the returned end, up to first +
// kFormatG17Max, may be overwritten as scratch. Allocates nothing; no terminating NUL.
char* FormatG17(double x, char* first) noexcept;

}  // namespace qmx::Numerics
