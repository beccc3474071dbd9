// The tokenizer of resource scripts.
#include "panels/rc_lexer.h"

#include "platform/ascii_case.h"

namespace velcrum {
namespace {

// What a one-character escape after a backslash stands for; 0 for any other character.
char SimpleEscape(char e) {
  switch (e) {
    case 'n':
      return '\n';
    case 't':
      return '\t';
    case 'r':
      return '\r';
    case 'a':
      return '\a';
    case '\\':
      return '\\';
    case '"':
      return '"';
    default:
      return 0;
  }
}

bool IsNameStart(char c) {
  return IsAsciiAlpha(c) || c == '_';
}
bool IsNameChar(char c) {
  return IsAsciiAlnum(c) || c == '_';
}
bool IsOctal(char c) {
  return c >= '0' && c <= '7';
}
int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// A lead byte of a double-byte character in the Windows code page: Japanese Shift-JIS (932),
// simplified Chinese GBK (936), Korean (949) and traditional Chinese Big5 (950).
bool IsLeadByte(int codePage, unsigned char byte) {
  switch (codePage) {
    case 932:
      return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
      return byte >= 0x81 && byte <= 0xFE;
    default:
      return false;
  }
}

// Two-character punctuation that expressions in #if lines and resource statements use.
constexpr std::string_view kPairs[] = {"||", "&&", "==", "!=", "<=", ">=", "<<", ">>"};
constexpr std::string_view kSingles = ",(){}|&!=<>+-*/%~^?:;.[]";

}  // namespace

bool RcToken::IsKeyword(std::string_view keyword) const {
  return kind == RcTokenKind::kName && EqualNoCase(text, keyword);
}

RcLexer::RcLexer(std::string_view text) : text_(text) {}

char RcLexer::Peek(size_t ahead) const {
  return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
}

void RcLexer::SkipBlanksAndComments() {
  while (!AtEnd()) {
    const char c = text_[pos_];
    if (c == '\n') {
      ++line_;
      lineHasToken_ = false;
      ++pos_;
    } else if (c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v' || c == '\x1A') {
      // Ctrl-Z, which editors of the time left at the end of a file, is a blank.
      ++pos_;
    } else if (c == '/' && Peek(1) == '/') {
      while (!AtEnd() && text_[pos_] != '\n') ++pos_;
    } else if (c == '/' && Peek(1) == '*') {
      const int startLine = line_;
      pos_ += 2;
      while (!AtEnd() && !(text_[pos_] == '*' && Peek(1) == '/')) {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (AtEnd()) {
        problems_.push_back({startLine, "comment without its closing */"});
      } else {
        pos_ += 2;
      }
    } else {
      return;
    }
  }
}

RcToken RcLexer::Next() {
  SkipBlanksAndComments();
  RcToken token;
  token.line = line_;
  const bool first = !lineHasToken_;
  token.firstOnLine = first;
  if (AtEnd()) return token;
  lineHasToken_ = true;

  const char c = text_[pos_];
  if (c == '#' && first) {
    token = ReadDirective();
    token.firstOnLine = true;
    return token;
  }
  if (c == '"') {
    token = ReadString(false);
  } else if ((c == 'L' || c == 'l') && Peek(1) == '"') {
    ++pos_;
    token = ReadString(true);
  } else if (IsAsciiDigit(c)) {
    token = ReadNumber();
  } else if (IsNameStart(c)) {
    const size_t start = pos_;
    while (!AtEnd() && IsNameChar(text_[pos_])) ++pos_;
    token.kind = RcTokenKind::kName;
    token.text = std::string(text_.substr(start, pos_ - start));
  } else {
    const std::string_view two = text_.substr(pos_, 2);
    token.kind = RcTokenKind::kOther;
    for (std::string_view pair : kPairs) {
      if (two == pair) token.kind = RcTokenKind::kPunct;
    }
    if (token.kind == RcTokenKind::kPunct) {
      token.text = std::string(two);
      pos_ += 2;
    } else {
      if (kSingles.find(c) != std::string_view::npos) token.kind = RcTokenKind::kPunct;
      token.text = std::string(1, c);
      ++pos_;
    }
  }
  token.firstOnLine = first;
  return token;
}

// Everything after "#" up to the end of the line: a backslash before the line end joins
// the next line, comments become one blank (a block comment may run over lines), and
// quoted text is kept as it stands so that "//" inside an include name survives.
RcToken RcLexer::ReadDirective() {
  RcToken token;
  token.kind = RcTokenKind::kDirective;
  token.line = line_;
  ++pos_;  // "#"
  bool inQuote = false;
  while (!AtEnd()) {
    const char c = text_[pos_];
    if (c == '\n') break;
    if (c == '\\' && (Peek(1) == '\n' || (Peek(1) == '\r' && Peek(2) == '\n'))) {
      pos_ += Peek(1) == '\r' ? 3 : 2;
      ++line_;
      continue;
    }
    if (c == '"') inQuote = !inQuote;
    if (!inQuote && c == '/' && Peek(1) == '/') {
      while (!AtEnd() && text_[pos_] != '\n') ++pos_;
      break;
    }
    if (!inQuote && c == '/' && Peek(1) == '*') {
      const int startLine = line_;
      pos_ += 2;
      while (!AtEnd() && !(text_[pos_] == '*' && Peek(1) == '/')) {
        if (text_[pos_] == '\n') ++line_;
        ++pos_;
      }
      if (AtEnd()) {
        problems_.push_back({startLine, "comment without its closing */"});
      } else {
        pos_ += 2;
      }
      token.text.push_back(' ');
      continue;
    }
    token.text.push_back(c == '\r' || c == '\t' ? ' ' : c);
    ++pos_;
  }
  lineHasToken_ = true;
  return token;
}

// A string literal as rc reads it: "" stands for one quote; \n \t \r \a \\ \" are the
// usual characters, \x takes up to two hexadecimal digits and \ with up to three octal
// digits gives that byte; any other backslash stays as written. A string must end on its
// line; one that does not ends there and is reported.
RcToken RcLexer::ReadString(bool /*wide*/) {
  RcToken token;
  token.kind = RcTokenKind::kString;
  token.line = line_;
  ++pos_;  // opening quote
  while (true) {
    if (AtEnd() || text_[pos_] == '\n') {
      while (!token.text.empty() && token.text.back() == '\r') token.text.pop_back();
      problems_.push_back({token.line, "string without its closing quote", true});
      return token;
    }
    const char c = text_[pos_++];
    if (c == '"') {
      if (Peek() != '"') return token;
      token.text.push_back('"');
      ++pos_;
      continue;
    }
    // The second byte of a double-byte character is 0x40 or above (never a quote), but may
    // be 0x5C, the backslash.
    if (IsLeadByte(codePage_, static_cast<unsigned char>(c)) && !AtEnd() &&
        static_cast<unsigned char>(text_[pos_]) >= 0x40 && text_[pos_] != '\x7F') {
      token.text.push_back(c);
      token.text.push_back(text_[pos_++]);
      continue;
    }
    if (c != '\\') {
      token.text.push_back(c);
      continue;
    }
    const char e = Peek();
    if (const char simple = SimpleEscape(e)) {
      token.text.push_back(simple);
      ++pos_;
      continue;
    }
    switch (e) {
      case 'x':
      case 'X': {
        int value = 0;
        int digits = 0;
        while (digits < 2 && HexValue(Peek(1 + digits)) >= 0) {
          value = value * 16 + HexValue(Peek(1 + digits));
          ++digits;
        }
        if (digits == 0) {
          token.text.push_back('\\');
        } else {
          token.text.push_back(static_cast<char>(value));
          pos_ += 1 + digits;
        }
        break;
      }
      default:
        if (IsOctal(e)) {
          int value = 0;
          for (int digits = 0; digits < 3 && IsOctal(Peek()); ++digits) {
            value = value * 8 + (Peek() - '0');
            ++pos_;
          }
          token.text.push_back(static_cast<char>(value & 0xFF));
        } else {
          token.text.push_back('\\');  // the next character follows as itself
        }
        break;
    }
  }
}

RcToken RcLexer::ReadNumber() {
  RcToken token;
  token.kind = RcTokenKind::kNumber;
  token.line = line_;
  const size_t start = pos_;
  if (Peek() == '0' && (Peek(1) == 'x' || Peek(1) == 'X') && HexValue(Peek(2)) >= 0) {
    pos_ += 2;
    while (!AtEnd() && HexValue(text_[pos_]) >= 0) {
      token.number = token.number * 16u + static_cast<uint32_t>(HexValue(text_[pos_++]));
    }
  } else if (Peek() == '0' && (Peek(1) == 'o' || Peek(1) == 'O') && IsOctal(Peek(2))) {
    pos_ += 2;
    while (!AtEnd() && IsOctal(text_[pos_])) {
      token.number = token.number * 8u + static_cast<uint32_t>(text_[pos_++] - '0');
    }
  } else {
    while (!AtEnd() && IsAsciiDigit(text_[pos_])) {
      token.number = token.number * 10u + static_cast<uint32_t>(text_[pos_++] - '0');
    }
  }
  bool goodSuffix = true;
  while (!AtEnd() && IsNameChar(text_[pos_])) {
    const char s = UpperAscii(text_[pos_]);
    if (s != 'L' && s != 'U') goodSuffix = false;
    ++pos_;
  }
  token.text = std::string(text_.substr(start, pos_ - start));
  if (!goodSuffix) problems_.push_back({token.line, "bad number '" + token.text + "'"});
  return token;
}

std::string RcSourceText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) return std::string(bytes.substr(3));
  const bool little = bytes.starts_with("\xFF\xFE");
  const bool big = bytes.starts_with("\xFE\xFF");
  if (!little && !big) return std::string(bytes);
  std::string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 2; i + 1 < bytes.size(); i += 2) {
    const unsigned char lo = static_cast<unsigned char>(bytes[little ? i : i + 1]);
    const unsigned char hi = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
    const unsigned unit = static_cast<unsigned>(hi) << 8 | lo;
    text.push_back(unit <= 0xFF ? static_cast<char>(unit) : '?');
  }
  return text;
}

}  // namespace velcrum
