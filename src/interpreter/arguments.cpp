// The parameter parser and the parameter table.
//
// One tokenizer reads the parameters of a command text. GetArguments runs it on every
// call; a command that the executor runs again and again can instead have its tokens
// kept (PreparseArguments), so that GetArguments only has to fill the slots. Either way
// the parser's output (the repairs, the kind messages and the inspection line) is
// written afterwards from the filled slots by one writer, so both write the same.
#include "interpreter/arguments.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/preparsed_arguments.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"

namespace velcrum {

PreparsedArguments* g_pDispatchedArguments = nullptr;

namespace {

using param_table::KindMasks;
using param_table::Slot;

// The parser's own slots, for every command that GetArguments parses in full.
Slot parserSlots[kParamSlots + 1];
int slotsInUse = 0;  // parser slots written since the last clear, so clearing stays cheap

// Texts that a slot owns: copies of literals and string variables, and integer
// variables' "%ld" texts, one buffer per slot number whichever table the slot is in.
char ownTexts[kParamSlots + 1][kParamTextLimit + 1];

}  // namespace

param_table::Table param_table::g_current{parserSlots, kParamSlots, 0, {}};
const Slot param_table::g_noSlot;

namespace {

// The inspection line shown by the parser trace: kept below 512 characters, a piece that
// would not fit is dropped with a message naming the kind of parameter.
class InspectionLine {
 public:
  explicit InspectionLine(bool active) : active_(active) {}

  void Start(std::string_view command) {
    if (active_) text_ = "     : " + std::string(command.substr(0, 3));
  }

  void AddText(const char* text, const char* tooLongMessage) {
    if (active_) Add(Format("'%s' ", text), tooLongMessage);
  }

  void AddNumber(int32_t value, const char* tooLongMessage) {
    if (active_) Add(Format("%d ", value), tooLongMessage);
  }

  const std::string& Text() const { return text_; }

 private:
  static constexpr size_t kLimit = 512;

  void Add(const std::string& piece, const char* tooLongMessage) {
    if (text_.size() + piece.size() >= kLimit) {
      if (g_settings.parameterInspectMsgs) DebugOut(tooLongMessage);
      return;
    }
    text_ += piece;
  }

  bool active_;
  std::string text_;
};

void LogKind(const char* message) {
  if (g_settings.parameterInspectMsgs) DebugOut(message);
}

// Copies the text (cut to 512 characters) into the slot, as slot number n's own.
void SetOwnText(Slot& slot, int n, std::string_view text) {
  slot.length = static_cast<int>(std::min(text.size(), static_cast<size_t>(kParamTextLimit)));
  std::memcpy(ownTexts[n], text.data(), static_cast<size_t>(slot.length));
  ownTexts[n][slot.length] = '\0';
  slot.text = ownTexts[n];
}

// Makes the parser's slots the table again, all empty.
void UseParserSlots() {
  for (int i = 1; i <= slotsInUse; ++i) parserSlots[i] = Slot{};
  slotsInUse = 0;
  param_table::g_current = {parserSlots, kParamSlots, 0, {}};
}

// The parser's two repairs: a space after the mnemonic when one is missing, and
// typographic single quotes (bytes 145 and 146 of the Windows Western code page) made
// plain. Reports what it changed.
ParserRepairs Repair(std::string& text) {
  ParserRepairs repairs;
  if (text.size() > 2 && text[2] != ' ') {
    text.insert(2, 1, ' ');
    repairs.spaceInserted = true;
  }
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 145 || byte == 146) {
      c = '\'';
      repairs.quotesConverted = true;
    }
  }
  return repairs;
}

// One parameter as the tokenizer finds it in the repaired text. Variables carry their
// index; literals and words the position of their text.
struct Token {
  ParamKind kind = ParamKind::kNone;
  int varIndex = 0;
  size_t start = 0;
  size_t length = 0;
  bool endsText = false;  // a string literal that ended exactly at the end of the text
};

// Reads at most `limit` parameters from the fourth character of the repaired text on,
// handing each to `take`. A parameter is recognised at its first non-space character:
// a single quote starts a string literal (to the next quote or the end), a letter
// followed by "%" or "$" is a variable, anything else is a word up to the next space
// (a numeric literal when it holds a digit, a bare word otherwise, nothing when empty).
// Every step counts as a parameter, an empty word too.
template <typename Take>
void Tokenize(std::string_view text, int limit, Take take) {
  const size_t end = text.size();
  size_t pos = 3;
  int count = 0;
  while (pos < end && count < limit) {
    while (pos < end && text[pos] == ' ') ++pos;
    ++count;
    const char first = pos < end ? text[pos] : '\0';
    const char second = pos + 1 < end ? text[pos + 1] : '\0';
    const int varIndex = VariableIndex(first);
    Token token;
    if (first == '\'') {
      const size_t close = text.find('\'', pos + 1);
      const size_t stop = close == std::string_view::npos ? end : close;
      token.kind = ParamKind::kStringLiteral;
      token.start = pos + 1;
      token.length = stop - pos - 1;
      pos = close == std::string_view::npos ? end : close + 1;
      token.endsText = pos >= end;
      take(token);
      continue;  // parsing resumes right after the closing quote
    }
    if (second == '%' && varIndex >= 0) {
      token.kind = ParamKind::kIntegerVariable;
      token.varIndex = varIndex;
    } else if (second == '$' && varIndex >= 0) {
      token.kind = ParamKind::kStringVariable;
      token.varIndex = varIndex;
    } else {
      const size_t space = text.find(' ', pos);
      token.start = pos;
      token.length = (space == std::string_view::npos ? end : space) - pos;
      const std::string_view word = text.substr(token.start, token.length);
      if (!word.empty()) {
        token.kind = ContainsDigit(word) ? ParamKind::kNumericLiteral : ParamKind::kBareWord;
      }
    }
    take(token);
    const size_t space = text.find(' ', pos);
    pos = space == std::string_view::npos ? end : space;
  }
}

void CountKind(ParamKind kind, ParamKindCounts& counts) {
  switch (kind) {
    case ParamKind::kStringLiteral:
      ++counts.stringLiterals;
      break;
    case ParamKind::kIntegerVariable:
      ++counts.integerVariables;
      break;
    case ParamKind::kStringVariable:
      ++counts.stringVariables;
      break;
    case ParamKind::kNumericLiteral:
    case ParamKind::kBareWord:
      ++counts.numericLiteralsAndWords;
      break;
    case ParamKind::kNone:
      break;
  }
}

// Sets slot n's bit in the masks of the groups its kind belongs to.
void AddKind(KindMasks& masks, ParamKind kind, int n) {
  if (n > param_table::kKindMaskSlots) return;
  const uint32_t bit = uint32_t{1} << static_cast<unsigned>(n);
  switch (kind) {
    case ParamKind::kIntegerVariable:
      masks.integerVariable |= bit;
      [[fallthrough]];
    case ParamKind::kNumericLiteral:
      masks.numeric |= bit;
      break;
    case ParamKind::kStringVariable:
      masks.stringVariable |= bit;
      [[fallthrough]];
    case ParamKind::kStringLiteral:
    case ParamKind::kBareWord:
      masks.text |= bit;
      break;
    case ParamKind::kNone:
      break;
  }
}

// Reads the variable a slot names into it: an integer variable's value (its text is
// written when asked for), a string variable's text and the value it reads as.
void ReadVariable(Slot& slot, int n) {
  if (slot.kind == ParamKind::kIntegerVariable) {
    slot.value = g_lIntegerVariables[slot.varIndex];
    slot.textPending = true;
  } else {
    SetOwnText(slot, n, g_szStringVariables[slot.varIndex]);
    slot.value = ReadDecimal(std::string_view(slot.text, static_cast<size_t>(slot.length)));
    slot.empty = slot.length == 0;
  }
}

// The value a literal or word reads as.
int32_t TokenValue(const Token& token, std::string_view text) {
  if (token.kind == ParamKind::kStringLiteral) {
    // The slot's text is cut to 512 characters, and its value is read from that.
    return ReadDecimal(text.substr(token.start, std::min(token.length, size_t{kParamTextLimit})));
  }
  return ReadDecimal(text.substr(token.start, token.length));
}

// Fills the next parser slot from a token.
void FillNextSlot(const Token& token, std::string_view text) {
  const int n = ++param_table::g_current.count;
  slotsInUse = n;
  Slot& slot = parserSlots[n];
  slot.kind = token.kind;
  slot.varIndex = static_cast<uint8_t>(token.varIndex);
  if (token.kind == ParamKind::kIntegerVariable || token.kind == ParamKind::kStringVariable) {
    ReadVariable(slot, n);
  } else {
    SetOwnText(slot, n, text.substr(token.start, token.length));
    slot.value = TokenValue(token, text);
    slot.empty = token.kind == ParamKind::kStringLiteral && slot.length == 0;
  }
  AddKind(param_table::g_current.kinds, token.kind, n);
}

// After the parameters: unless a string literal ended the text, the slots up to the
// expected count count as filled (of kind none).
void FinishCount(bool literalEndedText, int expected) {
  int& count = param_table::g_current.count;
  if (!literalEndedText) count = std::max(count, expected);
}

// Whether GetArguments writes anything: the repairs, kind messages and overlong
// inspection pieces go to the debug output, the inspection line to the trace output.
bool ParserWrites(ParserRepairs repairs) {
  return g_settings.outputParserTrace ||
         ((g_settings.parameterInspectMsgs | repairs.spaceInserted | repairs.quotesConverted) &&
          DebugOutEnabled());
}

// The parser's output for a command whose parameters fill slots 1 to `tokens`: the
// repairs, then for each parameter its inspection piece (or the message that it does not
// fit) and its kind message, then the inspection line. Everything in it depends only on
// the command's text and the slots, so it is the same whether they were parsed now or
// filled from kept tokens.
[[gnu::noinline]] void WriteParserOutput(std::string_view command, ParserRepairs repairs,
                                         const Slot* slots, int tokens) {
  if (repairs.spaceInserted) {
    DebugOut(Format(
        "<%s> GetArguments: ERROR: line: %d, Space character missing between "
        "command and parameter(s), command:'%.*s' ",
        g_instanceName.c_str(), g_iCurrentLine, static_cast<int>(command.size()), command.data()));
  }
  if (repairs.quotesConverted) DebugOut("Converted NON-ASCII single quotes to ASCII 39.");

  InspectionLine inspection(g_settings.outputParserTrace ||
                            (g_settings.parameterInspectMsgs && DebugOutEnabled()));
  inspection.Start(command);
  for (int n = 1; n <= tokens; ++n) {
    const Slot& slot = slots[n];
    switch (slot.kind) {
      case ParamKind::kStringLiteral:
        inspection.AddText(slot.text, "GetArguments: 1a - Parameter list too long, truncating");
        LogKind("GetArguments: 1b - logged STRING LITERAL");
        break;
      case ParamKind::kIntegerVariable:
        inspection.AddNumber(slot.value, "GetArguments: 2a - Parameter list too long, truncating");
        LogKind("GetArguments: 2b - logged NUMERIC VARIABLE");
        break;
      case ParamKind::kStringVariable:
        inspection.AddText(slot.text, "GetArguments: 3a - Parameter list too long, truncating");
        LogKind("GetArguments: 3b - logged STRING VARIABLE");
        break;
      case ParamKind::kNumericLiteral:
      case ParamKind::kBareWord:
        LogKind(slot.kind == ParamKind::kNumericLiteral
                    ? "GetArguments: 4a - logged NUMERIC LITERAL"
                    : "GetArguments: 4b - logged NOT NUMERIC LITERAL, must be a STRING LITERAL");
        [[fallthrough]];
      case ParamKind::kNone:
        inspection.AddNumber(slot.value, "GetArguments: 4c - Parameter list too long, truncating");
        break;
    }
  }
  if (g_settings.outputParserTrace) TraceOut(inspection.Text());
}

// Works out what GetArguments makes of the kept tokens for `expected` parameters.
[[gnu::noinline]] void Bind(PreparsedArguments& preparsed, int expected) {
  PreparsedArguments::Binding& binding = preparsed.binding;
  binding.expected = expected;
  expected = std::clamp(expected, 0, kParamSlots);
  const int taken = std::min(expected, preparsed.count);
  param_table::Table& table = binding.table;
  table.slots = preparsed.slots.data();
  table.limit = static_cast<unsigned>(taken);
  // As FinishCount: a string literal that ended the text ends the count there.
  table.count = taken == preparsed.count && preparsed.lastEndsText ? taken : expected;
  binding.integerVariables = static_cast<int>(
      std::count_if(preparsed.integerVariables.begin(), preparsed.integerVariables.end(),
                    [&](const Slot* slot) { return slot - table.slots <= taken; }));
  binding.stringVariables = static_cast<int>(
      std::count_if(preparsed.stringVariables.begin(), preparsed.stringVariables.end(),
                    [taken](int slot) { return slot <= taken; }));
  // The slots beyond the binding read as empty, as the parser's do.
  std::vector<Slot>& slots = preparsed.slots;
  std::vector<Slot>& tokenSlots = preparsed.tokenSlots;
  if (taken < preparsed.count && tokenSlots.empty()) tokenSlots = slots;
  if (!tokenSlots.empty()) {
    for (int n = 1; n <= preparsed.count; ++n) {
      const auto i = static_cast<size_t>(n);
      slots[i] = n <= taken ? tokenSlots[i] : Slot{};
    }
  }
  table.kinds = {};
  for (int n = 1; n <= taken; ++n) AddKind(table.kinds, slots[static_cast<size_t>(n)].kind, n);
  const bool quiet = binding.stringVariables == 0 && !preparsed.repairs.spaceInserted &&
                     !preparsed.repairs.quotesConverted;
  binding.quietExpected = quiet ? binding.expected : PreparsedArguments::Binding::kNoCount;
}

// Reads the kept command's integer variables into its slots and makes them the table,
// as far as the binding in use says.
inline void UseKeptIntegerSlots(PreparsedArguments& preparsed) {
  const PreparsedArguments::Binding& binding = preparsed.binding;
  Slot* const* const integerVariables = preparsed.integerVariables.data();
  for (int k = 0; k < binding.integerVariables; ++k) {
    Slot& slot = *integerVariables[k];
    slot.value = g_lIntegerVariables[slot.varIndex];
    slot.textPending = true;
  }
  param_table::g_current = binding.table;
}

// The same with the string variables too.
void UseKeptSlots(PreparsedArguments& preparsed) {
  for (int k = 0; k < preparsed.binding.stringVariables; ++k) {
    const int n = preparsed.stringVariables[static_cast<size_t>(k)];
    ReadVariable(preparsed.slots[static_cast<size_t>(n)], n);
  }
  UseKeptIntegerSlots(preparsed);
}

// GetArguments from kept tokens when the binding is to be worked out, string variables
// are to be read or the parser has something to write.
[[gnu::noinline]] void GetArgumentsPreparsed(PreparsedArguments& preparsed, int expected) {
  if (preparsed.binding.expected != expected) Bind(preparsed, expected);
  UseKeptSlots(preparsed);
  if (ParserWrites(preparsed.repairs)) {
    WriteParserOutput(preparsed.command, preparsed.repairs, preparsed.slots.data(),
                      static_cast<int>(preparsed.binding.table.limit));
  }
}

}  // namespace

PreparsedArguments PreparseArguments(std::string_view command) {
  PreparsedArguments preparsed;
  preparsed.command = command;
  std::string text(command);
  preparsed.repairs = Repair(text);
  std::vector<Token> tokens;
  Tokenize(text, kParamSlots, [&](const Token& token) { tokens.push_back(token); });

  // The texts are kept first, so that the slots can point at them for good.
  preparsed.count = static_cast<int>(tokens.size());
  preparsed.texts.reserve(tokens.size());
  for (const Token& token : tokens) {
    preparsed.texts.emplace_back(text, token.start,
                                 std::min(token.length, size_t{kParamTextLimit}));
  }
  preparsed.slots.resize(std::max(tokens.size(), size_t{param_table::kDirectSlots}) + 1);
  for (size_t i = 0; i < tokens.size(); ++i) {
    const Token& token = tokens[i];
    const int n = static_cast<int>(i) + 1;
    Slot& slot = preparsed.slots[static_cast<size_t>(n)];
    slot.kind = token.kind;
    slot.varIndex = static_cast<uint8_t>(token.varIndex);
    if (token.kind == ParamKind::kIntegerVariable) {
      preparsed.integerVariables.push_back(&slot);
    } else if (token.kind == ParamKind::kStringVariable) {
      preparsed.stringVariables.push_back(n);
    } else {
      slot.text = preparsed.texts[i].c_str();
      slot.length = static_cast<int>(preparsed.texts[i].size());
      slot.value = TokenValue(token, text);
      slot.empty = token.kind == ParamKind::kStringLiteral && slot.length == 0;
    }
  }
  // Only a string literal that reaches the end of the text ends it, so only the last.
  preparsed.lastEndsText = !tokens.empty() && tokens.back().endsText;
  Bind(preparsed, -1);
  return preparsed;
}

namespace {

// GetArguments parsing the text in full.
[[gnu::noinline]] void ParseArguments(std::string_view command, int expected) {
  UseParserSlots();
  static std::string text;
  text.assign(command);
  const ParserRepairs repairs = Repair(text);
  bool literalEndedText = false;
  Tokenize(text, expected, [&](const Token& token) {
    FillNextSlot(token, text);
    if (token.kind == ParamKind::kStringLiteral) literalEndedText = token.endsText;
  });
  const int tokens = param_table::g_current.count;
  FinishCount(literalEndedText, expected);
  if (ParserWrites(repairs)) WriteParserOutput(command, repairs, parserSlots, tokens);
}

}  // namespace

void GetArguments(std::string_view command, int expected) {
  g_bParamError = false;
  // The executor keeps the tokens of the command it is dispatching; they stand for the
  // text exactly when it is this very text.
  PreparsedArguments* const preparsed = g_pDispatchedArguments;
  if (!preparsed || preparsed->command.data() != command.data() ||
      preparsed->command.size() != command.size()) {
    return ParseArguments(command, std::clamp(expected, 0, kParamSlots));
  }
  // The common case, the count of the last run, integer variables only and nothing to
  // write, calls nothing (which keeps it free of register saves).
  if (preparsed->binding.quietExpected != expected || ParserWrites({})) {
    return GetArgumentsPreparsed(*preparsed, expected);
  }
  UseKeptIntegerSlots(*preparsed);
}

PreparsedArguments::~PreparsedArguments() {
  // While these slots are the table, the parser's take their place, with texts of
  // their own.
  if (param_table::g_current.slots != slots.data()) return;
  const param_table::Table kept = param_table::g_current;
  const unsigned limit = kept.limit;
  UseParserSlots();
  for (unsigned n = 1; n <= limit; ++n) {
    Slot& slot = parserSlots[n];
    slot = slots[n];
    if (slot.text != ownTexts[n]) {
      SetOwnText(slot, static_cast<int>(n),
                 std::string_view(slot.text, static_cast<size_t>(slot.length)));
    }
  }
  slotsInUse = static_cast<int>(limit);
  param_table::g_current.count = kept.count;
  param_table::g_current.kinds = kept.kinds;
}

const Slot& param_table::WritePendingText(int n) {
  Slot& slot = g_current.slots[n];
  slot.length =
      std::snprintf(ownTexts[n], sizeof ownTexts[n], "%ld", static_cast<long>(slot.value));
  slot.text = ownTexts[n];
  slot.textPending = false;
  return slot;
}

ParamKindCounts ParamCounts() {
  // Counted from the table when asked (the extension interface asks), not on every call.
  ParamKindCounts counts;
  const param_table::Table& table = param_table::g_current;
  for (unsigned n = 1; n <= table.limit; ++n) CountKind(table.slots[n].kind, counts);
  return counts;
}

}  // namespace velcrum
