// The tokenizer of resource scripts (the Windows .rc language): names, numbers, string
// literals with rc's escapes, punctuation, and preprocessor directive lines.
//
// The lexer never fails: bytes that form no token come back as kOther tokens, an
// unterminated string ends at its line end, and every such problem is noted for the
// caller to report with its line number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velcrum {

enum class RcTokenKind {
  kEnd,        // end of the text
  kName,       // letters, digits and "_", not starting with a digit
  kNumber,     // decimal, 0x hexadecimal or 0o octal, with any L/U suffix; value in `number`
  kString,     // "..." or L"...", escapes decoded into `text`
  kPunct,      // one or two characters of punctuation: , ( ) { } | || & && ! != == ...
  kDirective,  // a "#" line: `text` is everything after the "#", comments removed,
               // continuation lines joined
  kOther,      // any other byte
};

struct RcToken {
  RcTokenKind kind = RcTokenKind::kEnd;
  std::string text;          // the name, the decoded string, the punctuation, the directive
  uint32_t number = 0;       // kNumber: the value, wrapped to 32 bits
  int line = 1;              // physical line where the token starts (1-based)
  std::string_view file;     // the file it came from, when the preprocessor knows it
  bool firstOnLine = false;  // no other token precedes it on its line

  bool Is(RcTokenKind k, std::string_view t) const { return kind == k && text == t; }
  bool IsPunct(std::string_view t) const { return Is(RcTokenKind::kPunct, t); }
  // A name equal to the keyword without regard to case, as rc compares keywords.
  bool IsKeyword(std::string_view keyword) const;
};

// A problem the lexer met, for the caller to report.
struct RcLexProblem {
  int line;
  std::string message;
  bool inString = false;  // an unterminated string, which C code in headers may well seem
};

class RcLexer {
 public:
  explicit RcLexer(std::string_view text);

  RcToken Next();
  const std::vector<RcLexProblem>& problems() const { return problems_; }

  // The Windows code page of the text from here on (#pragma code_page). In a double-byte
  // code page (932, 936, 949, 950) a lead byte and the byte after it are one character of
  // a string, copied as they stand: a second byte 0x5C there is no backslash.
  void SetCodePage(int codePage) { codePage_ = codePage; }
  int codePage() const { return codePage_; }

 private:
  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek(size_t ahead = 0) const;
  void SkipBlanksAndComments();
  RcToken ReadDirective();
  RcToken ReadString(bool wide);
  RcToken ReadNumber();

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
  bool lineHasToken_ = false;  // a token (or directive) already started on this line
  int codePage_ = 1252;
  std::vector<RcLexProblem> problems_;
};

// The text of a source file as single-byte text: a UTF-8 byte-order mark is dropped, and
// UTF-16 (little-endian, with its byte-order mark, as newer Visual C++ saves .rc files)
// becomes one byte per character, characters above 255 becoming "?".
std::string RcSourceText(std::string_view bytes);

}  // namespace velcrum
