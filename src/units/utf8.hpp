#pragma once
// UTF-8 texts entered by the user (report header texts): validity and length in characters.
#include <cstddef>
#include <optional>
#include <string_view>

namespace qmx::UTF8 {

// Number of characters (code points) of a text, or nullopt when it is not valid UTF-8
// (a stray continuation byte, a truncated sequence, an overlong form, a surrogate or a
// code point above U+10FFFF).
std::optional<std::size_t> Length(std::string_view text) noexcept;

// Bytes of the first `characters` characters of a valid UTF-8 text (the whole text when it
// is shorter), so that a cut never splits a character.
std::size_t PrefixBytes(std::string_view text, std::size_t characters) noexcept;

}  // namespace qmx::UTF8
