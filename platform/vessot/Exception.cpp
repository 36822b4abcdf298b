#include "vessot/Exception.h"

namespace vessot {

exception::exception(String message, String file, int line, String type)
    : msg(std::move(message)), sourceFile(std::move(file)), sourceLine(line), typeName(std::move(type)) {}

String exception::fullText() const {
    String text = typeName + ": " + message();
    if (!sourceFile.empty()) {
        text += " (" + sourceFile + ":" + String(sourceLine) + ")";
    }
    return text;
}

} // namespace vessot
