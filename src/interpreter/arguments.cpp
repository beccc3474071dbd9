// The parameter parser and the parameter table.
#include "interpreter/arguments.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "interpreter/decimal.h"
#include "interpreter/diagnostics.h"
#include "interpreter/executor_state.h"
#include "interpreter/format.h"
#include "interpreter/settings.h"
#include "interpreter/variables.h"

namespace velcrum {
namespace {

struct Param {
  ParamKind kind = ParamKind::kNone;
  bool empty = false;
  int varIndex = 0;
  int32_t value = 0;
  int length = 0;
  char text[kParamTextLimit + 1] = {};
};

Param slots[kParamSlots + 1];  // slot 0 stands for every number outside 1 to 52
int paramCount = 0;
int slotsInUse = 0;  // slots written since the last clear, so clearing stays cheap
ParamKindCounts kindCounts;

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

void SetText(Param& slot, std::string_view text) {
  slot.length = static_cast<int>(std::min(text.size(), static_cast<size_t>(kParamTextLimit)));
  std::memcpy(slot.text, text.data(), static_cast<size_t>(slot.length));
  slot.text[slot.length] = '\0';
}

void ClearSlots() {
  for (int i = 1; i <= slotsInUse; ++i) slots[i] = Param{};
  slotsInUse = 0;
  paramCount = 0;
  kindCounts = {};
}

const Param& Slot(int n) { return (n >= 1 && n <= kParamSlots) ? slots[n] : slots[0]; }

// The command text with the parser's two repairs made: a space after the mnemonic when
// one is missing, and typographic single quotes made plain.
std::string& RepairedCommand(std::string_view command) {
  static std::string text;
  text.assign(command);
  if (text.size() > 2 && text[2] != ' ') {
    DebugOut(Format("<%s> GetArguments: ERROR: line: %d, Space character missing between "
                    "command and parameter(s), command:'%s' ",
                    g_instanceName.c_str(), g_iCurrentLine, text.c_str()));
    text.insert(2, 1, ' ');
  }
  bool converted = false;
  for (char& c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == 145 || byte == 146) {
      c = '\'';
      converted = true;
    }
  }
  if (converted) DebugOut("Converted NON-ASCII single quotes to ASCII 39.");
  return text;
}

}  // namespace

void GetArguments(std::string_view command, int expected) {
  ClearSlots();
  g_bParamError = false;
  expected = std::clamp(expected, 0, kParamSlots);

  InspectionLine inspection(g_settings.outputParserTrace ||
                            (g_settings.parameterInspectMsgs && DebugOutEnabled()));
  inspection.Start(command);

  const std::string& text = RepairedCommand(command);
  const size_t end = text.size();
  size_t pos = 3;
  bool fillToExpected = true;
  while (pos < end && paramCount < expected) {
    while (pos < end && text[pos] == ' ') ++pos;
    Param& slot = slots[++paramCount];
    slotsInUse = paramCount;
    const char first = text[pos];                           // '\0' at the end
    const char second = pos + 1 < end ? text[pos + 1] : '\0';
    const int varIndex = VariableIndex(first);

    if (first == '\'') {
      const size_t close = text.find('\'', pos + 1);
      const size_t stop = close == std::string::npos ? end : close;
      SetText(slot, std::string_view(text).substr(pos + 1, stop - pos - 1));
      slot.kind = ParamKind::kStringLiteral;
      slot.value = ReadDecimal(slot.text);
      slot.empty = slot.length == 0;
      ++kindCounts.stringLiterals;
      inspection.AddText(slot.text,
                     "GetArguments: 1a - Parameter list too long, truncating");
      LogKind("GetArguments: 1b - logged STRING LITERAL");
      pos = close == std::string::npos ? end : close + 1;
      if (pos >= end) fillToExpected = false;  // the literal ended exactly at the end
      continue;
    }

    if (second == '%' && varIndex >= 0) {
      slot.kind = ParamKind::kIntegerVariable;
      slot.varIndex = varIndex;
      slot.value = g_lIntegerVariables[varIndex];
      slot.length = std::snprintf(slot.text, sizeof slot.text, "%ld", static_cast<long>(slot.value));
      ++kindCounts.integerVariables;
      inspection.AddNumber(slot.value,
                     "GetArguments: 2a - Parameter list too long, truncating");
      LogKind("GetArguments: 2b - logged NUMERIC VARIABLE");
    } else if (second == '$' && varIndex >= 0) {
      slot.kind = ParamKind::kStringVariable;
      slot.varIndex = varIndex;
      SetText(slot, g_szStringVariables[varIndex]);
      slot.value = ReadDecimal(slot.text);
      slot.empty = slot.length == 0;
      ++kindCounts.stringVariables;
      inspection.AddText(slot.text,
                     "GetArguments: 3a - Parameter list too long, truncating");
      LogKind("GetArguments: 3b - logged STRING VARIABLE");
    } else {
      const size_t space = text.find(' ', pos);
      const std::string_view word =
          std::string_view(text).substr(pos, (space == std::string::npos ? end : space) - pos);
      SetText(slot, word);
      slot.value = ReadDecimal(word);
      if (!word.empty()) {
        const bool numeric = ContainsDigit(word);
        slot.kind = numeric ? ParamKind::kNumericLiteral : ParamKind::kBareWord;
        ++kindCounts.numericLiteralsAndWords;
        LogKind(numeric ? "GetArguments: 4a - logged NUMERIC LITERAL"
                        : "GetArguments: 4b - logged NOT NUMERIC LITERAL, must be a STRING LITERAL");
      }
      inspection.AddNumber(slot.value,
                     "GetArguments: 4c - Parameter list too long, truncating");
    }
    const size_t space = text.find(' ', pos);
    pos = space == std::string::npos ? end : space;
  }
  if (fillToExpected) {
    paramCount = std::max(paramCount, expected);
    slotsInUse = std::max(slotsInUse, paramCount);
  }
  if (g_settings.outputParserTrace) TraceOut(inspection.Text());
}

int ParamCount() { return paramCount; }
const ParamKindCounts& ParamCounts() { return kindCounts; }
const char* ParamText(int n) { return Slot(n).text; }
int ParamTextLength(int n) { return Slot(n).length; }
int32_t ParamValue(int n) { return Slot(n).value; }
ParamKind GetParamKind(int n) { return Slot(n).kind; }
bool ParamIsEmpty(int n) { return Slot(n).empty; }
int ParamVarIndex(int n) { return Slot(n).varIndex; }
int32_t& ParamIntVar(int n) { return g_lIntegerVariables[Slot(n).varIndex]; }
char* ParamStringVar(int n) { return g_szStringVariables[Slot(n).varIndex]; }

}  // namespace velcrum
