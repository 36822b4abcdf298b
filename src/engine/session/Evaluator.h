#pragma once
// Conditions written as text ("$door_open==1 and not %key"), reduced to "1" or "0".

#include "nimboui/Exception.h"
#include "vessot/String.h"

using vessot::String;

class _ScriptException : public nimboui::_GenericException {
public:
    _ScriptException(const String& message, const String& file, int line)
        : nimboui::_GenericException(message, "ScriptException", file, line) {}
};

namespace Evaluator {

// "1" or "0". Parenthesised groups first, then " or ", then " and " (which so binds tighter), then a
// leading "not ", then one comparison. Unbalanced or too deeply nested parentheses throw
// _ScriptException.
String evaluate(String expression);
// One comparison without blanks ("$a==1", "%key", "3{=$n"); "1" and "0" come back unchanged.
String evaluateComparison(const String& comparison);

} // namespace Evaluator
