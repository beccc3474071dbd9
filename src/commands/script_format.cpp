// The printf-style formatter for formats that come from scripts.
#include "commands/script_format.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>

#include "interpreter/arguments.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

// Widths and precisions are read up to this value; anything at or above INT_MAX makes
// the result fail, as printf fails with a result longer than INT_MAX.
constexpr int64_t kFieldLimit = int64_t{1} << 33;

// The exact decimal expansion of a double ends within 1074 fraction digits and has at
// most 767 significant digits, so digits asked for beyond this are zeros: they are
// counted, not computed.
constexpr int64_t kFloatDigitsComputed = 1100;

// Keeps a prefix of the result and counts its whole length.
class Sink {
 public:
  explicit Sink(size_t keep) : keep_(keep) {}

  void Append(std::string_view piece) {
    total_ += static_cast<int64_t>(piece.size());
    if (text_.size() < keep_) text_.append(piece.substr(0, keep_ - text_.size()));
  }

  void Repeat(char c, int64_t count) {
    if (count <= 0) return;
    total_ += count;
    if (text_.size() < keep_) {
      text_.append(
          static_cast<size_t>(std::min<int64_t>(count, static_cast<int64_t>(keep_ - text_.size()))),
          c);
    }
  }

  FormattedText Result() && { return {std::move(text_), total_ > INT_MAX ? -1 : total_}; }

 private:
  size_t keep_;
  std::string text_;
  int64_t total_ = 0;
};

enum class Length { kNone, kChar, kShort, kLong, kLongLong };

struct Directive {
  bool minus = false;
  bool plus = false;
  bool space = false;
  bool hash = false;
  bool zero = false;
  int64_t width = 0;
  int64_t precision = -1;  // -1: not given
  Length length = Length::kNone;
  char conversion = '\0';
};

// Hands out the arguments in order; past the end they read as 0 and the empty text.
class ArgumentCursor {
 public:
  explicit ArgumentCursor(std::span<const FormatArgument> arguments) : arguments_(arguments) {}

  const FormatArgument& Next() {
    static const FormatArgument kMissing;
    return next_ < arguments_.size() ? arguments_[next_++] : kMissing;
  }

 private:
  std::span<const FormatArgument> arguments_;
  size_t next_ = 0;
};

int64_t ReadField(std::string_view format, size_t& pos) {
  int64_t value = 0;
  while (pos < format.size() && format[pos] >= '0' && format[pos] <= '9') {
    value = std::min(kFieldLimit, value * 10 + (format[pos] - '0'));
    ++pos;
  }
  return value;
}

// Reads the flags, width, precision and length modifier after a "%"; pos ends at the
// conversion letter (or at the end of the format).
Directive ReadDirective(std::string_view format, size_t& pos, ArgumentCursor& arguments) {
  Directive directive;
  for (; pos < format.size(); ++pos) {
    const char c = format[pos];
    if (c == '-') {
      directive.minus = true;
    } else if (c == '+') {
      directive.plus = true;
    } else if (c == ' ') {
      directive.space = true;
    } else if (c == '#') {
      directive.hash = true;
    } else if (c == '0') {
      directive.zero = true;
    } else {
      break;
    }
  }
  if (pos < format.size() && format[pos] == '*') {
    ++pos;
    const int64_t width = arguments.Next().number;
    if (width < 0) directive.minus = true;
    directive.width = width < 0 ? -width : width;
  } else {
    directive.width = ReadField(format, pos);
  }
  if (pos < format.size() && format[pos] == '.') {
    ++pos;
    if (pos < format.size() && format[pos] == '*') {
      ++pos;
      const int64_t precision = arguments.Next().number;
      directive.precision = precision < 0 ? -1 : precision;
    } else {
      directive.precision = ReadField(format, pos);
    }
  }
  while (pos < format.size()) {
    const char c = format[pos];
    if (c == 'h') {
      directive.length = directive.length == Length::kShort ? Length::kChar : Length::kShort;
    } else if (c == 'l') {
      directive.length = directive.length == Length::kLong ? Length::kLongLong : Length::kLong;
    } else if (c == 'L' || c == 'q' || c == 'j') {
      directive.length = Length::kLongLong;
    } else if (c == 'z' || c == 't' || c == 'w') {
      directive.length = Length::kLong;
    } else if (c == 'I') {
      // The Windows sizes I, I32 and I64.
      if (format.substr(pos + 1, 2) == "64") {
        directive.length = Length::kLongLong;
        pos += 2;
      } else if (format.substr(pos + 1, 2) == "32") {
        directive.length = Length::kLong;
        pos += 2;
      }
    } else {
      break;
    }
    ++pos;
  }
  if (pos < format.size()) directive.conversion = format[pos];
  return directive;
}

// The field around a body: padding spaces, the prefix (sign or base mark), padding
// zeros, leading zeros of the precision, the body itself and any zeros that follow.
struct Field {
  std::string_view prefix;
  int64_t leadingZeros = 0;
  std::string_view body;
  int64_t trailingZeros = 0;
  std::string_view suffix;
};

void WriteField(Sink& out, const Directive& directive, const Field& field, bool zeroPad) {
  const int64_t length =
      static_cast<int64_t>(field.prefix.size() + field.body.size() + field.suffix.size()) +
      field.leadingZeros + field.trailingZeros;
  const int64_t padding = std::max<int64_t>(0, directive.width - length);
  if (!directive.minus && !zeroPad) out.Repeat(' ', padding);
  out.Append(field.prefix);
  if (!directive.minus && zeroPad) out.Repeat('0', padding);
  out.Repeat('0', field.leadingZeros);
  out.Append(field.body);
  out.Repeat('0', field.trailingZeros);
  out.Append(field.suffix);
  if (directive.minus) out.Repeat(' ', padding);
}

void WriteInteger(Sink& out, const Directive& directive, int32_t number) {
  const char c = directive.conversion;
  const bool isSigned = c == 'd' || c == 'i';
  // The value as the length modifier sees a 32-bit argument.
  int64_t value = number;
  switch (directive.length) {
    case Length::kChar:
      value =
          isSigned ? int64_t{static_cast<int8_t>(number)} : int64_t{static_cast<uint8_t>(number)};
      break;
    case Length::kShort:
      value =
          isSigned ? int64_t{static_cast<int16_t>(number)} : int64_t{static_cast<uint16_t>(number)};
      break;
    case Length::kNone:
    case Length::kLong:
      if (!isSigned) value = static_cast<uint32_t>(number);
      break;
    case Length::kLongLong:
      break;
  }
  const bool negative = isSigned && value < 0;
  const uint64_t magnitude =
      negative ? static_cast<uint64_t>(-value) : static_cast<uint64_t>(value);

  const int base = c == 'o' ? 8 : (c == 'x' || c == 'X' || c == 'p') ? 16 : 10;
  char digits[32];
  size_t digitCount = 0;
  if (!(directive.precision == 0 && magnitude == 0)) {
    digitCount = static_cast<size_t>(
        std::to_chars(digits, digits + sizeof digits, magnitude, base).ptr - digits);
  }
  if (c == 'X' || c == 'p') std::transform(digits, digits + digitCount, digits, UpperAscii);

  Field field;
  field.body = std::string_view(digits, digitCount);
  field.leadingZeros = std::max<int64_t>(0, directive.precision - static_cast<int64_t>(digitCount));
  if (negative) {
    field.prefix = "-";
  } else if (isSigned && directive.plus) {
    field.prefix = "+";
  } else if (isSigned && directive.space) {
    field.prefix = " ";
  } else if (directive.hash && c == 'o' && field.leadingZeros == 0 &&
             (digitCount == 0 || digits[0] != '0')) {
    field.leadingZeros = 1;
  } else if (directive.hash && magnitude != 0 && (c == 'x' || c == 'X')) {
    field.prefix = c == 'x' ? "0x" : "0X";
  }
  WriteField(out, directive, field, directive.zero && !directive.minus && directive.precision < 0);
}

// Digits of a finite, non-negative value in one of the three styles; `extraZeros` is the
// number of zeros the precision asks for beyond the computed digits.
struct FloatDigits {
  std::string text;
  int64_t extraZeros = 0;
};

std::string ToChars(double value, std::chars_format style, int64_t precision) {
  // Room for 309 integer digits, the point, the computed fraction and an exponent.
  char buffer[kFloatDigitsComputed + 400];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, style,
                                    static_cast<int>(std::min(precision, kFloatDigitsComputed)));
  return result.ec == std::errc{} ? std::string(buffer, result.ptr) : std::string();
}

// Where the mantissa of a digit text ends: at its exponent, or at its end.
size_t MantissaEnd(const std::string& text) {
  const size_t e = text.find('e');
  return e == std::string::npos ? text.size() : e;
}

void EnsurePoint(std::string& text) {
  const size_t end = MantissaEnd(text);
  if (text.find('.') == std::string::npos) text.insert(end, 1, '.');
}

void StripTrailingZeros(std::string& text) {
  if (text.find('.') == std::string::npos) return;
  size_t end = MantissaEnd(text);
  size_t cut = end;
  while (cut > 0 && text[cut - 1] == '0') --cut;
  if (cut > 0 && text[cut - 1] == '.') --cut;
  text.erase(cut, end - cut);
}

FloatDigits FloatText(double magnitude, const Directive& directive) {
  const char c = LowerAscii(directive.conversion);
  const int64_t precision = directive.precision < 0 ? 6 : directive.precision;
  FloatDigits digits;
  if (c == 'f') {
    digits.text = ToChars(magnitude, std::chars_format::fixed, precision);
    digits.extraZeros = std::max<int64_t>(0, precision - kFloatDigitsComputed);
  } else if (c == 'e') {
    digits.text = ToChars(magnitude, std::chars_format::scientific, precision);
    digits.extraZeros = std::max<int64_t>(0, precision - kFloatDigitsComputed);
  } else {
    // %g: the exponent X of the %e form with P - 1 digits chooses the style.
    const int64_t p = precision == 0 ? 1 : precision;
    std::string scientific = ToChars(magnitude, std::chars_format::scientific, p - 1);
    const size_t e = scientific.find('e');
    int exponent = 0;
    if (e != std::string::npos) {
      std::from_chars(scientific.data() + e + (scientific[e + 1] == '+' ? 2 : 1),
                      scientific.data() + scientific.size(), exponent);
    }
    int64_t wanted = 0;
    if (p > exponent && exponent >= -4) {
      wanted = p - 1 - exponent;
      digits.text = ToChars(magnitude, std::chars_format::fixed, wanted);
    } else {
      wanted = p - 1;
      digits.text = std::move(scientific);
    }
    digits.extraZeros = std::max<int64_t>(0, wanted - kFloatDigitsComputed);
    if (!directive.hash) {
      StripTrailingZeros(digits.text);
      digits.extraZeros = 0;
    }
  }
  if (directive.hash) EnsurePoint(digits.text);
  return digits;
}

void WriteFloat(Sink& out, const Directive& directive, double value) {
  const bool negative = std::signbit(value);
  const double magnitude = std::fabs(value);

  FloatDigits digits;
  bool zeroPad = directive.zero && !directive.minus;
  if (std::isnan(magnitude) || std::isinf(magnitude)) {
    digits.text = std::isnan(magnitude) ? "nan" : "inf";
    zeroPad = false;
  } else {
    digits = FloatText(magnitude, directive);
  }
  if (directive.conversion >= 'A' && directive.conversion <= 'Z') {
    digits.text = UpperAsciiText(digits.text);
  }
  // Counted zeros belong at the end of the mantissa, before the exponent.
  const std::string_view text(digits.text);
  const size_t exponent = std::min(text.find_first_of("eE"), text.size());
  Field field;
  field.prefix = negative ? "-" : directive.plus ? "+" : directive.space ? " " : "";
  field.body = text.substr(0, exponent);
  field.trailingZeros = digits.extraZeros;
  field.suffix = text.substr(exponent);
  WriteField(out, directive, field, zeroPad);
}

void WriteText(Sink& out, const Directive& directive, std::string_view text) {
  if (directive.precision >= 0 && static_cast<size_t>(directive.precision) < text.size()) {
    text = text.substr(0, static_cast<size_t>(directive.precision));
  }
  Field field;
  field.body = text;
  WriteField(out, directive, field, false);
}

bool TakesGatheredArgument(char c) {
  switch (c) {
    case 'd':
    case 'l':
    case 'u':
    case 'x':
    case 'D':
    case 'L':
    case 'U':
    case 'X':
    case 's':
    case 'S':
      return true;
    default:
      return false;
  }
}

}  // namespace

FormattedText FormatScriptText(std::string_view format, std::span<const FormatArgument> arguments,
                               size_t keep) {
  Sink out(keep);
  ArgumentCursor cursor(arguments);
  size_t pos = 0;
  while (pos < format.size()) {
    const size_t percent = format.find('%', pos);
    if (percent == std::string_view::npos) {
      out.Append(format.substr(pos));
      break;
    }
    out.Append(format.substr(pos, percent - pos));
    pos = percent + 1;
    const Directive directive = ReadDirective(format, pos, cursor);
    switch (directive.conversion) {
      case 'd':
      case 'i':
      case 'u':
      case 'o':
      case 'x':
      case 'X':
        WriteInteger(out, directive, cursor.Next().number);
        break;
      case 'p': {
        // A 32-bit pointer: eight upper-case hexadecimal digits.
        Directive pointer = directive;
        if (pointer.precision < 0) pointer.precision = 8;
        WriteInteger(out, pointer, cursor.Next().number);
        break;
      }
      case 'c': {
        const char c = static_cast<char>(cursor.Next().number);
        WriteText(out, Directive{directive.minus, false, false, false, false, directive.width},
                  std::string_view(&c, 1));
        break;
      }
      case 's':
      case 'S':
        WriteText(out, directive, cursor.Next().text);
        break;
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
        WriteFloat(out, directive, static_cast<double>(cursor.Next().number));
        break;
      case 'n':
        cursor.Next();  // takes its argument like any conversion, and stores nothing
        break;
      case '%':
        out.Append("%");
        break;
      default:
        // Not a conversion: the text from the "%" on stands as written.
        out.Append(format.substr(percent, std::min(pos + 1, format.size()) - percent));
        break;
    }
    pos = std::min(pos + 1, format.size());
  }
  return std::move(out).Result();
}

int CountGatheredArguments(std::string_view format) {
  int count = 0;
  bool pending = false;
  for (const char c : format) {
    if (c == '%') {
      pending = true;
    } else if (pending && TakesGatheredArgument(c)) {
      ++count;
      pending = false;
    }
  }
  return count;
}

std::vector<FormatArgument> GatherFormatArguments(std::string_view format, int first, int last) {
  const int count = std::min(CountGatheredArguments(format), std::max(0, last - first + 1));
  std::vector<FormatArgument> arguments;
  arguments.reserve(static_cast<size_t>(count));
  for (int n = first; n < first + count; ++n) {
    arguments.push_back({ParamValue(n), std::string(ParamText(n), ParamTextLength(n))});
  }
  return arguments;
}

}  // namespace velcrum
