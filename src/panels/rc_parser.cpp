// The parser of resource scripts.
#include "panels/rc_parser.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>

#include "panels/rc_file.h"
#include "panels/rc_statements.h"
#include "platform/ascii_case.h"

namespace velcrum {
namespace {

// Resource types whose statement has header lines (STYLE, CAPTION "...", FONT ...)
// between the type and the BEGIN of its block.
bool HasHeader(const RcToken& type) {
  constexpr std::string_view kTypes[] = {"DIALOG",       "DIALOGEX",    "MENU",   "MENUEX",
                                         "ACCELERATORS", "VERSIONINFO", "TOOLBAR"};
  for (std::string_view name : kTypes) {
    if (type.IsKeyword(name)) return true;
  }
  return false;
}

bool IsMemoryOption(const RcToken& token) {
  constexpr std::string_view kOptions[] = {"PRELOAD",  "LOADONCALL",  "FIXED",
                                           "MOVEABLE", "DISCARDABLE", "PURE",
                                           "IMPURE",   "SHARED",      "NONSHARED"};
  for (std::string_view name : kOptions) {
    if (token.IsKeyword(name)) return true;
  }
  return false;
}

bool IsBegin(const RcToken& token) {
  return token.IsKeyword("BEGIN") || token.IsPunct("{");
}
bool IsEnd(const RcToken& token) {
  return token.IsKeyword("END") || token.IsPunct("}");
}
bool AtEnd(const RcToken& token) {
  return token.kind == RcTokenKind::kEnd;
}

// How a token is named in a problem: its text, or the byte's value when it is no text.
std::string Describe(const RcToken& token) {
  if (AtEnd(token)) return "end of file";
  if (token.kind == RcTokenKind::kString) return "string \"" + token.text.substr(0, 40) + "\"";
  std::string shown;
  for (const char c : token.text.substr(0, 40)) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      shown.push_back(c);
    } else {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\x%02X", byte);
      shown += hex;
    }
  }
  return "'" + shown + "'";
}

// Tokens that may stand for a value in an expression, and those that join two.
bool IsOperand(const RcToken& token) {
  return token.kind == RcTokenKind::kNumber ||
         (token.kind == RcTokenKind::kName && !IsBegin(token) && !IsEnd(token));
}
bool IsUnary(const RcToken& token) {
  return token.IsPunct("-") || token.IsPunct("+") || token.IsPunct("~") || token.IsPunct("!") ||
         token.IsKeyword("NOT");
}
bool IsBinary(const RcToken& token) {
  constexpr std::string_view kOperators[] = {"|",  "&",  "^",  "+",  "-",  "*", "/", "%",  "<<",
                                             ">>", "&&", "||", "==", "!=", "<", ">", "<=", ">="};
  for (std::string_view op : kOperators) {
    if (token.IsPunct(op)) return true;
  }
  return false;
}

// A resource's name: "#12" for a number, else the name or string as written.
std::string ResourceName(const RcToken& token) {
  return token.kind == RcTokenKind::kNumber ? "#" + std::to_string(token.number) : token.text;
}

// Appends a number to a control's data block, little-endian: a long (L suffix) takes four
// bytes, any other number two, as rc writes them.
void AppendNumber(std::string& data, uint32_t value, bool wide) {
  for (int i = 0; i < (wide ? 4 : 2); ++i) data.push_back(static_cast<char>(value >> (8 * i)));
}

class Parser {
 public:
  Parser(std::string_view text, const std::string& fileName, const RcFileSource* files)
      : files_(files), pp_(text, fileName, files, problems_) {}

  RcScript Run() {
    while (!AtEnd(Peek())) Statement();
    RcScript script;
    script.strings = std::move(strings_);
    script.dialogs = std::move(dialogs_);
    script.bitmaps = std::move(bitmaps_);
    script.icons = std::move(icons_);
    script.files = pp_.filesRead();
    for (std::string& key : resourceFiles_) {
      if (std::find(script.files.begin(), script.files.end(), key) == script.files.end()) {
        script.files.push_back(std::move(key));
      }
    }
    script.defines = pp_.defines();
    script.problems = problems_.list();
    return script;
  }

 private:
  const RcToken& Peek() {
    if (!peeked_) peeked_ = pp_.Next();
    return *peeked_;
  }
  RcToken Next() {
    RcToken token = Peek();
    peeked_.reset();
    return token;
  }
  void Report(const RcToken& at, std::string message) {
    problems_.Add(at.file, at.line, std::move(message));
  }
  // Drops the tokens up to the next line.
  void SkipRestOfLine() {
    while (!AtEnd(Peek()) && !Peek().firstOnLine) Next();
  }
  // A STRINGTABLE at the start of a line cannot belong to the block being read: the
  // block lacks its END.
  bool StartsStringTable(const RcToken& token) {
    return token.firstOnLine && token.IsKeyword("STRINGTABLE");
  }

  void Statement() {
    const RcToken first = Next();
    if (first.IsKeyword("STRINGTABLE")) {
      StringTable(first);
    } else if (first.IsKeyword("LANGUAGE")) {
      language_ = LanguageKey();
    } else if (first.IsKeyword("VERSION") || first.IsKeyword("CHARACTERISTICS")) {
      SkipRestOfLine();
    } else if (IsEnd(first)) {
      Report(first, "END without BEGIN");
    } else if (IsBegin(first)) {
      Report(first, "BEGIN without a resource statement");
      SkipBlock(first);
    } else if (first.kind == RcTokenKind::kName || first.kind == RcTokenKind::kNumber ||
               first.kind == RcTokenKind::kString) {
      const RcToken& type = Peek();
      const std::string directoryKey = pp_.directoryKey();
      if (AtEnd(type) || type.firstOnLine ||
          (type.kind != RcTokenKind::kName && type.kind != RcTokenKind::kNumber)) {
        Report(first, "resource statement without a type: " + Describe(first));
        SkipRestOfLine();
        return;
      }
      const RcToken typeToken = Next();
      if (typeToken.IsKeyword("DIALOG") || typeToken.IsKeyword("DIALOGEX")) {
        Dialog(first, typeToken);
      } else if (typeToken.IsKeyword("BITMAP")) {
        FileResource(first, typeToken, directoryKey, bitmaps_);
      } else if (typeToken.IsKeyword("ICON")) {
        FileResource(first, typeToken, directoryKey, icons_);
      } else {
        SkipResource(typeToken);
      }
    } else {
      Report(first, "unexpected " + Describe(first));
      SkipRestOfLine();
    }
  }

  // A resource this reader does not take in: its header, then its block or file name.
  void SkipResource(const RcToken& type) {
    const bool header = HasHeader(type);
    bool data = false;
    while (true) {
      const RcToken& token = Peek();
      if (IsBegin(token)) {
        SkipBlock(Next());
        return;
      }
      if (AtEnd(token) || IsEnd(token) || StartsStringTable(token) ||
          (!header && token.firstOnLine)) {
        if (header) {
          Report(type, type.text + " without BEGIN");
        } else if (!data) {
          Report(type, type.text + " resource without data");
        }
        return;
      }
      const RcToken taken = Next();
      data = true;
      if (!header && taken.kind == RcTokenKind::kString) return;  // its file name
    }
  }

  // From after BEGIN (or "{") to its matching END (or "}").
  void SkipBlock(const RcToken& begin) {
    int depth = 1;
    while (depth > 0) {
      const RcToken& token = Peek();
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(begin, "BEGIN without END");
        return;
      }
      if (IsBegin(token)) ++depth;
      if (IsEnd(token)) --depth;
      Next();
    }
  }

  void StringTable(const RcToken& keyword) {
    // Options: memory flags, LANGUAGE x, y, VERSION n, CHARACTERISTICS n.
    while (true) {
      const RcToken& token = Peek();
      if (IsBegin(token)) {
        Next();
        break;
      }
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(keyword, "STRINGTABLE without BEGIN");
        return;
      }
      const RcToken option = Next();
      if (option.IsKeyword("LANGUAGE") || option.IsKeyword("VERSION") ||
          option.IsKeyword("CHARACTERISTICS")) {
        SkipRestOfLine();
      } else if (!IsMemoryOption(option)) {
        Report(option, "unexpected " + Describe(option) + " before BEGIN of STRINGTABLE");
      }
    }
    while (true) {
      const RcToken& token = Peek();
      if (IsEnd(token)) {
        Next();
        return;
      }
      if (AtEnd(token) || StartsStringTable(token)) {
        Report(keyword, "STRINGTABLE without END");
        return;
      }
      Entry();
    }
  }

  // id "text" or id, "text"; the identifier a number, a #defined name or an expression.
  void Entry() {
    const RcToken start = Peek();
    std::vector<RcToken> idTokens;
    while (true) {
      const RcToken& token = Peek();
      if (AtEnd(token) || token.IsPunct(",") || token.kind == RcTokenKind::kString ||
          IsEnd(token) || (!idTokens.empty() && token.firstOnLine)) {
        break;
      }
      idTokens.push_back(Next());
    }
    if (idTokens.empty()) {
      Report(start, "string table entry without an identifier: " + Describe(start));
      Next();
      SkipRestOfLine();
      return;
    }
    size_t pos = 0;
    int32_t id = 0;
    std::string error;
    bool good =
        EvaluateRcExpression(idTokens, pos, pp_.defines(), false, id, error, pp_.expansionsLeft());
    if (good && pos != idTokens.size()) {
      good = false;
      error = "unexpected " + Describe(idTokens[pos]);
    }
    if (good && (id < 0 || id > 0xFFFF)) {
      good = false;
      error = "identifier " + std::to_string(id) + " is outside 0 to 65535";
    }
    if (!good) Report(start, "string table entry: " + error);

    if (Peek().IsPunct(",")) Next();
    if (Peek().kind != RcTokenKind::kString) {
      if (good) Report(start, "string table entry without its string");
      if (!Peek().firstOnLine) SkipRestOfLine();
      return;
    }
    const RcToken text = Next();
    if (!AtEnd(Peek()) && !Peek().firstOnLine && !IsEnd(Peek())) {
      Report(Peek(), "unexpected " + Describe(Peek()) + " after the string");
      SkipRestOfLine();
    }
    if (!good) return;
    const bool added = strings_.try_emplace(id, text.text.substr(0, text.text.find('\0'))).second;
    if (!added) {
      Report(start, "string table identifier " + std::to_string(id) +
                        " appears twice; the first one counts");
    }
  }

  // The rest of a LANGUAGE line as one text, by which resources of one language are told
  // from those of another.
  std::string LanguageKey() {
    std::string key;
    while (!AtEnd(Peek()) && !Peek().firstOnLine) key += Next().text + " ";
    return key;
  }

  // Whether a resource of that kind and name may be added: the first one of a name
  // counts; a second one in the same language is reported, one in another is not.
  bool FirstOfItsName(std::map<std::string, std::string>& languages, const std::string& key,
                      const std::string& language, const RcToken& at, const char* kind) {
    const auto [entry, added] = languages.try_emplace(key, language);
    if (added) return true;
    if (entry->second == language) {
      Report(at, std::string(kind) + " " + key + " appears twice; the first one counts");
    }
    return false;
  }

  // name BITMAP|ICON [memory options] file: the file read beside the main script, else
  // beside the file that names it.
  void FileResource(const RcToken& name, const RcToken& type, const std::string& directoryKey,
                    std::map<std::string, std::string>& into) {
    while (IsMemoryOption(Peek()) && !Peek().firstOnLine) Next();
    std::string fileName;
    if (Peek().kind == RcTokenKind::kString && !Peek().firstOnLine) {
      fileName = Next().text;
    } else {
      // An unquoted file name: the tokens of the rest of the line.
      while (!AtEnd(Peek()) && !Peek().firstOnLine && !IsBegin(Peek())) fileName += Next().text;
    }
    if (IsBegin(Peek())) {
      // Data written in the script (old icon and bitmap forms): not read.
      SkipBlock(Next());
      return;
    }
    if (fileName.empty()) {
      Report(type, type.text + " resource without its file name");
      return;
    }
    if (!files_) return;
    std::string bytes;
    std::string shownName;
    std::string error;
    std::string key = RcFileKey("", fileName);
    bool found = files_->Read(key, bytes, shownName, error);
    if (!found && !directoryKey.empty()) {
      key = RcFileKey(directoryKey, fileName);
      found = files_->Read(key, bytes, shownName, error);
    }
    if (!found) {
      Report(type, LowerAsciiText(type.text) + " file " + error + ": '" + fileName + "'");
      return;
    }
    const std::string resource = RcResourceKey(ResourceName(name));
    std::map<std::string, std::string>& languages =
        &into == &bitmaps_ ? bitmapLanguages_ : iconLanguages_;
    if (!FirstOfItsName(languages, resource, language_, name, type.text.c_str())) return;
    into[resource] = std::move(bytes);
    resourceFiles_.push_back(key);
  }

  // --- Dialogs. A problem stops the dialog's reading (the first one is reported) and the
  // --- dialog is left out; reading goes on after its block.

  // Reports a syntax problem of the dialog being read, once.
  bool Fail(const RcToken& at, std::string message) {
    if (!dialogFailed_) Report(at, std::move(message));
    dialogFailed_ = true;
    return false;
  }
  bool Expected(const std::string& what) {
    return Fail(Peek(), "expected " + what + ", found " + Describe(Peek()));
  }

  // The tokens of one expression from the stream: operands joined by operators, up to the
  // first token that cannot continue it (a comma, a string, a name after a value, ...).
  std::vector<RcToken> ExpressionTokens() {
    std::vector<RcToken> tokens;
    bool wantOperand = true;
    int depth = 0;
    while (!AtEnd(Peek())) {
      const RcToken& token = Peek();
      if (wantOperand) {
        if (token.IsPunct("(")) {
          ++depth;
        } else if (IsUnary(token)) {
        } else if (IsOperand(token) && !token.IsKeyword("NOT")) {
          wantOperand = false;
        } else {
          break;
        }
      } else if (token.IsPunct(")") && depth > 0) {
        --depth;
      } else if (IsBinary(token)) {
        wantOperand = true;
      } else {
        break;
      }
      tokens.push_back(Next());
    }
    return tokens;
  }

  bool Evaluate(const std::vector<RcToken>& tokens, int32_t& value, const std::string& what) {
    size_t pos = 0;
    std::string error;
    if (!EvaluateRcExpression(tokens, pos, pp_.defines(), false, value, error,
                              pp_.expansionsLeft())) {
      return Fail(tokens.empty() ? Peek() : tokens.front(), what + ": " + error);
    }
    if (pos != tokens.size()) {
      return Fail(tokens[pos], what + ": unexpected " + Describe(tokens[pos]));
    }
    return true;
  }

  // A number field; the comma before it is optional for fields that must be there.
  bool Number(int32_t& value, const std::string& what) {
    if (Peek().IsPunct(",")) Next();
    const std::vector<RcToken> tokens = ExpressionTokens();
    if (tokens.empty()) return Expected(what);
    return Evaluate(tokens, value, what);
  }

  // A style: terms joined by "|", each OR-ed into `style`, or with NOT taken out of it.
  bool Style(uint32_t& style, const std::string& what) {
    if (Peek().IsPunct(",")) Next();
    const std::vector<RcToken> tokens = ExpressionTokens();
    if (tokens.empty()) return Expected(what);
    size_t start = 0;
    int depth = 0;
    for (size_t i = 0; i <= tokens.size(); ++i) {
      const bool last = i == tokens.size();
      if (!last) {
        if (tokens[i].IsPunct("(")) ++depth;
        if (tokens[i].IsPunct(")")) --depth;
        if (depth != 0 || !tokens[i].IsPunct("|")) continue;
      }
      std::vector<RcToken> term(tokens.begin() + static_cast<ptrdiff_t>(start),
                                tokens.begin() + static_cast<ptrdiff_t>(i));
      const bool clear = !term.empty() && term.front().IsKeyword("NOT");
      if (clear) term.erase(term.begin());
      int32_t value = 0;
      if (!Evaluate(term, value, what)) return false;
      if (clear) {
        style &= ~static_cast<uint32_t>(value);
      } else {
        style |= static_cast<uint32_t>(value);
      }
      start = i + 1;
    }
    return true;
  }

  // An optional field: present when a comma follows.
  bool More() {
    if (!Peek().IsPunct(",")) return false;
    Next();
    return true;
  }

  // A control's text: a string, or an icon's or bitmap's name or number.
  bool Text(std::string& text, const std::string& what) {
    if (Peek().IsPunct(",")) Next();
    const RcToken& token = Peek();
    if (token.kind == RcTokenKind::kString) {
      text = Next().text;
    } else if (token.kind == RcTokenKind::kNumber) {
      text = ResourceName(Next());
    } else if (IsOperand(token)) {
      text = Next().text;
    } else {
      return Expected(what);
    }
    text = text.substr(0, text.find('\0'));
    return true;
  }

  void Dialog(const RcToken& name, const RcToken& type) {
    platform::DialogTemplate dialog;
    dialog.extended = type.IsKeyword("DIALOGEX");
    dialogFailed_ = false;
    dialogType_ = type;
    std::string language = language_;
    const bool good = DialogHeader(dialog, language) && DialogBody(dialog);
    if (!good) {
      // Over the rest of the dialog: up to the END of its block.
      if (insideDialog_ == 0) {
        while (!AtEnd(Peek()) && !IsBegin(Peek()) && !StartsStringTable(Peek())) Next();
        if (IsBegin(Peek())) {
          Next();
          insideDialog_ = 1;
        }
      }
      SkipBlockFrom(insideDialog_);
      insideDialog_ = 0;
      return;
    }
    const std::string key = RcResourceKey(ResourceName(name));
    if (!FirstOfItsName(dialogLanguages_, key, language, name, "dialog")) return;
    dialogs_[key] = std::move(dialog);
  }

  bool DialogHeader(platform::DialogTemplate& dialog, std::string& language) {
    while (IsMemoryOption(Peek())) Next();
    int32_t box[4] = {};
    const char* const kBox[] = {"dialog x", "dialog y", "dialog width", "dialog height"};
    for (int i = 0; i < 4; ++i) {
      if (!Number(box[i], kBox[i])) return false;
    }
    dialog.x = box[0];
    dialog.y = box[1];
    dialog.cx = box[2];
    dialog.cy = box[3];
    if (dialog.extended && More()) {
      int32_t helpId = 0;
      if (!Number(helpId, "dialog help id")) return false;
      dialog.helpId = static_cast<uint32_t>(helpId);
    }
    bool styled = false;
    bool captioned = false;
    bool font = false;
    uint32_t style = 0;
    while (!IsBegin(Peek())) {
      const RcToken keyword = Peek();
      if (AtEnd(keyword) || StartsStringTable(keyword)) {
        return Fail(dialogType_, dialogType_.text + " without BEGIN");
      }
      Next();
      int32_t value = 0;
      if (keyword.IsKeyword("STYLE")) {
        styled = true;
        if (!Style(style, "STYLE")) return false;
      } else if (keyword.IsKeyword("EXSTYLE")) {
        if (!Style(dialog.exStyle, "EXSTYLE")) return false;
      } else if (keyword.IsKeyword("CAPTION")) {
        if (Peek().kind != RcTokenKind::kString) return Expected("the CAPTION string");
        dialog.caption = Next().text;
        dialog.caption.resize(std::min(dialog.caption.size(), dialog.caption.find('\0')));
        captioned = true;
      } else if (keyword.IsKeyword("FONT")) {
        font = true;
        if (!Number(value, "FONT size")) return false;
        dialog.font.pointSize = value;
        if (Peek().IsPunct(",")) Next();
        if (Peek().kind != RcTokenKind::kString) return Expected("the FONT face name");
        dialog.font.face = Next().text;
        if (More()) {
          if (!Number(value, "FONT weight")) return false;
          dialog.font.weight = value;
          if (More()) {
            if (!Number(value, "FONT italic")) return false;
            dialog.font.italic = value != 0;
            if (More()) {
              if (!Number(value, "FONT character set")) return false;
              dialog.font.charset = value;
            }
          }
        }
      } else if (keyword.IsKeyword("CLASS") || keyword.IsKeyword("MENU")) {
        std::string& into = keyword.IsKeyword("CLASS") ? dialog.className : dialog.menu;
        if (!Text(into, keyword.text)) return false;
      } else if (keyword.IsKeyword("LANGUAGE")) {
        language = LanguageKey();
      } else if (keyword.IsKeyword("CHARACTERISTICS") || keyword.IsKeyword("VERSION")) {
        if (!Number(value, keyword.text)) return false;
      } else {
        return Fail(keyword, "unexpected " + Describe(keyword) + " in the dialog's header");
      }
    }
    dialog.style = styled ? style : kRcDialogDefaultStyle;
    if (captioned) dialog.style |= kRcCaptionStyle;
    if (font) dialog.style |= kRcSetFontStyle;
    return true;
  }

  bool DialogBody(platform::DialogTemplate& dialog) {
    const RcToken begin = Next();
    insideDialog_ = 1;
    while (!IsEnd(Peek())) {
      const RcToken keyword = Peek();
      if (AtEnd(keyword) || StartsStringTable(keyword)) {
        insideDialog_ = 0;
        return Fail(begin, "BEGIN without END");
      }
      const RcControlStatement* statement =
          keyword.kind == RcTokenKind::kName ? FindRcControlStatement(keyword.text) : nullptr;
      if (!statement) return Fail(keyword, "unknown control statement " + Describe(keyword));
      Next();
      platform::ControlTemplate control;
      if (!Control(*statement, dialog.extended, control)) return false;
      dialog.controls.push_back(std::move(control));
    }
    Next();  // END
    insideDialog_ = 0;
    return true;
  }

  bool Control(const RcControlStatement& statement, bool extended,
               platform::ControlTemplate& control) {
    control.className = std::string(statement.className);
    control.style = kRcControlStyle | statement.style;
    const std::string what = LowerAsciiText(statement.keyword);
    int32_t value = 0;
    if (statement.form != RcControlForm::kNoText && !Text(control.text, what + " text")) {
      return false;
    }
    if (!Number(control.id, what + " id")) return false;
    if (statement.form == RcControlForm::kControl) {
      if (Peek().IsPunct(",")) Next();
      const RcToken& classToken = Peek();
      if (classToken.kind == RcTokenKind::kNumber) {
        control.className = RcClassOfAtom(classToken.number);
        if (control.className.empty()) return Fail(classToken, "unknown control class atom");
        Next();
      } else if (classToken.kind == RcTokenKind::kString || IsOperand(classToken)) {
        control.className = RcControlClass(Next().text);
      } else {
        return Expected("control class");
      }
      if (!Style(control.style, "control style")) return false;
    }
    int* const box[4] = {&control.x, &control.y, &control.cx, &control.cy};
    const char* const kBox[] = {" x", " y", " width", " height"};
    const int required = statement.form == RcControlForm::kIcon ? 2 : 4;
    for (int i = 0; i < 4; ++i) {
      if (i >= required && !More()) return ControlData(extended, control);
      if (!Number(value, what + kBox[i])) return false;
      *box[i] = value;
    }
    if (statement.form != RcControlForm::kControl && More()) {
      if (!Style(control.style, what + " style")) return false;
    } else if (statement.form != RcControlForm::kControl) {
      return ControlData(extended, control);
    }
    if (More()) {
      if (!Style(control.exStyle, what + " extended style")) return false;
      if (More()) {
        if (!Number(value, what + " help id")) return false;
        control.helpId = static_cast<uint32_t>(value);
      }
    }
    return ControlData(extended, control);
  }

  // The data block of a DIALOGEX control: BEGIN numbers and strings END.
  bool ControlData(bool extended, platform::ControlTemplate& control) {
    if (!IsBegin(Peek())) return true;
    if (!extended) return Fail(Peek(), "control data in a DIALOG; only DIALOGEX has it");
    const RcToken begin = Next();
    ++insideDialog_;
    while (!IsEnd(Peek())) {
      if (AtEnd(Peek()) || StartsStringTable(Peek())) {
        insideDialog_ = 0;
        return Fail(begin, "BEGIN without END");
      }
      if (Peek().IsPunct(",")) {
        Next();
      } else if (Peek().kind == RcTokenKind::kString) {
        control.extraData += Next().text;
      } else {
        const std::vector<RcToken> tokens = ExpressionTokens();
        if (tokens.empty()) return Expected("control data");
        int32_t value = 0;
        if (!Evaluate(tokens, value, "control data")) return false;
        // A number written with an L suffix (not a name that merely ends in L).
        const std::string& last = tokens.back().text;
        const bool wide = tokens.size() == 1 && !last.empty() && IsAsciiDigit(last[0]) &&
                          UpperAscii(last.back()) == 'L';
        AppendNumber(control.extraData, static_cast<uint32_t>(value), wide);
      }
    }
    Next();
    --insideDialog_;
    return true;
  }

  // From within a block `depth` levels deep to the END that closes the outermost.
  void SkipBlockFrom(int depth) {
    while (depth > 0) {
      const RcToken& token = Peek();
      if (AtEnd(token) || StartsStringTable(token)) return;
      if (IsBegin(token)) ++depth;
      if (IsEnd(token)) --depth;
      Next();
    }
  }

  const RcFileSource* files_;
  RcProblems problems_;
  RcPreprocessor pp_;
  std::optional<RcToken> peeked_;
  std::map<int, std::string> strings_;
  std::map<std::string, platform::DialogTemplate> dialogs_;
  std::map<std::string, std::string> bitmaps_;
  std::map<std::string, std::string> icons_;
  // The language each resource was first read in, by kind.
  std::map<std::string, std::string> dialogLanguages_;
  std::map<std::string, std::string> bitmapLanguages_;
  std::map<std::string, std::string> iconLanguages_;
  std::vector<std::string> resourceFiles_;
  std::string language_;       // of the last LANGUAGE statement outside a resource
  bool dialogFailed_ = false;  // the dialog being read had a problem (reported)
  RcToken dialogType_;         // its DIALOG or DIALOGEX
  int insideDialog_ = 0;       // the dialog's block is open
};

}  // namespace

RcScript ParseRcText(std::string_view text, const std::string& fileName,
                     const RcFileSource* files) {
  return Parser(text, fileName, files).Run();
}

RcScript ParseRcText(std::string_view text, const std::string& fileName,
                     const std::string& directory) {
  const HostRcFiles files(directory);
  return ParseRcText(text, fileName, directory.empty() ? nullptr : &files);
}

RcScript ParseRcFile(const std::string& hostPath) {
  std::string bytes;
  std::string error;
  if (!ReadRcFile(hostPath, bytes, error)) {
    RcScript script;
    script.problems.push_back({hostPath, 0, "resource script " + error});
    return script;
  }
  std::error_code code;
  std::string directory = std::filesystem::absolute(hostPath, code).parent_path().string();
  return ParseRcText(bytes, hostPath, directory);
}

}  // namespace velcrum
