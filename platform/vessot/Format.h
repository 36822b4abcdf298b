#pragma once
// The one formatter for texts filled from data: "%s", "%d" and "%f" with the usual flags, width and
// precision ("%02d", "%-8s", "%.2f"), and "%%". A missing argument gives "". A data text is never
// handed to printf, so a stray "%n" or "%s" in data can do no harm.

#include "vessot/String.h"

#include <initializer_list>
#include <variant>

namespace vessot {

class FormatArg {
public:
    FormatArg(const String& v) : value(v) {}
    FormatArg(const std::string& v) : value(String(v)) {}
    FormatArg(const char* v) : value(String(v)) {}
    FormatArg(int v) : value((long long)v) {}
    FormatArg(unsigned v) : value((long long)v) {}
    FormatArg(long v) : value((long long)v) {}
    FormatArg(unsigned long v) : value((long long)v) {}
    FormatArg(long long v) : value(v) {}
    FormatArg(float v) : value((double)v) {}
    FormatArg(double v) : value(v) {}

    String asText() const;
    long long asInteger() const;
    double asReal() const;

private:
    std::variant<String, long long, double> value;
};

String formatArgs(const String& format, std::initializer_list<FormatArg> args);

template <class... Args> String jsprintf(const String& format, const Args&... args) {
    return formatArgs(format, {FormatArg(args)...});
}

} // namespace vessot
