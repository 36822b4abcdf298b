#pragma once
// The base exception of every layer: a message, a type text, and the source file and line that
// raised it.

#include "vessot/String.h"

#include <exception>
#include <string>

namespace vessot {

class exception : public std::exception {
public:
    exception(String message, String file = "", int line = 0, String type = "exception");
    ~exception() override = default;

    // The message as raised.
    virtual String message() const { return msg; }
    const String& type() const { return typeName; }
    const String& file() const { return sourceFile; }
    int line() const { return sourceLine; }
    // "type: message (file:line)", what the log shows for an uncaught exception.
    String fullText() const;
    const char* what() const noexcept override { return msg.c_str(); }

protected:
    String msg;
    String sourceFile;
    int sourceLine;
    String typeName;
};

// A file that should exist but does not.
class _file_not_found : public exception {
public:
    _file_not_found(const String& path, String file = "", int line = 0)
        : exception("File not found: " + path, std::move(file), line, "FileNotFound") {}
};

// An index outside a container's range.
class _IndexError : public exception {
public:
    _IndexError(const String& message, String file = "", int line = 0)
        : exception(message, std::move(file), line, "IndexError") {}
};

} // namespace vessot

// Throws an exception of the given kind with the current source file and line.
#define VESSOT_THROW(msg) throw ::vessot::exception((msg), __FILE__, __LINE__)
