// FE text formatter: "\" escapes and "%" directives over typed arguments,
// written to a string, a trace line or a file.
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <variant>

#include "numerics/trace.hpp"
#include "units/fe.hpp"

namespace qmx::FE {

namespace {

// Output with the formatter's length limit, in a fixed buffer.
class Output {
 public:
  bool Full() const { return size_ >= kFormatLimit; }
  void Put(char c) {
    if (!Full()) text_[size_++] = c;
  }
  void Put(std::string_view s) {
    const std::size_t n = std::min(s.size(), kFormatLimit - size_);
    std::memcpy(text_.data() + size_, s.data(), n);
    size_ += n;
  }
  void Repeat(char c, std::size_t count) {
    const std::size_t n = std::min(count, kFormatLimit - size_);
    std::memset(text_.data() + size_, c, n);
    size_ += n;
  }
  std::string_view View() const { return {text_.data(), size_}; }

 private:
  std::array<char, kFormatLimit> text_;
  std::size_t size_ = 0;
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

// Saturating truncation of a float value to a whole number (NaN gives 0).
std::int64_t Truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.2233720368547758e18) return std::numeric_limits<std::int64_t>::max();
  if (v <= -9.2233720368547758e18) return std::numeric_limits<std::int64_t>::min();
  return static_cast<std::int64_t>(v);
}

// The argument's bit pattern as an integer of its size (floats by their value).
std::uint64_t Pattern(const ArgValue& value) {
  return std::visit(
      [](const auto& v) -> std::uint64_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, BitSet>) {
          return v.bits;
        } else if constexpr (std::is_same_v<T, std::string_view>) {
          return 0;
        } else if constexpr (std::is_same_v<T, char>) {
          return static_cast<unsigned char>(v);
        } else if constexpr (std::is_floating_point_v<T>) {
          return static_cast<std::uint64_t>(Truncate(static_cast<double>(v)));
        } else {
          return static_cast<std::uint64_t>(v);
        }
      },
      value);
}

std::uint64_t Unsigned(const Arg& arg) {
  const std::size_t size = arg.Size();
  const std::uint64_t bits = Pattern(arg.value);
  return size >= 8 ? bits : bits & ((std::uint64_t{1} << (8 * size)) - 1);
}

std::int64_t Signed(const Arg& arg) {
  const std::size_t size = arg.Size();
  const std::uint64_t bits = Unsigned(arg);
  if (size >= 8) return static_cast<std::int64_t>(bits);
  const std::uint64_t sign = std::uint64_t{1} << (8 * size - 1);
  return static_cast<std::int64_t>((bits ^ sign) - sign);  // sign extension
}

double Real(const ArgValue& value) {
  return std::visit(
      [](const auto& v) -> double {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, BitSet>) {
          return static_cast<double>(v.bits);
        } else if constexpr (std::is_same_v<T, std::string_view>) {
          return 0.0;
        } else {
          return static_cast<double>(v);
        }
      },
      value);
}

bool IsString(const Arg& arg) { return std::holds_alternative<std::string_view>(arg.value); }

bool IntegerSize(std::size_t size) { return size == 1 || size == 2 || size == 4 || size == 8; }

// The digits of v in base 10, 16 (upper case) or 2, written at the end of `buffer`.
std::string_view Digits(std::uint64_t v, unsigned base, std::array<char, 64>& buffer) {
  static constexpr std::string_view kDigits = "0123456789ABCDEF";
  std::size_t first = buffer.size();
  do {  // at most 64 digits
    buffer[--first] = kDigits[v % base];
    v /= base;
  } while (v != 0);
  return {buffer.data() + first, buffer.size() - first};
}

struct Directive {
  bool left = false;
  bool zeros = false;
  int width = 0;  // 0: none
  int precision = 5;
  char letter = 0;
};

// Writes one directive for one argument; the text is built in stack buffers.
void Convert(const Directive& d, const Arg& arg, Output& out) {
  const std::size_t size = arg.Size();
  const bool string = IsString(arg);
  std::string_view text;
  std::array<char, 64> digits;
  NumberBuffer number;
  char one = 0;
  bool accepted = true;
  bool zeroPad = false;
  switch (Lower(d.letter)) {
    case 'i':
      accepted = !string && IntegerSize(size);
      if (accepted) {
        const auto r = std::to_chars(digits.data(), digits.data() + digits.size(), Signed(arg));
        text = std::string_view(digits.data(), static_cast<std::size_t>(r.ptr - digits.data()));
      }
      break;
    case 'u':
    case 'h':
    case 'n': {
      accepted = !string && IntegerSize(size);
      const char letter = Lower(d.letter);
      if (accepted) text = Digits(Unsigned(arg), letter == 'u' ? 10 : (letter == 'h' ? 16 : 2), digits);
      zeroPad = d.zeros;
      break;
    }
    case 'r':
      accepted = !string && (size == 4 || size == 8);
      if (accepted) text = LRtoChars(number, d.precision, d.width, Real(arg.value));
      break;
    case 's':
      if (string) {
        text = std::get<std::string_view>(arg.value);
        text = text.substr(0, text.find('\0'));  // a string ends at its first NUL
        if (d.width > 0) text = text.substr(0, static_cast<std::size_t>(d.width));
      } else if (const char* c = std::get_if<char>(&arg.value)) {
        one = *c;
        text = std::string_view(&one, 1);
      } else {
        accepted = false;
      }
      break;
    case 'c':
      accepted = size == 1 && !std::holds_alternative<BitSet>(arg.value);
      if (accepted) {
        one = string ? std::get<std::string_view>(arg.value).front() : static_cast<char>(Unsigned(arg));
        text = std::string_view(&one, 1);
      }
      break;
    case 'b':
      accepted = size == 1 && !string && !std::holds_alternative<BitSet>(arg.value);
      if (accepted) text = Unsigned(arg) != 0 ? "YES" : "NO ";
      break;
    default:
      one = d.letter;
      text = std::string_view(&one, 1);
      break;
  }
  const auto width = static_cast<std::size_t>(d.width);
  if (!accepted) {
    out.Repeat('#', width > 0 ? width : 1);
    return;
  }
  const std::size_t pad = text.size() < width ? width - text.size() : 0;
  if (d.left) {
    out.Put(text);
    out.Repeat(' ', pad);
  } else {
    out.Repeat(zeroPad ? '0' : ' ', pad);
    out.Put(text);
  }
}

// Reads up to three digits at `i`; false when there are none.
bool ReadNumber(std::string_view format, std::size_t& i, int& value) {
  const std::size_t start = i;
  value = 0;
  while (i < format.size() && i - start < 3 && IsDigit(format[i])) {
    value = value * 10 + (format[i] - '0');
    ++i;
  }
  return i > start;
}

}  // namespace

std::size_t Arg::Size() const noexcept {
  return std::visit(
      [](const auto& v) -> std::size_t {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, BitSet>) {
          return v.size;
        } else if constexpr (std::is_same_v<T, std::string_view>) {
          return v.size();
        } else {
          return sizeof(T);
        }
      },
      value);
}

namespace {

// The formatted text in `out`.
void Format(std::span<const Arg> args, std::string_view format, Output& out) {
  std::size_t next = 0;  // next argument
  std::size_t i = 0;
  while (i < format.size() && !out.Full()) {
    const char c = format[i++];
    if (c == '\\' && i < format.size()) {
      const char e = format[i++];
      switch (Lower(e)) {
        case 'b':
          out.Put('\b');
          break;
        case 'f':
          out.Put('\f');
          break;
        case 'e':
          out.Put('\x1b');
          break;
        case 'n':
          out.Put('\r');
          out.Put('\n');
          break;
        case 't':
          out.Put('\t');
          break;
        default:
          if (IsDigit(e)) {
            --i;
            int code = 0;
            ReadNumber(format, i, code);
            // Codes above 255 name no character.
            out.Put(code <= 255 ? static_cast<char>(static_cast<unsigned char>(code)) : '?');
          } else {
            out.Put(e);
          }
          break;
      }
    } else if (c == '%' && i < format.size()) {
      Directive d;
      if (format[i] == '-') {
        d.left = true;
        ++i;
      } else if (format[i] == '0') {
        d.zeros = true;
        ++i;
      }
      ReadNumber(format, i, d.width);
      if (i < format.size() && format[i] == '.') {
        ++i;
        ReadNumber(format, i, d.precision);
      }
      if (i >= format.size()) break;  // a directive without its letter writes nothing
      d.letter = format[i++];
      if (next < args.size()) Convert(d, args[next++], out);
    } else {
      out.Put(c);
    }
  }
}

}  // namespace

void FormatText(std::span<const Arg> args, std::string_view format, std::string& output) {
  Output out;
  Format(args, format, out);
  output.assign(out.View());
}

namespace detail {

void FmtToTerminal(std::string_view format, std::initializer_list<Arg> args) {
  if (!trace::Enabled()) return;  // nobody reads it
  Output out;
  Format(std::span<const Arg>(args.begin(), args.size()), format, out);
  trace::Write(out.View());
}

std::string FmtToString(std::string_view format, std::initializer_list<Arg> args) {
  Output out;
  Format(std::span<const Arg>(args.begin(), args.size()), format, out);
  return std::string(out.View());
}

bool FmtToFile(std::ostream& file, std::string_view format, std::initializer_list<Arg> args) {
  Output out;
  Format(std::span<const Arg>(args.begin(), args.size()), format, out);
  const std::string_view text = out.View();
  if (!text.empty()) file.write(text.data(), static_cast<std::streamsize>(text.size()));
  return !file.fail();
}

}  // namespace detail

}  // namespace qmx::FE
