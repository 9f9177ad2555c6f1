// UTF-8 validity and character counts, against the well-formed byte sequences of RFC 3629.
#include "units/utf8.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using qmx::UTF8::Length;
using qmx::UTF8::PrefixBytes;

TEST(Utf8, LengthCountsCharacters) {
  struct Case {
    std::string text;
    std::optional<std::size_t> length;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"", 0},
           {"Acme", 4},
           {"Caf\xC3\xA9", 4},                  // U+00E9
           {"\xE2\x82\xAC 5", 3},               // U+20AC
           {"\xF0\x9F\x98\x80", 1},             // U+1F600
           {"\xED\x9F\xBF", 1},                 // U+D7FF, last before the surrogates
           {"\xF4\x8F\xBF\xBF", 1},             // U+10FFFF
           {"\xFF", std::nullopt},              // never in UTF-8
           {"\xE9t\xE9", std::nullopt},         // Latin-1 text
           {"\x80", std::nullopt},              // a continuation byte alone
           {"\xC3", std::nullopt},              // truncated
           {"\xC0\xAF", std::nullopt},          // overlong "/"
           {"\xE0\x80\xAF", std::nullopt},      // overlong "/"
           {"\xED\xA0\x80", std::nullopt},      // U+D800, a surrogate
           {"\xF4\x90\x80\x80", std::nullopt},  // above U+10FFFF
           {"\xF5\x80\x80\x80", std::nullopt}}) {
    EXPECT_EQ(Length(c.text), c.length) << c.text;
  }
}

TEST(Utf8, PrefixNeverSplitsACharacter) {
  const std::string text = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80z";
  EXPECT_EQ(PrefixBytes(text, 0), 0u);
  EXPECT_EQ(PrefixBytes(text, 1), 1u);
  EXPECT_EQ(PrefixBytes(text, 2), 3u);
  EXPECT_EQ(PrefixBytes(text, 3), 6u);
  EXPECT_EQ(PrefixBytes(text, 4), 10u);
  EXPECT_EQ(PrefixBytes(text, 5), 11u);
  EXPECT_EQ(PrefixBytes(text, 100), 11u);
  std::string hundred;
  for (int i = 0; i < 100; ++i) hundred += "\xC3\xA9";
  EXPECT_EQ(Length(hundred), 100u);
  EXPECT_EQ(PrefixBytes(hundred + "x", 100), 200u);
}

}  // namespace
