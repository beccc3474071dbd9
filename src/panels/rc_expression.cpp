// Integer expressions of resource scripts.
#include "panels/rc_expression.h"

#include <string_view>

#include "panels/rc_sdk_constants.h"

namespace velcrum {
namespace {

constexpr int kMaxNesting = 200;    // parentheses and operators within one expression
constexpr int kMaxMacroDepth = 32;  // a name whose value names another name ...

int32_t Wrap(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(value));
}

// The binary operators by precedence, loosest first.
int Precedence(const RcToken& token) {
  if (token.kind != RcTokenKind::kPunct) return 0;
  const std::string& op = token.text;
  if (op == "||") return 1;
  if (op == "&&") return 2;
  if (op == "|") return 3;
  if (op == "^") return 4;
  if (op == "&") return 5;
  if (op == "==" || op == "!=") return 6;
  if (op == "<" || op == ">" || op == "<=" || op == ">=") return 7;
  if (op == "<<" || op == ">>") return 8;
  if (op == "+" || op == "-") return 9;
  if (op == "*" || op == "/" || op == "%") return 10;
  return 0;
}

class Evaluator {
 public:
  Evaluator(const std::vector<RcToken>& tokens, size_t& pos, const RcDefines& defines,
            bool preprocessor, int macroDepth, int& depth, int64_t& expansionsLeft)
      : tokens_(tokens),
        pos_(pos),
        defines_(defines),
        preprocessor_(preprocessor),
        macroDepth_(macroDepth),
        depth_(depth),
        expansionsLeft_(expansionsLeft) {}

  bool Run(int32_t& value, std::string& error) {
    const bool ok = Conditional(value);
    if (!ok) error = error_;
    return ok;
  }

 private:
  const RcToken* Peek() const { return pos_ < tokens_.size() ? &tokens_[pos_] : nullptr; }
  bool PeekPunct(std::string_view op) const { return Peek() && Peek()->IsPunct(op); }

  bool Fail(std::string message) {
    if (error_.empty()) error_ = std::move(message);
    return false;
  }

  bool Conditional(int32_t& value) {
    if (++depth_ > kMaxNesting) {
      --depth_;
      return Fail("expression nested too deeply");
    }
    bool ok = Binary(1, value);
    if (ok && PeekPunct("?")) {
      ++pos_;
      int32_t yes = 0;
      int32_t no = 0;
      ok = Conditional(yes);
      if (ok && !PeekPunct(":")) ok = Fail("':' missing in expression");
      if (ok) {
        ++pos_;
        ok = Conditional(no);
      }
      if (ok) value = value ? yes : no;
    }
    --depth_;
    return ok;
  }

  bool Binary(int minPrecedence, int32_t& left) {
    if (!Unary(left)) return false;
    while (const RcToken* op = Peek()) {
      const int precedence = Precedence(*op);
      if (precedence == 0 || precedence < minPrecedence) break;
      const std::string opText = op->text;
      ++pos_;
      int32_t right = 0;
      if (!Binary(precedence + 1, right)) return false;
      if (!Apply(opText, left, right)) return false;
    }
    return true;
  }

  bool Apply(const std::string& op, int32_t& left, int32_t right) {
    const int64_t a = left;
    const int64_t b = right;
    const uint32_t ua = static_cast<uint32_t>(left);
    const unsigned shift = static_cast<uint32_t>(right) & 31u;
    if (op == "||")
      left = (a || b) ? 1 : 0;
    else if (op == "&&")
      left = (a && b) ? 1 : 0;
    else if (op == "|")
      left = Wrap(a | b);
    else if (op == "^")
      left = Wrap(a ^ b);
    else if (op == "&")
      left = Wrap(a & b);
    else if (op == "==")
      left = a == b;
    else if (op == "!=")
      left = a != b;
    else if (op == "<")
      left = a < b;
    else if (op == ">")
      left = a > b;
    else if (op == "<=")
      left = a <= b;
    else if (op == ">=")
      left = a >= b;
    else if (op == "<<")
      left = Wrap(static_cast<int64_t>(ua << shift));
    else if (op == ">>")
      left = Wrap(a >> shift);
    else if (op == "+")
      left = Wrap(a + b);
    else if (op == "-")
      left = Wrap(a - b);
    else if (op == "*")
      left = Wrap(a * b);
    else if (b == 0)
      return Fail("division by zero in expression");
    else if (op == "/")
      left = Wrap(a / b);
    else
      left = Wrap(a % b);
    return true;
  }

  bool Unary(int32_t& value) {
    const RcToken* token = Peek();
    if (!token) return Fail("expression missing");
    if (++depth_ > kMaxNesting) {
      --depth_;
      return Fail("expression nested too deeply");
    }
    bool ok = true;
    if (token->IsPunct("!") || token->IsPunct("-") || token->IsPunct("~") || token->IsPunct("+")) {
      const char op = token->text[0];
      ++pos_;
      ok = Unary(value);
      if (ok && op == '!') value = value == 0;
      if (ok && op == '-') value = Wrap(-static_cast<int64_t>(value));
      if (ok && op == '~') value = Wrap(~static_cast<int64_t>(value));
    } else {
      ok = Primary(value);
    }
    --depth_;
    return ok;
  }

  bool Primary(int32_t& value) {
    const RcToken& token = tokens_[pos_];
    if (token.kind == RcTokenKind::kNumber) {
      ++pos_;
      value = Wrap(token.number);
      return true;
    }
    if (token.IsPunct("(")) {
      ++pos_;
      if (!Conditional(value)) return false;
      if (!PeekPunct(")")) return Fail("')' missing in expression");
      ++pos_;
      return true;
    }
    if (token.kind != RcTokenKind::kName) {
      return Fail("unexpected '" + token.text + "' in expression");
    }
    ++pos_;
    if (preprocessor_ && token.text == "defined") return Defined(value);
    const auto macro = defines_.find(token.text);
    if (macro == defines_.end()) {
      if (const std::optional<int32_t> sdk = RcSdkConstant(token.text)) {
        value = *sdk;
        return true;
      }
      value = 0;
      return preprocessor_ ? true : Fail("'" + token.text + "' is not defined");
    }
    if (macro->second.functionLike) {
      return Fail("'" + token.text + "' is a macro with arguments");
    }
    if (macroDepth_ >= kMaxMacroDepth) {
      return Fail("'" + token.text + "' is defined in terms of itself");
    }
    if (expansionsLeft_ <= 0) return Fail("too many names to expand in one file");
    // A long definition costs as much as many short ones.
    expansionsLeft_ -= 1 + static_cast<int64_t>(macro->second.body.size());
    // The name's value is its own expression, which must use up the whole definition.
    size_t bodyPos = 0;
    std::string bodyError;
    Evaluator body(macro->second.body, bodyPos, defines_, preprocessor_, macroDepth_ + 1, depth_,
                   expansionsLeft_);
    if (!body.Run(value, bodyError)) {
      // Only the outermost name is named: the inner ones follow from the #defines.
      return Fail(macroDepth_ == 0 ? "in '" + token.text + "': " + bodyError : bodyError);
    }
    if (bodyPos != macro->second.body.size()) {
      return Fail("'" + token.text + "' is not defined as a number");
    }
    return true;
  }

  // defined NAME or defined(NAME)
  bool Defined(int32_t& value) {
    const bool parenthesised = PeekPunct("(");
    if (parenthesised) ++pos_;
    const RcToken* name = Peek();
    if (!name || name->kind != RcTokenKind::kName) return Fail("name missing after 'defined'");
    ++pos_;
    value = defines_.count(name->text) ? 1 : 0;
    if (parenthesised) {
      if (!PeekPunct(")")) return Fail("')' missing after 'defined'");
      ++pos_;
    }
    return true;
  }

  const std::vector<RcToken>& tokens_;
  size_t& pos_;
  const RcDefines& defines_;
  const bool preprocessor_;
  const int macroDepth_;
  int& depth_;  // shared with the evaluators of the names used, so it bounds the recursion
  int64_t& expansionsLeft_;  // shared with them and with the script's other expressions
  std::string error_;
};

}  // namespace

bool EvaluateRcExpression(const std::vector<RcToken>& tokens, size_t& pos, const RcDefines& defines,
                          bool preprocessor, int32_t& value, std::string& error,
                          int64_t& expansionsLeft) {
  value = 0;
  int depth = 0;
  Evaluator evaluator(tokens, pos, defines, preprocessor, 0, depth, expansionsLeft);
  return evaluator.Run(value, error);
}

}  // namespace velcrum
