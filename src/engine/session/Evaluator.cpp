#include "engine/session/Evaluator.h"

#include "engine/session/Vars.h"
#include "script/Inventory.h"

#include <algorithm>
#include <string_view>

namespace Evaluator {

namespace {

constexpr size_t MAX_OPERAND = 100;
constexpr size_t MAX_REST = 10000;
constexpr int MAX_NESTING = 64;

enum class Compare { Equal, NotEqual, LessEqual, GreaterEqual, Less, Greater, NotContained, Contained };

struct Operator {
    std::string_view text;
    Compare kind;
};

// Searched in this order; the first found anywhere in the text decides.
constexpr Operator OPERATORS[] = {
    {"==", Compare::Equal}, {"!=", Compare::NotEqual}, {"{=", Compare::LessEqual},    {"}=", Compare::GreaterEqual},
    {"{", Compare::Less},   {"}", Compare::Greater},   {"<=", Compare::LessEqual},    {">=", Compare::GreaterEqual},
    {"<", Compare::Less},   {">", Compare::Greater},   {"!^", Compare::NotContained}, {"^", Compare::Contained},
};

bool isResult(const String& text) {
    return text == "1" || text == "0";
}

constexpr size_t MAX_QUOTED = 200;

[[noreturn]] void syntaxError(const String& text) {
    throw _ScriptException("SyntaxError, parentheses do not match in expression '" + text + "'", __FILE__, __LINE__);
}

// A text nested this deep may be very long: it is quoted to its first 200 characters, then "...".
[[noreturn]] void tooDeep(const String& text) {
    String quoted = text.size() > MAX_QUOTED ? text.substr(0, MAX_QUOTED) + "..." : text;
    throw _ScriptException("SyntaxError, parentheses nested deeper than " + String(MAX_NESTING) +
                               " levels in expression '" + quoted + "'",
                           __FILE__, __LINE__);
}

// Finds the first parenthesised group; false when the text holds no parenthesis at all.
bool findGroup(const String& text, size_t& open, size_t& close) {
    int depth = 0;
    bool found = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '(') {
            if (!found) {
                open = i;
                found = true;
            }
            if (++depth > MAX_NESTING) {
                tooDeep(text);
            }
        } else if (text[i] == ')') {
            if (--depth < 0) {
                syntaxError(text);
            }
            if (depth == 0) {
                close = i;
                return true;
            }
        }
    }
    if (found) {
        syntaxError(text);
    }
    return false;
}

String resolveOperand(const String& operand) {
    if (operand.startsWith("$")) {
        return Vars::get(operand.substr(1, MAX_OPERAND))->getValue();
    }
    if (operand.startsWith("%")) {
        return Inventory::hasItem(operand.substr(1)) ? "1" : "0";
    }
    return operand;
}

bool compare(Compare kind, const String& left, const String& right) {
    switch (kind) {
    case Compare::Equal:
        return left == right;
    case Compare::NotEqual:
        return left != right;
    case Compare::LessEqual:
        return left.toFloat() <= right.toFloat();
    case Compare::GreaterEqual:
        return left.toFloat() >= right.toFloat();
    case Compare::Less:
        return left.toFloat() < right.toFloat();
    case Compare::Greater:
        return left.toFloat() > right.toFloat();
    case Compare::NotContained:
        return !right.contains(left);
    case Compare::Contained:
        return right.contains(left);
    }
    return false;
}

// Splits at the first occurrence of a logical operator: left and the (bounded) rest.
bool splitAt(const String& text, const char* op, String& left, String& right) {
    size_t at = text.find(op);
    if (at == String::npos) {
        return false;
    }
    size_t length = std::char_traits<char>::length(op);
    left = text.substr(0, at);
    right = text.substr(at + length, MAX_REST);
    return true;
}

} // namespace

String evaluate(String text) {
    if (text.empty()) {
        return "1";
    }
    if (isResult(text)) {
        return text;
    }
    for (size_t at = text.find("not not "); at != String::npos; at = text.find("not not ")) {
        text.erase(at, 8);
    }
    size_t open = 0;
    size_t close = 0;
    while (findGroup(text, open, close)) {
        String inner = evaluate(text.substr(open + 1, close - open - 1));
        text.replace(open, close - open + 1, inner);
    }
    String left;
    String right;
    if (splitAt(text, " or ", left, right)) {
        text = evaluate(left) == "1" || evaluate(right) == "1" ? "1" : "0";
    }
    if (splitAt(text, " and ", left, right)) {
        text = evaluate(left) == "1" && evaluate(right) == "1" ? "1" : "0";
    }
    if (isResult(text)) {
        return text;
    }
    bool negate = false;
    if (text.startsWith("not ")) {
        negate = true;
        text = text.substr(4, MAX_REST);
    }
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    String result = evaluateComparison(text);
    if (negate) {
        return result == "1" ? "0" : "1";
    }
    return result;
}

String evaluateComparison(const String& comparison) {
    if (isResult(comparison)) {
        return comparison;
    }
    String left = comparison;
    String right = "0";
    Compare kind = Compare::NotEqual;
    for (const Operator& op : OPERATORS) {
        size_t at = comparison.find(op.text);
        if (at != String::npos) {
            left = comparison.substr(0, at);
            right = comparison.substr(at + op.text.size(), MAX_OPERAND);
            kind = op.kind;
            break;
        }
    }
    return compare(kind, resolveOperand(left), resolveOperand(right)) ? "1" : "0";
}

} // namespace Evaluator
